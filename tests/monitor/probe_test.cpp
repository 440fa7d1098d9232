#include "monitor/probe.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "platform/event_log.h"
#include "platform/virtual_clock.h"
#include "support/temp_dir.h"

namespace tarvik {
namespace {

class FakeRas : public RasService {
 public:
  bool isAvailable = true;
  std::vector<RasConnection> connections;
  std::map<std::uint64_t, std::int32_t> states;  // a missing handle makes the status call fail
  std::optional<std::vector<std::string>> entries = std::vector<std::string>{};
  std::vector<std::uint64_t> hungUp;

  bool available() override { return isAvailable; }
  std::vector<RasConnection> activeConnections() override { return connections; }
  std::optional<std::int32_t> connectionState(std::uint64_t handle) override {
    auto it = states.find(handle);
    if (it == states.end()) return std::nullopt;
    return it->second;
  }
  void hangUp(std::uint64_t handle) override { hungUp.push_back(handle); }
  std::optional<std::vector<std::string>> phonebookEntries() override { return entries; }

  void connect(std::uint64_t handle, std::string entry, std::string device, std::int32_t state) {
    connections.push_back({handle, std::move(entry), std::move(device)});
    states[handle] = state;
  }
};

class ProbeTest : public ::testing::Test {
 protected:
  ProbeTest() {
    dir_ = tempDir_.path();
    log_ = std::make_unique<EventLog>(dir_ / "Tarvik.LOG", clock_);
    probe_ = std::make_unique<Probe>(ras_, *log_);
  }

  std::string logText() const {
    std::ifstream in(dir_ / "Tarvik.LOG", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  test::TempDir tempDir_;
  std::filesystem::path dir_;
  VirtualClock clock_{makeLocalTime(2026, 12, 7, 12, 0, 5)};
  FakeRas ras_;
  std::unique_ptr<EventLog> log_;
  std::unique_ptr<Probe> probe_;
};

TEST_F(ProbeTest, NoConnectionIsNotConnectedWithStateZero) {
  EXPECT_FALSE(probe_->probe(false, false));
  EXPECT_EQ(probe_->rasState(), 0);
  EXPECT_EQ(probe_->rasEntryName(), "");
  EXPECT_EQ(logText(), "");
}

TEST_F(ProbeTest, OneConnectionStoresStateEntryAndDevice) {
  for (std::int32_t state : {5, 6, 10}) {
    ras_.connections.clear();
    ras_.connect(7, "Провайдер", "Modem 1", state);
    EXPECT_FALSE(probe_->probe(false, false)) << state;
    EXPECT_EQ(probe_->rasState(), state);
    EXPECT_EQ(probe_->rasEntryName(), "Провайдер");
    EXPECT_EQ(probe_->deviceName(), "Modem 1");
  }
  ras_.states[7] = kRasConnected;
  EXPECT_TRUE(probe_->probe(false, false));
  EXPECT_TRUE(probe_->connected());
  EXPECT_EQ(probe_->rasState(), 8192);
  EXPECT_TRUE(ras_.hungUp.empty());
}

TEST_F(ProbeTest, TwoConnectionsAtOnceAreNotConnectedAndClearTheFields) {
  ras_.connect(1, "A", "ttyS0", kRasConnected);
  EXPECT_TRUE(probe_->probe(false, false));
  ras_.connect(2, "B", "ttyS1", kRasConnected);
  EXPECT_FALSE(probe_->probe(false, false));
  EXPECT_EQ(probe_->rasState(), 0);
  EXPECT_EQ(probe_->rasEntryName(), "");
  EXPECT_EQ(probe_->deviceName(), "");
}

TEST_F(ProbeTest, FailedStatusCallMeansNotConnectedAndNothingStored) {
  ras_.connections.push_back({3, "A", "ttyS0"});
  EXPECT_FALSE(probe_->probe(false, false));
  EXPECT_EQ(probe_->rasState(), 0);
  EXPECT_EQ(probe_->rasEntryName(), "");
}

TEST_F(ProbeTest, NamesAreCutByCharactersNotBytes) {
  std::string longEntry;
  for (int i = 0; i < 300; ++i) longEntry += "Я";  // two bytes each
  ras_.connect(1, longEntry, std::string(200, 'd'), kRasConnected);
  probe_->probe(false, false);
  EXPECT_EQ(probe_->rasEntryName().size(), 256u * 2);
  EXPECT_EQ(probe_->rasEntryName(), longEntry.substr(0, 512));
  EXPECT_EQ(probe_->deviceName(), std::string(128, 'd'));
}

TEST_F(ProbeTest, MissingServiceIsReportedOnceAndKeepsTheStoredFields) {
  ras_.connect(1, "A", "ttyS0", kRasConnected);
  ASSERT_TRUE(probe_->probe(false, false));
  ras_.isAvailable = false;
  EXPECT_FALSE(probe_->probe(false, false));
  EXPECT_FALSE(probe_->probe(true, true));
  EXPECT_FALSE(probe_->probe(false, false));
  EXPECT_EQ(probe_->rasState(), 8192);
  EXPECT_EQ(probe_->rasEntryName(), "A");
  EXPECT_EQ(logText(),
            "\r\n07.12.2026 12:00:05\r\n"
            " Failed loading RasApi32.DLL.\r\n"
            " Remote Access Server connection can not be visible for application.\r\n");
  EXPECT_TRUE(ras_.hungUp.empty());
}

TEST_F(ProbeTest, HangUpNeedsBothFlagsAndIsLoggedEvenWithoutConnection) {
  EXPECT_FALSE(probe_->probe(true, true));
  EXPECT_EQ(logText(), "\r\n07.12.2026 12:00:05\r\n Hanging up...\r\n");

  ras_.connect(9, "A", "ttyS0", kRasConnected);
  probe_->probe(true, false);
  probe_->probe(false, true);
  EXPECT_TRUE(ras_.hungUp.empty());
  EXPECT_TRUE(probe_->probe(true, true));  // the line drops later, not during the probe
  EXPECT_EQ(ras_.hungUp, std::vector<std::uint64_t>{9});
}

TEST_F(ProbeTest, ListEntriesReplacesTheListAndLogsAFailureOnceUntilAListingWorks) {
  constexpr const char* kFailed =
      " Failed enumerating entries.\r\n Default entry will be used only.\r\n";
  ras_.entries = std::vector<std::string>{"Beta", "Alpha"};
  probe_->listEntries();
  EXPECT_EQ(probe_->entries(), (std::vector<std::string>{"Beta", "Alpha"}));
  ras_.entries = std::nullopt;
  probe_->listEntries();
  EXPECT_TRUE(probe_->entries().empty());
  probe_->listEntries();  // the start lists twice: one line for one failure
  EXPECT_EQ(logText(), kFailed);
  ras_.entries = std::vector<std::string>{"Gamma"};
  probe_->listEntries();
  ras_.entries = std::nullopt;
  probe_->listEntries();
  EXPECT_EQ(logText(), std::string(kFailed) + kFailed);
}

}  // namespace
}  // namespace tarvik
