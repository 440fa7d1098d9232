#include "app/lifecycle.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "app/engine.h"
#include "config/ini_file.h"

#include "platform/virtual_clock.h"
#include "support/fake_platform.h"
#include "support/fake_user.h"
#include "support/program_dir.h"

namespace tarvik {
namespace {

using test::FakeProcess;
using test::FakeUser;
using test::ProgramDir;
using V = std::vector<std::string>;

struct NoJournalHost : CrashJournalHost {
  ConnectionFigures meterFigures() const override { return {}; }
  bool closeOutRecovered(const CloseOutFigures&) override { return true; }
  bool closeOutKept(const std::vector<CloseOutFigures>&) override { return true; }
  void finishQuickLogLine(const std::string&) override {}
  std::string quickLogTail(const CloseOutFigures&) override { return {}; }
  std::optional<float> storedBalance(const std::string&, int) override { return 0.0f; }
  void bookBalance(const std::string&, int, float) override {}
  void resumeMonitoring() override {}
};

struct MonitorStandIn : LifecycleHost {
  bool running = false;
  std::string entry = "Home";
  V quickTails;
  V codes;
  int virtualDisconnects = 0;
  bool meterRunning() const override { return running; }
  std::string currentEntry() const override { return entry; }
  void finishQuickLogLine(const std::string& tail) override { quickTails.push_back(tail); }
  void setStateCode(std::string_view code) override { codes.emplace_back(code); }
  void virtualDisconnect() override { ++virtualDisconnects; }
};

// Records which button each Yes/No question makes the default.
struct LifecycleUser : FakeUser {
  std::vector<bool> defaultNo;
  Answer askYesNo(std::string_view text, bool no) override {
    defaultNo.push_back(no);
    return FakeUser::askYesNo(text, no);
  }
};

struct LifecycleFixture : ::testing::Test {
  ProgramDir dir;
  VirtualClock clock{makeLocalTime(2026, 12, 7, 23, 59, 50)};
  EventLog log{dir.files().eventLog(), clock};
  LifecycleUser user;
  FakeProcess process;
  NoJournalHost journalHost;
  MonitorStandIn monitor;
  std::unique_ptr<Timer> a = clock.createTimer("t_security_a");
  std::unique_ptr<Timer> z = clock.createTimer("t_security_z");
  std::unique_ptr<Timer> remind = clock.createTimer("t_remind");
  std::unique_ptr<Timer> balloon = clock.createTimer("t_baloon");
  std::unique_ptr<Timer> online = clock.createTimer("t_online");
  std::unique_ptr<Timer> midnight = clock.createTimer("t_midnight");
  CrashJournal journal{dir.files(),
                       clock,
                       log,
                       user,
                       journalHost,
                       CrashJournalTimers{*a, *z, *remind, *balloon},
                       NumberFormat{','}};
  Lifecycle lifecycle{clock,   log,     user,    user,
                      process, journal, monitor, LifecycleTimers{*online, *midnight}};

