// The notifications, the crash journal and the lifecycle commands driven by the real
// connection monitor on the virtual clock.
#include "app/guard_wiring.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/assembly.h"
#include "app/program_fixture.h"

namespace tarvik {
namespace {

TEST_F(Wiring, ProgramsLaunchOnARealConnectionOnlyAndTheLineHangsUpByItself) {
  dir.writeConfig("[Default]\n" + MonitorRig::uniformTariff(3600, "Day") +
                  "Done=1\nExecute=1\nExeCount=2\nExeLine0=first\nExeLine1=second\n"
                  "OnLineBeep=1\nHangUpAuto=1\nHangUpTime=15\n");
  auto p = program();
  ras.dial("Home", kRasConnected);
  advanceTo(12, 0, 1);
  EXPECT_EQ(p->process.launched, (V{"first", "second"}));
  EXPECT_EQ(p->tone.played, (V{"1500/100", "1750/100", "2000/250"}));

  // A virtual reconnect launches nothing and leaves the automatic hang-up stopped.
  advanceTo(12, 0, 5);
  p->monitor->stateMachine().userReset();
  EXPECT_EQ(p->process.launched.size(), 2u);
  EXPECT_FALSE(p->t("t_hangup").enabled());
  advanceTo(12, 1, 0);
  EXPECT_EQ(ras.hangUps, 0);

  // The next real connection hangs up by itself about 15 s later.
  ras.drop();
  advanceTo(12, 1, 2);
  ras.dial("Home", kRasConnected);
  advanceTo(12, 1, 3);
  EXPECT_EQ(p->process.launched.size(), 4u);
  advanceTo(12, 1, 18);
  EXPECT_EQ(ras.hangUps, 1);
  EXPECT_NE(logText().find("\r\n07.12.2026 12:01:18\r\n Hanging up...\r\n"), std::string::npos);
  advanceTo(12, 1, 20);
  EXPECT_EQ(p->stateCode, "of");
  EXPECT_FALSE(anyJournal());
}

TEST_F(Wiring, FourLevelsAndTheZeroWarningFlashAndBeep) {
  // 3600 hundredths per hour: one hundredth a second from a balance of 0,30. The levels lie at
  // 0,25, 0,20, 0,10 and 0,05: crossed after 6, 11, 21 and 26 metered seconds; zero after 30.
  dir.writeConfig("[Default]\n" + MonitorRig::uniformTariff(3600, "Day") +
                  "FreeTime=0\nAccountUse1=1\nAccountVal1=5\nAccountUse2=1\nAccountVal2=10\n"
                  "AccountUse3=1\nAccountVal3=20\nAccountUse4=1\nAccountVal4=25\n"
                  "ZeroFile=zero.wav\n");
  dir.writeAccounts("[Default]\nAccount=0,3\n");
  auto p = program();
  ras.dial("Home", kRasConnected);
  advanceTo(12, 0, 1);
  p->tone.played.clear();
  p->user.stateCodes.clear();
  clock.advanceTo(makeLocalTime(2026, 12, 7, 12, 0, 6, 900));
  EXPECT_TRUE(p->tone.played.empty());
  advanceTo(12, 0, 8);  // level 4
  ASSERT_FALSE(p->tone.played.empty());
  EXPECT_EQ(p->tone.played.front(), "2500/100");
  EXPECT_EQ(p->user.stateCodes.front(), "xx");
  EXPECT_TRUE(p->t("t_flash").enabled());
  advanceTo(12, 0, 12);  // t_flash_anti ends the flash after "WarnTime" seconds
  EXPECT_EQ(p->user.stateCodes.back(), "on");
  EXPECT_FALSE(p->t("t_flash").enabled());
  advanceTo(12, 0, 13);  // level 3 flashes again
  EXPECT_TRUE(p->t("t_flash").enabled());

  p->tone.played.clear();
  advanceTo(12, 0, 31);
  p->tone.played.clear();
  advanceTo(12, 0, 33);  // zero: tune 7, the zero sound, "xx" and the window in front
  EXPECT_NE(std::find(p->tone.played.begin(), p->tone.played.end(), "1000/750"),
            p->tone.played.end());
  EXPECT_EQ(p->sound.played, V{"zero.wav"});
  EXPECT_GE(p->user.broughtToFront, 1);
  int levelBalloons = 0, zeroBalloons = 0;
  for (const auto& b : p->user.balloons) {
    if (b.text.starts_with("Внимание!\nСостояние счёта")) ++levelBalloons;
    if (b.text.starts_with("Внимание!\nПо предварительному")) ++zeroBalloons;
  }
  EXPECT_EQ(levelBalloons, 4);
  EXPECT_EQ(zeroBalloons, 1);
}

TEST_F(Wiring, JournalLevelTwoOnlyWithSecurityII) {
  dir.writeConfig("[Olm:TK]\nSecurityII=0\n[Default]\n" + MonitorRig::uniformTariff(3600, "Day"));
  auto p = program();
  ras.dial("Home", kRasConnected);
  advanceTo(12, 0, 1);
  advanceTo(12, 0, 21);
  EXPECT_TRUE(std::filesystem::exists(dir.files().journalPro()));
  EXPECT_FALSE(std::filesystem::exists(dir.files().journalSeq()));
}

// The meter arms the minute and periodic beeps when metering starts (the first poll).
TEST_F(Wiring, PeriodicBeepsCountFromTheStartOfMetering) {
  dir.writeConfig("[Default]\n" + MonitorRig::uniformTariff(3600, "Day") +
                  "OnLineBeep=0\nOnLineSecond=1\nOnLinePeriod=15\n");
  auto p = program();
  ras.dial("Home", kRasConnected);
  clock.advance(1000);
  p->tone.played.clear();
  clock.advance(14994);
  EXPECT_TRUE(p->tone.played.empty());
  clock.advance(1);
  EXPECT_EQ(p->tone.played, (V{"2500/75", "wait 25", "2500/75"}));
  p->tone.played.clear();
  clock.advance(59995 - 14995);
  // Three more double beeps (29.99 s, 44.985 s, 59.98 s), then the minute beep.
  EXPECT_EQ(std::count(p->tone.played.begin(), p->tone.played.end(), "2500/75"), 6);
  EXPECT_EQ(p->tone.played.back(), "2500/200");

  ras.drop();
  clock.advance(1000);
  p->tone.played.clear();
  clock.advance(120000);
  EXPECT_TRUE(p->tone.played.empty());
}

TEST_F(Wiring, MinuteBeepOffAndPeriodOfZeroNeverFire) {
  dir.writeConfig("[Default]\n" + MonitorRig::uniformTariff(3600, "Day") +
                  "OnLineBeep=0\nOnLineMinute=0\nOnLineSecond=1\nOnLinePeriod=0\n");
  auto p = program();
  ras.dial("Home", kRasConnected);
  clock.advance(1000);
  p->tone.played.clear();
  clock.advance(300000);
  EXPECT_TRUE(p->tone.played.empty());
}

TEST_F(Wiring, ACrashedConnectionIsBookedAtTheNextStart) {
  {
    auto p = program();
    ras.dial("Home", kRasConnected);
    advanceTo(12, 0, 1);
    advanceTo(12, 0, 13);
    EXPECT_TRUE(std::filesystem::exists(dir.files().journalSeq()));
  }  // the process dies here: nothing is booked, the quick-log line stays open
  ras.drop();
  auto next = std::make_unique<Program>(dir, clock, ras);
  next->user.recoveryAnswers = {RecoveryAnswer::Book};
  next->start();
  EXPECT_EQ(next->user.dialogRefreshes, V{"Default 1"});
  EXPECT_EQ(count(), 1);
  EXPECT_EQ(balance(),
            "99,9");  // 10 s at one hundredth a second: security.seq of 12:00:12
  EXPECT_TRUE(next->t("t_online").enabled());
  EXPECT_EQ(next->stateCode, "of");
  EXPECT_FALSE(anyJournal());
  const std::string log = logText();
  EXPECT_NE(log.find(" Abnormal termination detected (07.12.2026 12.00.12)\r\n"
                     " Interrupted connection data:\r\n Time spent online: 00:00:10\r\n"),
            std::string::npos)
      << log;
  EXPECT_NE(ProgramDir::readText(dir.files().quickLog())
                .find("07.12.2026 12:00:01 = 00:00:10 + [$ | ~0,1    | =99,9   ] <Default>\r\n"),
            std::string::npos)
      << ProgramDir::readText(dir.files().quickLog());
}

TEST_F(Wiring, AJournalLeftBehindIsNotTakenForTheNextConnection) {
  auto p = program();
  // Booked, but its journal could not be deleted (the file was held open at the time).
  ProgramDir::writeText(dir.files().journalSeq(),
                        "[Olm:TK]\nTime=07.12.2026 11.00.00\nEntry=Default\nLosses=900\n"
                        "Account=91\nDuration=900\nWeekDay=1\nAccID=1\n");
  ras.dial("Home", kRasConnected);
  advanceTo(12, 0, 2);
  EXPECT_TRUE(p->monitor->meter().running());
  EXPECT_FALSE(anyJournal());
  p.reset();  // killed within the first 5 s of the connection

  auto next = program();
  EXPECT_TRUE(next->user.questions.empty());
  EXPECT_EQ(count(), 0);
  EXPECT_EQ(balance(), "100");
}

TEST_F(Wiring, AKillDuringTheCloseOutDoesNotCountTwice) {
  {
    auto p = program();
    p->user.killOnSummary = true;  // the summary balloon comes after the booking
    ras.dial("Home", kRasConnected);
    advanceTo(12, 0, 1);
    advanceTo(12, 0, 20);
    ras.drop();
    EXPECT_THROW(advanceTo(12, 0, 21), Killed);
  }
  EXPECT_EQ(count(), 1);
  EXPECT_TRUE(anyJournal());  // the journal was not yet deleted
  auto next = std::make_unique<Program>(dir, clock, ras);
  next->user.recoveryAnswers = {RecoveryAnswer::Book};
  next->start();
  EXPECT_TRUE(next->user.questions.empty());
  EXPECT_EQ(count(), 1);
  EXPECT_EQ(balance(), "99,81");  // 19 s, booked once
  EXPECT_FALSE(anyJournal());
  EXPECT_TRUE(next->t("t_online").enabled());
}

TEST_F(Wiring, ExitWhileOnlineBooksNothing) {
  auto p = program();
  ras.dial("Home", kRasConnected);
  advanceTo(12, 0, 1);
  advanceTo(12, 0, 20);
  ASSERT_TRUE(anyJournal());
  p->user.answers = {Answer::Yes};
  p->guard->lifecycle().exitCommand();
  EXPECT_EQ(p->user.terminated, 1);
  EXPECT_FALSE(anyJournal());
  EXPECT_EQ(count(), 0);
  EXPECT_EQ(balance(), "100");
  EXPECT_NE(ProgramDir::readText(dir.files().quickLog())
                .find("07.12.2026 12:00:01 = 00:00:00 + [user aborts connection] <Default>\r\n"),
            std::string::npos);
}

TEST_F(Wiring, MidnightSplitsTheConnectionAndRestarts) {
  dir.writeConfig("[Olm:TK]\nMidnight=1\n[Default]\n" + MonitorRig::uniformTariff(3600, "Day"));
  clock.setNow(makeLocalTime(2026, 12, 7, 23, 59, 0));
  auto p = program();
  ras.dial("Home", kRasConnected);
  advanceTo(23, 59, 1);
  clock.advanceTo(makeLocalTime(2026, 12, 8, 0, 0, 0, 900));
  EXPECT_EQ(p->process.instances, V{"/reinitialize"});
  EXPECT_EQ(p->user.terminated, 1);
  EXPECT_EQ(count(), 1);
  EXPECT_FALSE(anyJournal());
  const std::string log = logText();
  const auto reconnect = log.find(" Virtual reconnect (midnight).");
  const auto disconnected = log.find(" Disconnected (virtually).");
  const auto restart = log.find(" Midnight reinitialize...");
  ASSERT_NE(reconnect, std::string::npos);
  EXPECT_LT(reconnect, disconnected);
  EXPECT_LT(disconnected, restart);
}

TEST_F(Wiring, MonitoringOffMissesNothingOnceBackOn) {
  auto p = program();
  p->guard->lifecycle().enableCommand();
  EXPECT_EQ(p->stateCode, "di");
  ras.dial("Home", kRasConnected);
  advanceTo(12, 0, 30);
  EXPECT_FALSE(p->monitor->meter().running());
  p->guard->lifecycle().enableCommand();
  advanceTo(12, 0, 31);
  EXPECT_EQ(p->stateCode, "on");
  EXPECT_TRUE(p->monitor->meter().running());
}

}  // namespace
}  // namespace tarvik
