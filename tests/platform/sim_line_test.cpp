#include "platform/sim_line.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/virtual_clock.h"
#include "support/temp_dir.h"

namespace tarvik {
namespace {

class SimLineTest : public ::testing::Test {
 protected:
  SimLineTest() { dir_ = tempDir_.path(); }

  SimLine::NowMs nowMs() {
    return [this] { return toLocalMs(clock_.now()); };
  }
  std::int32_t stateOfFirst(SimLine& line) {
    auto connections = line.activeConnections();
    if (connections.empty()) return 0;
    return line.connectionState(connections.front().handle).value_or(-1);
  }

  test::TempDir tempDir_;
  std::filesystem::path dir_;
  VirtualClock clock_;
};

TEST_F(SimLineTest, ThePhonebookMakesTheLineAvailableKeepsOrderAndSkipsDuplicates) {
  SimLine line(SimLine::fileIn(dir_), nowMs());
  EXPECT_FALSE(line.available()) << "without its file";
  EXPECT_TRUE(line.activeConnections().empty());
  line.addEntry("Второй провайдер");
  EXPECT_TRUE(line.available());
  line.addEntry("Alpha");
  line.addEntry("Alpha");
  EXPECT_EQ(line.phonebookEntries(), (std::vector<std::string>{"Второй провайдер", "Alpha"}));
}

// A call as another instance sees it: half the authentication time in state 5, the other
// half in 10, then connected; a failing call ends where it would connect, a call without
// authentication connects at once, and a clock set back counts as the start of the call.
TEST_F(SimLineTest, CallStatesFollowTheAuthenticationTimeAsAnotherInstanceSeesThem) {
  SimLine control(SimLine::fileIn(dir_), nowMs());
  SimLine watcher(SimLine::fileIn(dir_), nowMs());
  control.dial("ISP", "ttyS0", 4000, false);
  EXPECT_EQ(stateOfFirst(watcher), 5);
  clock_.advance(1999);
  EXPECT_EQ(stateOfFirst(watcher), 5);
  clock_.advance(1);
  EXPECT_EQ(stateOfFirst(watcher), 10);
  clock_.advance(1999);
  EXPECT_EQ(stateOfFirst(watcher), 10);
  clock_.advance(1);
  EXPECT_EQ(stateOfFirst(watcher), 8192);
  auto connections = watcher.activeConnections();
  ASSERT_EQ(connections.size(), 1u);
  EXPECT_EQ(connections[0].entry, "ISP");
  EXPECT_EQ(connections[0].device, "ttyS0");

  control.dial("ISP", "ttyS0", 2000, true);
  clock_.advance(1500);
  EXPECT_EQ(stateOfFirst(watcher), 10) << "failing call";
  clock_.advance(500);
  EXPECT_TRUE(watcher.activeConnections().empty()) << "failing call";

  control.dial("ISP", "ttyS0", 0, false);
  EXPECT_EQ(stateOfFirst(watcher), 8192) << "no authentication";

  clock_.setNow(makeLocalTime(2026, 12, 7, 13, 0, 0));
  control.dial("ISP", "ttyS0", 2000, false);
  clock_.setNow(makeLocalTime(2026, 12, 7, 12, 0, 0));
  EXPECT_EQ(stateOfFirst(watcher), 5) << "clock set back";
  control.dial("ISP", "ttyS0", 0, false);
  clock_.setNow(makeLocalTime(2026, 12, 7, 11, 0, 0));
  EXPECT_EQ(stateOfFirst(watcher), 8192) << "clock set back, no authentication";
}

TEST_F(SimLineTest, ARateCountsBytesFromTheDialAndSurvivesAnotherWrite) {
  SimLine control(SimLine::fileIn(dir_), nowMs());
  SimLine watcher(SimLine::fileIn(dir_), nowMs());
  const std::uint64_t handle = control.dial("ISP", "ttyS0", 0, false, 3000);
  EXPECT_EQ(watcher.trafficCounters(handle), (TrafficBytes{0, 0}));
  clock_.advance(2500);
  EXPECT_EQ(watcher.trafficCounters(handle), (TrafficBytes{7500, 750}));
  control.addCall("Other", "d2");  // rewrites the file: the rate stays with its call
  clock_.advance(500);
  EXPECT_EQ(watcher.trafficCounters(handle), (TrafficBytes{9000, 900}));
  EXPECT_EQ(watcher.trafficCounters(handle + 1), (TrafficBytes{0, 0}));  // no rate: silent
  EXPECT_EQ(watcher.trafficCounters(handle + 5), std::nullopt);
}

TEST_F(SimLineTest, DialReplacesCallsSecondAddsOneAndHangUpDropsOnlyThatOne) {
  SimLine control(SimLine::fileIn(dir_), nowMs());
  SimLine program(SimLine::fileIn(dir_), nowMs());
  control.dial("A", "d1", 0, false);
  control.dial("B", "d2", 0, false);
  ASSERT_EQ(program.activeConnections().size(), 1u);
  EXPECT_EQ(program.activeConnections()[0].entry, "B");

  control.addCall("C", "d3");
  auto both = program.activeConnections();
  ASSERT_EQ(both.size(), 2u);
  EXPECT_NE(both[0].handle, both[1].handle);

  program.hangUp(both[0].handle);
  auto left = control.activeConnections();
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0].entry, "C");
  EXPECT_EQ(program.connectionState(both[0].handle), std::nullopt);

  control.hangUpAll();
  EXPECT_TRUE(program.activeConnections().empty());
  // Handles are never reused, so a stale handle cannot hang up a later call.
  const std::uint64_t fresh = control.dial("A", "d1", 0, false);
  EXPECT_GT(fresh, both[1].handle);
}

}  // namespace
}  // namespace tarvik