  std::string logText() const { return ProgramDir::readText(dir.files().eventLog()); }
  void writeJournals() {
    for (const auto& f :
         {dir.files().journalSeq(), dir.files().journalPro(), dir.files().journalTmp()})
      ProgramDir::writeText(f, "[Olm:TK]\nEntry=Home\nAccount=5\n");
  }
  bool anyJournal() const {
    return std::filesystem::exists(dir.files().journalSeq()) ||
           std::filesystem::exists(dir.files().journalPro()) ||
           std::filesystem::exists(dir.files().journalTmp());
  }
};

TEST_F(LifecycleFixture, ExitWhileOfflineAsksNothing) {
  user.dialogOpen = true;
  lifecycle.exitCommand();
  EXPECT_TRUE(user.questions.empty());
  EXPECT_EQ(user.dialogCancelled, 1);
  EXPECT_EQ(user.terminated, 1);
  EXPECT_EQ(logText(), "\r\n07.12.2026 23:59:50\r\n Application terminated (user request).\r\n");
}

TEST_F(LifecycleFixture, ExitWhileOnlineAnsweredNoChangesNothing) {
  monitor.running = true;
  writeJournals();
  user.answers = {Answer::No};
  lifecycle.exitCommand();
  EXPECT_EQ(user.questions, V{kExitWhileOnlineQuestion});
  EXPECT_EQ(user.defaultNo, std::vector<bool>{true});  // an Enter keeps the connection
  EXPECT_EQ(user.terminated, 0);
  EXPECT_TRUE(monitor.quickTails.empty());
  EXPECT_TRUE(std::filesystem::exists(dir.files().journalPro()));
  EXPECT_FALSE(std::filesystem::exists(dir.files().eventLog()));
}

TEST_F(LifecycleFixture, ExitWhileOnlineAnsweredYesAbortsTheConnection) {
  monitor.running = true;
  writeJournals();
  user.answers = {Answer::Yes};
  lifecycle.exitCommand();
  EXPECT_EQ(monitor.quickTails, V{" = 00:00:00 + [user aborts connection] <Home>"});
  EXPECT_FALSE(anyJournal());
  EXPECT_EQ(user.terminated, 1);
  EXPECT_EQ(monitor.virtualDisconnects, 0);  // nothing booked
  EXPECT_EQ(logText(), "\r\n07.12.2026 23:59:50\r\n Application terminated (user request).\r\n");
}

TEST_F(LifecycleFixture, RestartStartsANewInstance) {
  user.dialogOpen = true;
  lifecycle.restartCommand();
  EXPECT_EQ(user.dialogCancelled, 1);
  EXPECT_EQ(process.instances, V{"/reboot"});
  EXPECT_EQ(user.terminated, 1);
  EXPECT_EQ(logText(), "\r\n07.12.2026 23:59:50\r\n Restarting application...\r\n");
}

TEST_F(LifecycleFixture, MonitoringSwitchedOffAndOn) {
  online->setInterval(1000);
  online->setEnabled(true);
  lifecycle.enableCommand();
  EXPECT_FALSE(lifecycle.monitoringOn());
  EXPECT_FALSE(online->enabled());
  EXPECT_FALSE(user.monitoringOn);
  lifecycle.enableCommand();
  EXPECT_TRUE(lifecycle.monitoringOn());
  EXPECT_TRUE(online->enabled());
  EXPECT_TRUE(user.monitoringOn);
  EXPECT_EQ(monitor.codes, (V{"di", "of"}));
  EXPECT_EQ(logText(),
            "\r\n07.12.2026 23:59:50\r\n Application disabled.\r\n"
            "\r\n07.12.2026 23:59:50\r\n Application enabled.\r\n StandBy.\r\n");
}

TEST_F(LifecycleFixture, MidnightWhileOnlineBooksTheFirstPartAndRestarts) {
  lifecycle.reloadGlobals(true);
  lifecycle.setMidnightArmed(true);
  online->setInterval(1000);
  online->setEnabled(true);
  clock.advanceTo(makeLocalTime(2026, 12, 7, 23, 59, 59, 999));
  EXPECT_EQ(user.terminated, 0);
  clock.advance(1000);
  EXPECT_EQ(monitor.virtualDisconnects, 1);
  EXPECT_FALSE(online->enabled());
  EXPECT_FALSE(midnight->enabled());
  EXPECT_EQ(process.instances, V{"/reinitialize"});
  EXPECT_EQ(user.terminated, 1);
  EXPECT_EQ(logText(),
            "\r\n08.12.2026 00:00:00\r\n Virtual reconnect (midnight).\r\n"
            "\r\n08.12.2026 00:00:00\r\n Midnight reinitialize...\r\n");
}

TEST_F(LifecycleFixture, MidnightWhileOfflineOnlyRestarts) {
  lifecycle.reloadGlobals(true);
  clock.advance(60000);
  EXPECT_EQ(monitor.virtualDisconnects, 0);
  EXPECT_EQ(process.instances, V{"/reinitialize"});
  EXPECT_EQ(logText(), "\r\n08.12.2026 00:00:00\r\n Midnight reinitialize...\r\n");
}

// The instance the midnight restart starts comes up while the clock still reads 00:00:00 and
// arms its own t_midnight at once; it must leave that midnight alone and take the next one.
TEST_F(LifecycleFixture, TheRestartedInstanceRestartsOnlyAtTheNextMidnight) {
  clock.setNow(makeLocalTime(2026, 12, 7, 23, 59, 59, 162));
  lifecycle.reloadGlobals(true);
  clock.advanceTo(makeLocalTime(2026, 12, 8, 0, 0, 0, 50));  // the first tick of the day
  ASSERT_EQ(process.instances, V{"/reinitialize"});
  midnight->setEnabled(false);  // the old instance has ended

  FakeProcess nextProcess;
  FakeUser nextUser;
  std::unique_ptr<Timer> nextOnline = clock.createTimer("t_online");
  std::unique_ptr<Timer> nextMidnight = clock.createTimer("t_midnight");
  Lifecycle next{clock,       log,     nextUser, nextUser,
                 nextProcess, journal, monitor,  LifecycleTimers{*nextOnline, *nextMidnight}};
  next.reloadGlobals(true);  // its first tick comes at 00:00:00.938
  clock.advanceTo(makeLocalTime(2026, 12, 8, 23, 59, 59));
  EXPECT_TRUE(nextProcess.instances.empty());
  EXPECT_EQ(nextUser.terminated, 0);
  EXPECT_TRUE(nextMidnight->enabled());
  clock.advanceTo(makeLocalTime(2026, 12, 9, 0, 0, 1));
  EXPECT_EQ(nextProcess.instances, V{"/reinitialize"});
  EXPECT_EQ(nextUser.terminated, 1);
  EXPECT_EQ(logText(),
            "\r\n08.12.2026 00:00:00\r\n Midnight reinitialize...\r\n"
            "\r\n09.12.2026 00:00:00\r\n Midnight reinitialize...\r\n");
}

TEST_F(LifecycleFixture, MidnightSwitchedOffDoesNothing) {
  lifecycle.reloadGlobals(false);
  lifecycle.setMidnightArmed(true);
  clock.advance(60000);
  EXPECT_TRUE(process.instances.empty());
  EXPECT_EQ(monitor.virtualDisconnects, 0);
}

TEST_F(LifecycleFixture, MidnightWithTheSettingsDialogOpen) {
  for (Answer answer : {Answer::Yes, Answer::No}) {
    user = LifecycleUser{};
    process.instances.clear();
    clock.setNow(makeLocalTime(2026, 12, 7, 23, 59, 50));
    user.dialogOpen = true;
    user.answers = {answer};
    lifecycle.reloadGlobals(true);
    clock.advance(20000);
    EXPECT_EQ(user.questions, V{kMidnightDialogQuestion});
    EXPECT_EQ(user.dialogApplied, answer == Answer::Yes ? 1 : 0);
    EXPECT_EQ(user.dialogCancelled, answer == Answer::No ? 1 : 0);
    EXPECT_EQ(process.instances, V{"/reinitialize"});
  }
}

TEST_F(LifecycleFixture, MidnightCancelledStaysOffUntilTheNextStart) {
  user.dialogOpen = true;
  user.answers = {Answer::Cancel};
  lifecycle.reloadGlobals(true);
  lifecycle.setMidnightArmed(true);
  clock.advance(20000);
  EXPECT_TRUE(process.instances.empty());
  EXPECT_EQ(monitor.virtualDisconnects, 0);
  EXPECT_EQ(logText(), "\r\n08.12.2026 00:00:00\r\n Midnight reinitialize aborted by user.\r\n");
  lifecycle.reloadGlobals(true);  // OK in the dialog reloads the parameters
  clock.advanceTo(makeLocalTime(2026, 12, 9, 0, 0, 5));
  EXPECT_TRUE(process.instances.empty());
  EXPECT_EQ(user.terminated, 0);
}

}  // namespace
}  // namespace tarvik

