// The notifications, the crash journal and the lifecycle commands driven by the real
// connection monitor on the virtual clock.
#include "app/guard_wiring.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/assembly.h"
#include "monitor/monitor_rig.h"

namespace tarvik {
namespace {

using test::FakeProcess;
using test::FakeRas;
using test::FakeSound;
using test::FakeTone;
using test::FakeUser;
using test::MonitorRig;
using test::ProgramDir;
using V = std::vector<std::string>;

// Stands for the process being killed: nothing in the program catches it.
struct Killed {};

struct KillableUser : FakeUser {
  bool killOnSummary = false;
  void balloon(std::string_view title, std::string_view text, bool optional) override {
    FakeUser::balloon(title, text, optional);
    if (killOnSummary && text.starts_with("Соединение с интернетом завершено.")) throw Killed{};
  }
};

// One run of the program over a program directory that outlives it.
struct Program {
  Program(const ProgramDir& dir, VirtualClock& clock, FakeRas& ras)
      : log(dir.files().eventLog(), clock),
        assembly(Services{clock, clock, ras, user, tone, sound, process, dir.files(),
                          NumberFormat{','}, log, ""}),
        guard(assembly.guard.get()),
        monitor(&assembly.monitor),
        stateCode(assembly.stateCode) {
    QuickLog(dir.files().quickLog()).createIfMissing();
    guard->reloadGlobals(IniFile(dir.files().config()).readInt("Olm:TK", "Midnight", 0) != 0);
  }
  // The start-up: the crash journal first, then the poller unless an answer is pending.
  void start() {
    guard->journal().detectAtStart();
    if (t("t_remind").enabled()) return;
    stateCode = "of";
    t("t_online").setEnabled(true);
  }
  Timer& t(std::string_view name) { return test::timerNamed(assembly.timers, name); }

  EventLog log;
  KillableUser user;
  FakeTone tone;
  FakeSound sound;
  FakeProcess process;
  Assembly assembly;
  GuardWiring* guard;
  Monitor* monitor;
  std::string& stateCode;
};

struct Wiring : ::testing::Test {
  ProgramDir dir;
  VirtualClock clock{makeLocalTime(2026, 12, 7, 12, 0, 0)};
  FakeRas ras;

