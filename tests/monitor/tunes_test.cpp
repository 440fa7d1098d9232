#include "monitor/tunes.h"

#include <gtest/gtest.h>

#include "platform/virtual_clock.h"
#include "support/fake_platform.h"
#include "support/program_dir.h"

namespace tarvik {
namespace {

using test::FakeTone;
using test::ProgramDir;

struct TuneFixture : ::testing::Test {
  ProgramDir dir;
  VirtualClock clock{makeLocalTime(2026, 12, 7, 21, 5, 9)};
  EventLog log{dir.files().eventLog(), clock};
  FakeTone tone;
  TunePlayer player{tone, log};

  std::vector<std::string> played(int n) {
    tone.played.clear();
    player.play(n);
    return tone.played;
  }
};

TEST_F(TuneFixture, EveryTunePlaysItsTonesAndPausesInOrder) {
  using V = std::vector<std::string>;
  EXPECT_EQ(played(0), (V{"2500/100"}));
  EXPECT_EQ(played(1), (V{"1000/100", "wait 25", "1500/100", "wait 25", "2000/500"}));
  EXPECT_EQ(played(2), (V{"100/1000"}));
  EXPECT_EQ(played(3), (V{"1500/100", "1750/100", "2000/250"}));
  EXPECT_EQ(played(4), (V{"100/250", "wait 25", "100/500"}));
  EXPECT_EQ(played(5), (V{"2500/200"}));
  EXPECT_EQ(played(6), (V{"2500/75", "wait 25", "2500/75"}));
  EXPECT_EQ(played(7), (V{"1000/750"}));
  EXPECT_TRUE(played(8).empty());
  EXPECT_TRUE(played(-1).empty());
  EXPECT_FALSE(std::filesystem::exists(dir.files().eventLog()));
}

TEST_F(TuneFixture, AFailingToneIsLoggedOnceAndEndsTheTune) {
  tone.failAfter = 1;  // the second tone fails
  EXPECT_FALSE(player.play(1));
  EXPECT_EQ(tone.played, (std::vector<std::string>{"1000/100", "wait 25"}));
  EXPECT_EQ(ProgramDir::readText(dir.files().eventLog()),
            "\r\n07.12.2026 21:05:09\r\n Failed beeping...\r\n");
}

}  // namespace
}  // namespace tarvik
