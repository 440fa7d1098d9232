// The remote-access service comes and goes while the program runs: the engine follows it at
// the next poll, lists the new phonebook, and a connection metered across a switch is booked
// once on the old service and starts again on the new one.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/engine.h"
#include "monitor/monitor_rig.h"
#include "platform/ras_switch.h"

namespace tarvik {
namespace {

using test::FakeRas;
using test::MonitorRig;
using test::ProgramDir;

// The switch owns the services it makes; the test keeps its fakes and lends them.
class Lent final : public RasService {
 public:
  explicit Lent(RasService& service) : s_(service) {}
  bool available() override { return s_.available(); }
  std::vector<RasConnection> activeConnections() override { return s_.activeConnections(); }
  std::optional<std::int32_t> connectionState(std::uint64_t h) override {
    return s_.connectionState(h);
  }
  void hangUp(std::uint64_t h) override { s_.hangUp(h); }
  std::optional<std::vector<std::string>> phonebookEntries() override {
    return s_.phonebookEntries();
  }
  std::optional<TrafficBytes> trafficCounters(std::uint64_t h) override {
    return s_.trafficCounters(h);
  }

 private:
  RasService& s_;
};

std::size_t count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(RasSwitchJourney, TheEngineFollowsTheServiceAndBooksEachConnectionOnce) {
  ProgramDir dir;
  dir.writeConfig("[VPN]\nDone=1\nFreeTime=0\n" + MonitorRig::uniformTariff(3600, "Tunnel") +
                  "[Default]\nFreeTime=0\n" + MonitorRig::uniformTariff(7200, "Std"));
  VirtualClock clock{makeLocalTime(2026, 12, 8, 9, 0, 0)};
  EventLog log{dir.files().eventLog(), clock};
  test::FakeUser user;
  test::FakeTone tone;
  test::FakeSound sound;
  test::FakeProcess process;

  FakeRas sim;
  sim.phonebook = {"Line"};
  FakeRas nm;
  nm.phonebook = {"VPN"};
  bool simThere = false;
  bool nmThere = false;
  std::uint64_t nmStarts = 0;
  std::vector<RasCandidate> candidates;
  candidates.push_back({"simulated line",
                        [&] { return simThere; },
                        [&] { return std::make_unique<Lent>(sim); },
                        {}});
  candidates.push_back({"NetworkManager", [&] { return nmThere; },
                        [&] { return std::make_unique<Lent>(nm); }, [&] { return nmStarts; }});
  RasSwitch ras(std::move(candidates), log);
  Engine engine(Services{clock, clock, ras, user, user, user, tone, sound, process, dir.files(),
                         NumberFormat{','}, log, ""});
  ras.setOnSwitch([&engine] { engine.serviceSwitched(); });
  engine.start();
  EXPECT_TRUE(engine.phonebookEntries().empty());
  clock.advance(3000);
  const auto logText = [&] { return ProgramDir::readText(dir.files().eventLog()); };
  // Every booking finishes one quick-log line, each tagged with its entry.
  const auto quickLines = [&] {
    return count(ProgramDir::readText(dir.files().quickLog()), "] <");
  };

  // NetworkManager starts after the program, with a VPN already authenticating.
  nm.dial("VPN", kRasAuthenticate, "tun0");
  nmThere = true;
  clock.advance(1000);
  EXPECT_EQ(ras.currentName(), "NetworkManager");
  EXPECT_EQ(engine.phonebookEntries(), std::vector<std::string>{"VPN"});
  clock.advance(1000);
  EXPECT_EQ(engine.stateCode(), "au");
  nm.setState(kRasConnected);
  clock.advance(10'000);
  EXPECT_EQ(engine.stateCode(), "on");
  EXPECT_EQ(user.field(DisplayField::Entry), "VPN");  // its own settings: the phonebook was read
  // The meter reads the interface counters through the switch.
  nm.counters = TrafficBytes{4096, 512};
  const auto calls = ras.activeConnections();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(ras.trafficCounters(calls[0].handle), nm.counters);

  // The simulated line's file appears with a call of its own: the VPN ends as a lost line and
  // the line's call is metered from the start.
  sim.dial("Line", kRasConnected, "Simulated modem");
  simThere = true;
  clock.advance(1000);
  EXPECT_EQ(engine.stateCode(), "of");
  EXPECT_EQ(quickLines(), 1u);
  clock.advance(1000);
  EXPECT_EQ(engine.stateCode(), "on");
  EXPECT_EQ(engine.phonebookEntries(), std::vector<std::string>{"Line"});
  EXPECT_EQ(user.field(DisplayField::Entry), "Default");
  clock.advance(5000);

  // The file goes: back to NetworkManager, where the VPN is still up.
  simThere = false;
  clock.advance(2000);
  EXPECT_EQ(engine.stateCode(), "on");
  EXPECT_EQ(user.field(DisplayField::Entry), "VPN");
  EXPECT_EQ(quickLines(), 2u);
  clock.advance(4000);

  // NetworkManager restarts between two polls: what it reports now is not what it had, so
  // the VPN ends as a lost line and is metered again as the new instance shows it.
  ++nmStarts;
  clock.advance(1000);
  EXPECT_EQ(engine.stateCode(), "of");
  EXPECT_EQ(quickLines(), 3u);
  clock.advance(2000);
  EXPECT_EQ(engine.stateCode(), "on");
  clock.advance(3000);

  // NetworkManager stops while online: a lost line, and nothing left to switch to.
  nmThere = false;
  clock.advance(1000);
  EXPECT_EQ(engine.stateCode(), "of");
  clock.advance(5000);
  EXPECT_EQ(quickLines(), 4u);
  EXPECT_EQ(sim.hangUps + nm.hangUps, 0);

  const std::string text = logText();
  EXPECT_EQ(count(text, " Remote access: "), 6u) << text;
  EXPECT_EQ(count(text, " Remote access: NetworkManager.\r\n"), 3u) << text;
  EXPECT_NE(text.find(" Remote access: none found.\r\n"), std::string::npos);
  EXPECT_LT(text.find(" Remote access: NetworkManager.\r\n"),
            text.find(" Remote access: simulated line.\r\n"));
  EXPECT_EQ(count(text, " Failed loading RasApi32.DLL."), 1u);
  EXPECT_EQ(count(text, " RAS or VPN activity detected."), 4u);
  EXPECT_EQ(count(text, " Disconnected."), 4u);
  EXPECT_EQ(count(text, " Device in use: tun0\r\n"), 3u);
  EXPECT_EQ(count(text, " Device in use: Simulated modem\r\n"), 1u);
  // Booked once each: 10 + 7 s on the VPN's own tariff, 7 s on the line under "Default".
  const IniFile stats(dir.files().statistics());
  EXPECT_EQ(stats.readString("VPN", "Gr2c"), "3");
  EXPECT_EQ(stats.readString("Default", "Gr2c"), "1");
}

}  // namespace
}  // namespace tarvik
