#include <gtest/gtest.h>

#include "config/ini_file.h"
#include "monitor/notifications.h"
#include "platform/virtual_clock.h"
#include "support/fake_platform.h"
#include "support/fake_user.h"
#include "support/program_dir.h"

namespace tarvik {
namespace {

using test::FakeProcess;
using test::FakeSound;
using test::FakeTone;
using test::ProgramDir;
using V = std::vector<std::string>;

struct NotifyUser : test::FakeUser {
  std::vector<bool> keepLineMenu;
  void setKeepLineMenu(bool visible) override { keepLineMenu.push_back(visible); }
};

struct NotifyHost : NotificationHost {
  std::string code = "on";
  int hangUps = 0;
  std::string currentStateCode() const override { return code; }
  void hangUpNow() override { ++hangUps; }
};

struct NotifyFixture : ::testing::Test {
  ProgramDir dir;
  VirtualClock clock;
  EventLog log{dir.files().eventLog(), clock};
  NotifyUser user;
  FakeTone tone;
  FakeSound sound;
  FakeProcess process;
  TunePlayer tunes{tone, log};
  NotifyHost host;
  std::unique_ptr<Timer> hangup = clock.createTimer("t_hangup");
  std::unique_ptr<Timer> minute = clock.createTimer("t_minute");
  std::unique_ptr<Timer> second = clock.createTimer("t_second");
  std::unique_ptr<Timer> flash = clock.createTimer("t_flash");
  std::unique_ptr<Timer> flashAnti = clock.createTimer("t_flash_anti");
  std::unique_ptr<Notifications> notify;