namespace tarvik {
namespace {

class EmptyRas : public RasService {
 public:
  bool available() override { return true; }
  std::vector<RasConnection> activeConnections() override { return {}; }
  std::optional<std::int32_t> connectionState(std::uint64_t) override { return std::nullopt; }
  void hangUp(std::uint64_t) override {}
  std::optional<std::vector<std::string>> phonebookEntries() override {
    return std::vector<std::string>{};
  }
};

// The crash journal as the start-up meets it.
struct StartWithJournal : ::testing::Test {
  ProgramDir dir;
  VirtualClock clock{makeLocalTime(2026, 12, 7, 12, 0, 0)};
  EmptyRas ras;
  FakeUser user;
  test::FakeTone tone;
  test::FakeSound sound;
  FakeProcess process;
  EventLog log{dir.files().eventLog(), clock};
  std::unique_ptr<Engine> engine;

  void SetUp() override {
    dir.writeAccounts("[Default]\nAccount=100\n");
    ProgramDir::writeText(dir.files().journalPro(),
                          "[Olm:TK]\nTime=06.12.2026 23.10.05\nEntry=Default\nLosses=250\n"
                          "Account=97,5\nDuration=360\nWeekDay=0\nAccID=1\n");
  }
  void start() {
    engine = std::make_unique<Engine>(Services{clock, clock, ras, user, user, user, tone, sound,
                                               process, dir.files(), NumberFormat{','}, log, ""});
    engine->start();
  }
  std::string account() const {
    return IniFile(dir.files().accounts()).readString("Default", "Account", "");
  }
};

TEST_F(StartWithJournal, BookedBeforeThePollerStarts) {
  user.recoveryAnswers = {RecoveryAnswer::Book};
  start();
  EXPECT_EQ(user.questions.size(), 1u);
  EXPECT_EQ(account(), "97,5");
  EXPECT_EQ(IniFile(dir.files().statistics()).readInt("Default", "CountTT", 0), 1);
  EXPECT_TRUE(engine->timer(TimerId::Online).enabled());
  EXPECT_EQ(engine->stateCode(), "of");
  EXPECT_EQ(engine->crashJournalPath(), "NULL");
  const std::string log = ProgramDir::readText(dir.files().eventLog());
  EXPECT_LT(log.find(" Abnormal termination detected (06.12.2026 23.10.05)"),
            log.rfind(" Loading parameters..."));
}

TEST_F(StartWithJournal, PostponedKeepsThePollerOffUntilTheAnswer) {
  user.recoveryAnswers = {RecoveryAnswer::RemindLater, RecoveryAnswer::Ignore};
  start();
  EXPECT_FALSE(engine->timer(TimerId::Online).enabled());
  EXPECT_EQ(engine->stateCode(), "di");
  EXPECT_EQ(engine->crashJournalPath(), dir.files().journalPro().string());
  clock.advance(60000);
  EXPECT_EQ(user.recoveryAllowRemind, (std::vector<bool>{true, false}));
  EXPECT_TRUE(engine->timer(TimerId::Online).enabled());
  EXPECT_EQ(engine->stateCode(), "of");
  EXPECT_EQ(account(), "100");
  EXPECT_FALSE(std::filesystem::exists(dir.files().journalPro()));
  // The poller really polls now.
  clock.clearFired();
  clock.advance(1000);
  EXPECT_NE(std::find(clock.fired().begin(), clock.fired().end(), "t_online"), clock.fired().end());
}

TEST_F(StartWithJournal, MidnightCancelSurvivesTheParameterReload) {
  std::filesystem::remove(dir.files().journalPro());
  dir.writeConfig("[Olm:TK]\nMidnight=1\n");
  clock.setNow(makeLocalTime(2026, 12, 7, 23, 59, 50));
  start();
  user.dialogOpen = true;
  user.answers = {Answer::Cancel};
  clock.advance(20000);
  engine->reloadGlobalParameters(false);
  EXPECT_FALSE(engine->timer(TimerId::Midnight).enabled());
  EXPECT_TRUE(process.instances.empty());
}

}  // namespace
}  // namespace tarvik