  void SetUp() override {
    dir.writeConfig("[Default]\n" + MonitorRig::uniformTariff(3600, "Day"));
    dir.writeAccounts("[Default]\nAccount=100\n");
  }
  std::unique_ptr<Program> program() {
    auto p = std::make_unique<Program>(dir, clock, ras);
    p->start();
    return p;
  }
  void advanceTo(int h, int m, int s) {
    const LocalTime now = clock.now();
    clock.advanceTo(makeLocalTime(now.year, now.month, now.day, h, m, s));
  }
  std::string logText() const { return ProgramDir::readText(dir.files().eventLog()); }
  int count() const { return IniFile(dir.files().statistics()).readInt("Default", "CountTT", 0); }
  std::string balance() const {
    return IniFile(dir.files().accounts()).readString("Default", "Account", "");
  }
  bool anyJournal() const {
    return std::filesystem::exists(dir.files().journalSeq()) ||
           std::filesystem::exists(dir.files().journalPro()) ||
           std::filesystem::exists(dir.files().journalTmp());
  }
};

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
            "99,9000015258789");  // 10 s at one hundredth a second: security.seq of 12:00:12
  EXPECT_TRUE(next->t("t_online").enabled());
  EXPECT_EQ(next->stateCode, "of");
  EXPECT_FALSE(anyJournal());
  const std::string log = logText();
  EXPECT_NE(log.find(" Abnormal termination detected (07.12.2026 12.00.12)\r\n"
                     " Interrupted connection data:\r\n Time spent online: 00:00:10\r\n"),
            std::string::npos)
      << log;
  EXPECT_NE(ProgramDir::readText(dir.files().quickLog())
                .find("07.12.2026 12:00:01 = 00:00:10 + [$ | ~0,1    | =99,900 ] <Default>\r\n"),
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
  EXPECT_EQ(balance(), "99,8099975585938");  // 19 s, booked once
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

// --- A close-out that cannot write its files keeps the connection for later. -------------

const char* const kFailureBalloonEnd = "\nP.S.: произошла ошибка во время сохранения статистики.";

void setWritable(const std::filesystem::path& file, bool writable) {
  std::filesystem::permissions(
      file, writable ? std::filesystem::perms(0644) : std::filesystem::perms(0444));
}

// One connection from 12:00:01 to 12:00:21 (19 metered seconds at one hundredth a second)
// whose close-out fails because `file` is read-only.
void failingConnection(Wiring& w, Program& p, const std::filesystem::path& file) {
  setWritable(file, false);
  w.ras.dial("Home", kRasConnected);
  w.advanceTo(12, 0, 1);
  w.advanceTo(12, 0, 20);
  w.ras.drop();
  const std::size_t mark = w.logText().size();
  w.advanceTo(12, 0, 21);
  ASSERT_FALSE(p.user.balloons.empty());
  EXPECT_TRUE(p.user.balloons.back().text.ends_with(kFailureBalloonEnd));
  EXPECT_EQ(w.logText().substr(mark), "\r\n07.12.2026 12:00:21\r\n Disconnected.\r\n");
  EXPECT_TRUE(std::filesystem::exists(w.dir.files().keptBookings()));
  EXPECT_FALSE(w.anyJournal());
}

// The failing connection, then a second one from 12:01:01 to 12:01:21 kept behind it while
// the statistics file stays read-only.
void twoKeptBookings(Wiring& w, Program& p) {
  failingConnection(w, p, w.dir.files().statistics());
  w.advanceTo(12, 1, 0);
  w.ras.dial("Home", kRasConnected);
  w.advanceTo(12, 1, 1);
  w.advanceTo(12, 1, 20);
  w.ras.drop();
  w.advanceTo(12, 1, 21);
}

TEST_F(Wiring, AFailedCloseOutIsBookedOnceAtTheNextStart) {
  dir.writeStatistics("[Default]\nCountTT=0\n");
  {
    auto p = program();
    failingConnection(*this, *p, dir.files().statistics());
    p->guard->lifecycle().exitCommand();
  }
  EXPECT_EQ(count(), 0);
  EXPECT_EQ(balance(), "100");
  setWritable(dir.files().statistics(), true);
  auto next = program();
  EXPECT_TRUE(next->user.questions.empty());
  EXPECT_EQ(count(), 1);
  EXPECT_EQ(balance(), "99,8099975585938");
  EXPECT_FALSE(anyJournal());
  EXPECT_EQ(next->stateCode, "of");
  auto third = program();
  EXPECT_EQ(count(), 1);
  EXPECT_EQ(balance(), "99,8099975585938");
}

TEST_F(Wiring, AFailedBalanceIsRewrittenAtTheNextStartWithoutCountingAgain) {
  {
    auto p = program();
    failingConnection(*this, *p, dir.files().accounts());
  }
  EXPECT_EQ(count(), 1);  // the statistics come before the balance
  EXPECT_EQ(balance(), "100");
  setWritable(dir.files().accounts(), true);
  auto next = program();
  EXPECT_EQ(count(), 1);
  EXPECT_EQ(balance(), "99,8099975585938");
  EXPECT_FALSE(anyJournal());
}

TEST_F(Wiring, AFailedCloseOutIsBookedBeforeTheNextConnectionOnceWritesWork) {
  dir.writeStatistics("[Default]\nCountTT=0\n");
  auto p = program();
  failingConnection(*this, *p, dir.files().statistics());
  setWritable(dir.files().statistics(), true);
  advanceTo(12, 1, 0);
  ras.dial("Home", kRasConnected);
  advanceTo(12, 1, 1);
  // Booked before the meter read the balance, so the new connection starts from it.
  EXPECT_EQ(count(), 1);
  EXPECT_EQ(balance(), "99,8099975585938");
  EXPECT_EQ(p->monitor->meter().balance(), 99.81f);
  advanceTo(12, 1, 20);
  EXPECT_TRUE(std::filesystem::exists(dir.files().journalTmp()));  // protected again
  ras.drop();
  advanceTo(12, 1, 21);
  EXPECT_EQ(count(), 2);
  const std::optional<double> after = parseDecimal(balance());
  ASSERT_TRUE(after);
  EXPECT_NEAR(*after, 100 - 0.38, 1e-4);
  EXPECT_FALSE(anyJournal());
  auto restart = program();
  EXPECT_EQ(count(), 2);
}

// The way it was found: the statistics file read-only through connections A (7 s) and B
// (3 s), writable again for C. Each is booked once, as itself, in order, with one quick-log
// line of its own, and the balance carries all three costs.
TEST_F(Wiring, BookingsThatCannotBeWrittenWaitInOrderAndEachIsBookedOnceAsItself) {
  dir.writeConfig("[Default]\nFreeTime=0\n" + MonitorRig::uniformTariff(3600, "Day"));
  dir.writeStatistics("[Default]\nCountTT=0\n");
  const std::filesystem::path stats = dir.files().statistics();
  auto p = program();
  const auto failures = [&] {
    return std::count_if(p->user.balloons.begin(), p->user.balloons.end(),
                         [](const auto& b) { return b.text.ends_with(kFailureBalloonEnd); });
  };
  const auto connection = [&](int minute, int seconds) {
    advanceTo(12, minute, 0);
    ras.dial("Home", kRasConnected);
    advanceTo(12, minute, 1);
    advanceTo(12, minute, 1 + seconds);
    ras.drop();
    advanceTo(12, minute, 2 + seconds);
  };
  setWritable(stats, false);
  connection(0, 7);  // A
  EXPECT_EQ(failures(), 1);
  const std::size_t beforeB = logText().size();
  connection(1, 3);  // B
  // A is tried again quietly; nothing claims a booking that did not happen.
  EXPECT_EQ(failures(), 2);
  const std::string duringB = logText().substr(beforeB);
  EXPECT_EQ(duringB.find("booking completed"), std::string::npos) << duringB;
  EXPECT_EQ(duringB.find(" Time spent online"), std::string::npos) << duringB;
  EXPECT_EQ(count(), 0);
  EXPECT_EQ(balance(), "100");
  // B was protected by its own journal and is kept behind A.
  EXPECT_EQ(p->guard->journal().keptBookings().list().size(), 2u);

  setWritable(stats, true);
  const std::size_t beforeC = logText().size();
  advanceTo(12, 2, 0);
  ras.dial("Home", kRasConnected);
  advanceTo(12, 2, 1);
  // Both are booked before C's meter reads the balance.
  EXPECT_EQ(count(), 2);
  EXPECT_NEAR(p->monitor->meter().balance(), 100 - 0.07 - 0.03, 1e-4);
  advanceTo(12, 2, 6);
  ras.drop();
  advanceTo(12, 2, 7);
  EXPECT_EQ(failures(), 2);
  const std::string log = logText().substr(beforeC);
  const std::size_t a = log.find(" Kept connection data:\r\n Time spent online: 00:00:07\r\n");
  const std::size_t b = log.find(" Kept connection data:\r\n Time spent online: 00:00:03\r\n");
  EXPECT_NE(a, std::string::npos) << log;
  EXPECT_LT(a, b) << log;

  const IniFile s(stats);
  EXPECT_EQ(s.readInt("Default", "CountTT", 0), 3);
  EXPECT_EQ(s.readInt("Default", "TimeTT", 0), 7 + 3 + 5);
  EXPECT_EQ(s.readInt("Default", "TimePC", 0), 3);  // B is the connection before C
  const std::optional<double> after = parseDecimal(balance());
  ASSERT_TRUE(after);
  EXPECT_NEAR(*after, 100 - 0.15, 1e-4);
  EXPECT_EQ(ProgramDir::readText(dir.files().quickLog()),
            "Tarvik «4» quick connections log\r\n\r\n"
            "07.12.2026 12:00:01 = 00:00:07 + [$ | ~0,07   | =99,930 ] <Default>\r\n"
            "07.12.2026 12:01:01 = 00:00:03 + [$ | ~0,03   | =99,900 ] <Default>\r\n"
            "07.12.2026 12:02:01 = 00:00:05 + [$ | ~0,05   | =99,849 ] <Default>\r\n");
  EXPECT_FALSE(std::filesystem::exists(dir.files().keptBookings()));
  EXPECT_FALSE(anyJournal());

  p.reset();
  auto restart = program();
  EXPECT_TRUE(restart->user.questions.empty());
  EXPECT_EQ(count(), 3);
}

TEST_F(Wiring, KeptBookingsSurviveAKillAndAreBookedAtTheNextStart) {
  dir.writeStatistics("[Default]\nCountTT=0\n");
  {
    auto p = program();
    twoKeptBookings(*this, *p);
    advanceTo(12, 2, 0);
    ras.dial("Home", kRasConnected);
    advanceTo(12, 2, 1);
    advanceTo(12, 2, 8);  // killed while a third connection is metered
  }
  ras.drop();
  setWritable(dir.files().statistics(), true);
  auto next = std::make_unique<Program>(dir, clock, ras);
  next->user.recoveryAnswers = {RecoveryAnswer::Book};
  next->start();
  // The two kept bookings first, then the interrupted connection after the question.
  EXPECT_EQ(next->user.questions.size(), 1u);
  EXPECT_EQ(count(), 3);
  EXPECT_EQ(IniFile(dir.files().statistics()).readInt("Default", "TimeTT", 0), 19 + 19 + 5);
  const std::optional<double> after = parseDecimal(balance());
  ASSERT_TRUE(after);
  EXPECT_NEAR(*after, 100 - 0.43, 1e-4);
  EXPECT_FALSE(std::filesystem::exists(dir.files().keptBookings()));
  EXPECT_FALSE(anyJournal());
}

// A kept booking written while security.que cannot let it go is reported once, even across
// restarts that still find it there.
TEST_F(Wiring, AKeptBookingWrittenButStillQueuedIsNotReportedAgainAfterARestart) {
  dir.writeStatistics("[Default]\nCountTT=0\n");
  const std::filesystem::path que = dir.files().keptBookings();
  const auto summaries = [&] {
    const std::string log = logText();
    int n = 0;
    for (std::size_t at = log.find(" Time spent online: 00:00:19"); at != std::string::npos;
         at = log.find(" Time spent online: 00:00:19", at + 1))
      ++n;
    return n;
  };
  {
    auto p = program();
    twoKeptBookings(*this, *p);
    setWritable(dir.files().statistics(), true);
    setWritable(que, false);
    p->guard->lifecycle().exitCommand();
  }
  for (int start = 0; start < 2; ++start) program();
  EXPECT_EQ(count(), 1);
  EXPECT_EQ(summaries(), 1);
  EXPECT_EQ(balance(), "99,8099975585938");
  setWritable(que, true);
  program();
  EXPECT_EQ(count(), 2);
  EXPECT_EQ(summaries(), 2);  // the second connection's, once
  EXPECT_FALSE(std::filesystem::exists(que));
}

// A shared account while bookings wait: A and B cannot be written, then security.que will not
// let A go once it is written and refuses C, whose marked journal stands in. Every figure of
// the balance (the next meter, its warnings and forecast, the dialog's text) is the one the
// waiting bookings leave; each summary is logged once; the stored balance ends where shown.
TEST_F(Wiring, WaitingBookingsLowerTheSharedBalanceShownAndAreEachReportedOnce) {
  // Work has settings of its own; Home is metered with those of Default.
  const std::string entry = "FreeTime=0\nAccountUse1=1\nAccountVal1=16\nZeroFile=zero.wav\n" +
                            MonitorRig::uniformTariff(3600, "Day");
  dir.writeConfig("[Olm:TK]\nDefaultAcc=0\nAccountOne=1\n[Default]\n" + entry + "[Work]\nDone=1\n" +
                  entry);
  dir.writeAccounts("[Olm:TK]\nAccount=0,3\n");
  dir.writeStatistics("[Default]\nCountTT=0\n");
  const std::filesystem::path stats = dir.files().statistics();
  const std::filesystem::path que = dir.files().keptBookings();
  auto p = program();
  p->assembly.entries = {"Home", "Work"};
  const auto connection = [&](const char* entry, int minute, int seconds) {
    advanceTo(12, minute, 0);
    ras.dial(entry, kRasConnected);
    advanceTo(12, minute, 1);
    advanceTo(12, minute, 1 + seconds);
    ras.drop();
    advanceTo(12, minute, 2 + seconds);
  };
  const auto shown = [&](const AccountKey& key) {
    const std::string text = shownBalanceText(IniFile(dir.files().accounts()), key,
                                              &p->guard->journal(), NumberFormat{','});
    return parseDecimal(text).value_or(-1);
  };
  const AccountKey shared = accountKey("Work", kAccountSingle);
  const auto balloonsStarting = [&](std::string_view start) {
    return std::count_if(p->user.balloons.begin(), p->user.balloons.end(),
                         [&](const auto& b) { return b.text.starts_with(start); });
  };
  const auto summaries = [&](std::string_view seconds) {
    const std::string log = logText();
    const std::string line = " Time spent online: " + std::string(seconds) + "\r\n";
    int n = 0;
    for (std::size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1)) ++n;
    return n;
  };

  setWritable(stats, false);
  connection("Home", 0, 7);  // A
  EXPECT_NEAR(shown(shared), 0.23, 1e-6);
  EXPECT_NEAR(shown(accountKey("Default", kAccountIndividual)), 0.23, 1e-6);
  connection("Work", 1, 3);  // B, kept behind A
  EXPECT_NEAR(shown(shared), 0.20, 1e-6);
  EXPECT_NEAR(shown(accountKey("Default", kAccountIndividual)), 0.23, 1e-6);
  EXPECT_EQ(IniFile(dir.files().accounts()).readString("Olm:TK", "Account", ""), "0,3");

  // A is written at C's start, but security.que can neither let it go nor take C.
  setWritable(stats, true);
  setWritable(que, false);
  connection("Home", 2, 5);  // C
  EXPECT_EQ(count(), 1);
  EXPECT_EQ(summaries("00:00:07"), 1);
  EXPECT_EQ(summaries("00:00:05"), 0);
  EXPECT_NEAR(shown(shared), 0.15, 1e-6);

  // D is metered from what A, B and C leave: its warnings and forecast come on time.
  const auto levelWarnings = balloonsStarting("Внимание!\nСостояние счёта");
  advanceTo(12, 3, 40);
  ras.dial("Work", kRasConnected);
  advanceTo(12, 3, 42);
  EXPECT_NEAR(p->monitor->meter().balance(), 0.15, 1e-6);
  EXPECT_EQ(balloonsStarting("Внимание!\nСостояние счёта"), levelWarnings + 1);
  EXPECT_NE(p->user.onlineHint.find("счёт исчерпается ≈ в 12:03"), std::string::npos)
      << p->user.onlineHint;
  advanceTo(12, 3, 56);
  EXPECT_EQ(balloonsStarting("Внимание!\nПо предварительному"), 0);
  advanceTo(12, 3, 58);
  EXPECT_EQ(balloonsStarting("Внимание!\nПо предварительному"), 1);

  // Nothing can take D: it waits in memory, and E is metered from what D leaves.
  ras.drop();
  advanceTo(12, 3, 59);
  EXPECT_NEAR(shown(shared), 0.15 - 0.17, 1e-6);
  EXPECT_EQ(count(), 1);  // only A is written

  // Writable again: every booking is written once, in order, before E's meter reads the
  // balance; what was shown for the waiting ones is what they store.
  setWritable(que, true);
  advanceTo(12, 4, 0);
  ras.dial("Home", kRasConnected);
  advanceTo(12, 4, 1);
  EXPECT_NEAR(p->monitor->meter().balance(), 0.15 - 0.17, 1e-6);
  const IniFile accounts(dir.files().accounts());
  EXPECT_NEAR(parseDecimal(accounts.readString("Default", "Account", "")).value_or(-1), 0.15, 1e-6);
  EXPECT_NEAR(parseDecimal(accounts.readString("Olm:TK", "Account", "")).value_or(-1), 0.15 - 0.17,
              1e-6);
  advanceTo(12, 4, 3);
  ras.drop();
  advanceTo(12, 4, 4);
  EXPECT_EQ(IniFile(stats).readInt("Default", "CountTT", 0), 3);
  EXPECT_EQ(IniFile(stats).readInt("Work", "CountTT", 0), 2);
  for (const char* seconds : {"00:00:07", "00:00:03", "00:00:05", "00:00:17", "00:00:02"})
    EXPECT_EQ(summaries(seconds), 1) << seconds << "\n" << logText();
  EXPECT_NEAR(shown(shared), 0.30 - 0.07 - 0.03 - 0.05 - 0.17 - 0.02, 1e-6);
  EXPECT_EQ(ProgramDir::readText(dir.files().quickLog()),
            "Tarvik «4» quick connections log\r\n\r\n"
            "07.12.2026 12:00:01 = 00:00:07 + [$ | ~0,07   | =0,2300 ] <Default>\r\n"
            "07.12.2026 12:01:01 = 00:00:03 + [$ | ~0,03   | =0,2000 ] <Work>\r\n"
            "07.12.2026 12:02:01 = 00:00:05 + [$ | ~0,05   | =0,1500 ] <Default>\r\n"
            "07.12.2026 12:03:41 = 00:00:17 + [$ | ~0,17   | =-0,019 ] <Work>\r\n"
            "07.12.2026 12:04:01 = 00:00:02 + [$ | ~0,02   | =-0,039 ] <Default>\r\n");
  EXPECT_FALSE(std::filesystem::exists(que));
  EXPECT_FALSE(anyJournal());
}

}  // namespace
}  // namespace tarvik