  void make(std::string_view config = "") {
    dir.writeConfig(config);
    notify = std::make_unique<Notifications>(
        dir.files(), log, user, Notifications::Devices{tunes, sound, process}, host,
        NotificationTimers{*hangup, *minute, *second, *flash, *flashAnti});
  }
};

TEST_F(NotifyFixture, WarningFlashAlternatesForWarnTimeThenKeepsRestoringTheState) {
  make("[Olm:TK]\nWarnWave=1\nWarnFile=warn.wav\n");
  notify->startWarningFlash();
  EXPECT_EQ(user.stateCodes, V{"xx"});
  EXPECT_EQ(sound.played, V{"warn.wav"});
  clock.advance(250);
  clock.advance(250);
  EXPECT_EQ(user.stateCodes, (V{"xx", "on", "xx"}));
  clock.advance(4500);  // at 5 s the last step shows "xx" and t_flash_anti restores "on"
  ASSERT_EQ(user.stateCodes.size(), 22u);
  EXPECT_EQ(std::count(user.stateCodes.begin(), user.stateCodes.end(), "xx"), 11);
  EXPECT_EQ(user.stateCodes.back(), "on");
  EXPECT_EQ(tone.played, V(11, "2500/100"));
  EXPECT_EQ(sound.played.size(), 1u);
  EXPECT_FALSE(flash->enabled());
  EXPECT_TRUE(flashAnti->enabled());

  host.code = "of";  // the connection ended meanwhile
  clock.advance(5000);
  EXPECT_EQ(user.stateCodes.back(), "of");
  EXPECT_EQ(tone.played.size(), 11u);
}

TEST_F(NotifyFixture, FlashWithoutBeepsAndShorterWarnTime) {
  make("[Olm:TK]\nWarnBeep=0\nWarnTime=2\n");
  notify->startWarningFlash();
  clock.advance(2000);
  EXPECT_TRUE(tone.played.empty());
  EXPECT_TRUE(sound.played.empty());
  EXPECT_EQ(user.stateCodes.size(), 10u);  // 9 flash steps, then the state again
  EXPECT_EQ(user.stateCodes.back(), "on");
  EXPECT_FALSE(flash->enabled());

  // The next warning flashes again.
  notify->startWarningFlash();
  EXPECT_EQ(user.stateCodes.back(), "xx");
  EXPECT_TRUE(flash->enabled());
}

TEST_F(NotifyFixture, AutomaticHangUpRepeatsUntilTheDisconnect) {
  make("[Default]\nHangUpAuto=1\nHangUpTime=15\n");
  notify->connectActions("Default");
  EXPECT_EQ(user.keepLineMenu, std::vector<bool>{true});
  EXPECT_TRUE(notify->keepLineOffered());
  clock.advance(14999);
  EXPECT_EQ(host.hangUps, 0);
  clock.advance(1);
  EXPECT_EQ(host.hangUps, 1);
  clock.advance(15000);  // the line did not drop: try again
  EXPECT_EQ(host.hangUps, 2);
  notify->stopForDisconnect();
  clock.advance(60000);
  EXPECT_EQ(host.hangUps, 2);
  EXPECT_EQ(user.keepLineMenu.back(), false);
}

TEST_F(NotifyFixture, KeepTheLineCancelsThePendingHangUp) {
  make("[Дом]\nHangUpAuto=1\nHangUpTime=15\n");
  notify->connectActions("Дом");
  clock.advance(10000);
  notify->keepLine();
  EXPECT_FALSE(notify->keepLineOffered());
  EXPECT_EQ(user.keepLineMenu, (std::vector<bool>{true, false}));
  clock.advance(60000);
  EXPECT_EQ(host.hangUps, 0);
}

TEST_F(NotifyFixture, AHugeHandEditedTimeNeverWrapsToAShortTimer) {
  // 4294968 s in milliseconds wraps round 32 bits to 704 ms.
  make("[Olm:TK]\nWarnTime=4294968\n[Default]\nHangUpAuto=1\nHangUpTime=4294968\n");
  notify->connectActions("Default");
  notify->startWarningFlash();
  clock.advance(60000);
  EXPECT_EQ(host.hangUps, 0);
  EXPECT_TRUE(flash->enabled());  // still flashing: the flash lasts its (very long) time
}

TEST_F(NotifyFixture, NoHangUpWhenSwitchedOff) {
  make("[Default]\nHangUpTime=15\n");
  notify->connectActions("Default");
  EXPECT_EQ(user.keepLineMenu, std::vector<bool>{false});
  clock.advance(60000);
  EXPECT_EQ(host.hangUps, 0);
}

TEST_F(NotifyFixture, ConnectSoundTuneAndProgramsInOrder) {
  make(
      "[Default]\nOnLineWave=1\nOnLineFile=on.wav\nOnLineBeep=1\nExecute=1\nExeCount=2\n"
      "ExeLine0=\"/usr/bin/first\" -x\nExeLine1=second\nExeLine2=third\n");
  notify->connectActions("Default");
  EXPECT_EQ(sound.played, V{"on.wav"});
  EXPECT_EQ(tone.played, (V{"1500/100", "1750/100", "2000/250"}));
  EXPECT_EQ(process.launched, (V{"\"/usr/bin/first\" -x", "second"}));
  EXPECT_EQ(user.broughtToFront, 2);

  // Each real connection launches them again.
  notify->connectActions("Default");
  EXPECT_EQ(process.launched.size(), 4u);
}

TEST_F(NotifyFixture, ProgramCountIsReadBeforeEveryLaunch) {
  make("[Default]\nExecute=1\nExeCount=3\nExeLine0=a\nExeLine1=b\nExeLine2=c\n");
  struct Shrinking : FakeProcess {
    std::filesystem::path config;
    void run(const std::string& line) override {
      FakeProcess::run(line);
      IniFile(config).writeInt("Default", "ExeCount", 1);
    }
  } shrinking;
  shrinking.config = dir.files().config();
  Notifications n(dir.files(), log, user, Notifications::Devices{tunes, sound, shrinking}, host,
                  NotificationTimers{*hangup, *minute, *second, *flash, *flashAnti});
  n.connectActions("Default");
  EXPECT_EQ(shrinking.launched, V{"a"});
}

TEST_F(NotifyFixture, NothingLaunchedWithExecuteOff) {
  make("[Default]\nExeCount=2\nExeLine0=a\nExeLine1=b\n");
  notify->connectActions("Default");
  EXPECT_TRUE(process.launched.empty());
  EXPECT_TRUE(sound.played.empty());
  EXPECT_TRUE(tone.played.empty());
}

TEST_F(NotifyFixture, DisconnectSignals) {
  make("[Default]\nOffLineWave=1\nOffLineFile=off.wav\nOffLineBeep=1\n");
  notify->disconnectSignals("Default");
  EXPECT_EQ(sound.played, V{"off.wav"});
  EXPECT_EQ(tone.played, (V{"100/250", "wait 25", "100/500"}));
}

}  // namespace
}  // namespace tarvik
