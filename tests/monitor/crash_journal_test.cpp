#include "monitor/crash_journal.h"

#include <gtest/gtest.h>

#include "config/ini_file.h"
#include "monitor/booking_identity.h"
#include "platform/virtual_clock.h"
#include "stats/accounts.h"
#include "stats/statistics.h"
#include "support/fake_user.h"
#include "support/program_dir.h"

namespace tarvik {
namespace {

using test::ProgramDir;
using V = std::vector<std::string>;

// Thrown at a chosen step to stand for the process being killed there: it is no
// std::exception, so nothing in the program catches it and the files stay as they are.
struct Killed {};

struct JournalUser : test::FakeUser {
  std::vector<bool> commandsEnabled;
  void setRecoveryCommandsEnabled(bool enabled) override { commandsEnabled.push_back(enabled); }
};

// Books through the real statistics and accounts, the way the close-out does: statistics,
// balance, then the quick-log line. `killAt` names the step at which the "process dies".
struct JournalHost : CrashJournalHost {
  JournalHost(const ProgramFiles& files, EventLog& log)
      : files(files),
        log(log),
        statistics(files, NumberFormat{','}, log),
        accounts(files, NumberFormat{','}, log) {}

  ProgramFiles files;
  EventLog& log;
  Statistics statistics;
  Accounts accounts;
  MeterFigures figures;
  std::vector<InterruptedConnection> closedOut;
  V quickLines;
  int resumed = 0;
  std::string killAt;
  bool failBooking = false;  // a data file cannot be written: the close-out books nothing

  void step(const std::string& name) {
    if (killAt == name) throw Killed{};
  }
  MeterFigures meterFigures() const override { return figures; }
  bool closeOutRecovered(const InterruptedConnection& c) override {
    closedOut.push_back(c);
    if (failBooking) return false;
    bookAll(c.entry, c.accountKind, c.weekday, c.seconds, c.cost, c.balance, c.identity);
    return true;
  }
  void bookAll(const std::string& entry, int kind, int weekday, int seconds, float cost,
               float balance, const std::string& identity) {
    step("stats");
    if (identity.empty()) {
      statistics.bookConnection(entry, weekday, seconds, cost);
    } else {
      bookStatisticsOnce(files, NumberFormat{','}, log, identity, entry, weekday, seconds, cost);
    }
    step("balance");
    accounts.bookBalance(entry, kind, balance);
    step("quick");
    quickLines.push_back("booked <" + entry + ">");
    step("closed");
  }
  void finishQuickLogLine(const std::string& tail) override { quickLines.push_back(tail); }
  std::optional<float> storedBalance(const std::string& entry, int kind) override {
    const AccountKey key = accountKey(entry, kind);
    const auto value = parseDecimal(readKey(IniFile(files.accounts()), key.section, key.key, ""));
    if (!value) return std::nullopt;
    return static_cast<float>(*value);
  }
  void bookBalance(const std::string& entry, int kind, float balance) override {
    accounts.bookBalance(entry, kind, balance);
  }
  void resumeMonitoring() override {
    step("resume");
    ++resumed;
  }
};

// One session of the program: its timers, user and journal over a shared program directory.
struct Session {
  Session(const ProgramDir& dir, VirtualClock& clock)
      : log(dir.files().eventLog(), clock),
        host(dir.files(), log),
        levelOne(clock.createTimer("t_security_a")),
        levelTwo(clock.createTimer("t_security_z")),
        remind(clock.createTimer("t_remind")),
        balloon(clock.createTimer("t_baloon")),
        journal(dir.files(), clock, log, user, host,
                CrashJournalTimers{*levelOne, *levelTwo, *remind, *balloon}, NumberFormat{','}) {}
  // What the start of metering does for the journal: a journal an earlier connection left
  // behind goes, and both levels run (the meter arms them).
  void startMetering() {
    journal.remove();
    levelOne->setInterval(kJournalLevelOneMs);
    levelOne->setEnabled(true);
    levelTwo->setInterval(kJournalLevelTwoMs);
    levelTwo->setEnabled(true);
  }
  EventLog log;
  JournalUser user;
  JournalHost host;
  std::unique_ptr<Timer> levelOne, levelTwo, remind, balloon;
  CrashJournal journal;
};

struct JournalFixture : ::testing::Test {
  std::unique_ptr<ProgramDir> owned = std::make_unique<ProgramDir>();
  ProgramDir& dir() const { return *owned; }
  // A new, empty program directory (one per case of a loop).
  void freshDir() { owned = std::make_unique<ProgramDir>(); }
  VirtualClock clock{makeLocalTime(2026, 12, 7, 12, 0, 0)};  // a Monday

  std::unique_ptr<Session> run() { return std::make_unique<Session>(dir(), clock); }
  std::string logText() const { return ProgramDir::readText(dir().files().eventLog()); }
  bool anyJournal() const {
    return std::filesystem::exists(dir().files().journalSeq()) ||
           std::filesystem::exists(dir().files().journalPro()) ||
           std::filesystem::exists(dir().files().journalTmp());
  }
  int count(const std::string& entry) const {
    return IniFile(dir().files().statistics()).readInt(entry, "CountTT", 0);
  }
  std::string account(const std::string& entry) const {
    return IniFile(dir().files().accounts()).readString(entry, "Account", "");
  }
  std::optional<double> balance(const std::string& entry) const {
    return parseDecimal(account(entry));
  }
};

const char* const kRunningJournal =
    "[Olm:TK]\nTime=06.12.2026 23.10.05\nEntry=Home\nLosses=250\nAccount=97,5\nDuration=360\n"
    "WeekDay=0\nAccID=0\n";

TEST_F(JournalFixture, WrittenEveryFiveSecondsAndLevelTwoEveryFivePointFive) {
  auto r = run();
  r->host.figures = MeterFigures{"Home", 20.833334f, 99.5f, 5, 0};
  r->startMetering();
  clock.advance(4999);
  EXPECT_FALSE(anyJournal());  // a crash in the first 5 s leaves nothing
  clock.advance(1);
  const std::string expected =
      "[Olm:TK]\r\nTime=07.12.2026 12.00.05\r\nEntry=Home\r\nLosses=20,8333339691162\r\n"
      "Account=99,5\r\nDuration=5\r\nWeekDay=1\r\nAccID=0\r\n";
  EXPECT_EQ(ProgramDir::readText(dir().files().journalPro()), expected);
  EXPECT_EQ(ProgramDir::readText(dir().files().journalTmp()), expected);
  EXPECT_FALSE(std::filesystem::exists(dir().files().journalSeq()));
  clock.advance(555);
  EXPECT_TRUE(std::filesystem::exists(dir().files().journalSeq()));

  r->host.figures.seconds = 10;
  clock.advance(4445);  // 10 s: level 1 again
  EXPECT_EQ(IniFile(dir().files().journalPro()).readInt("Olm:TK", "Duration", 0), 10);
  EXPECT_EQ(IniFile(dir().files().journalSeq()).readInt("Olm:TK", "Duration", 0), 5);

  r->journal.stopForDisconnect();
  r->journal.remove();
  clock.advance(60000);
  EXPECT_FALSE(anyJournal());
}

TEST_F(JournalFixture, WriteFailureSwitchesProtectionOffForTheConnection) {
  // A folder of that name, not empty, so the file can neither be deleted nor replaced.
  std::filesystem::create_directories(dir().files().journalPro() / "x");
  auto r = run();
  r->balloon->setInterval(8000);
  r->balloon->setEnabled(true);
  r->startMetering();
  clock.advance(5000);
  ASSERT_EQ(r->user.balloons.size(), 1u);
  EXPECT_EQ(r->user.balloons[0].title, "Система защиты от сбоев");
  EXPECT_EQ(r->user.balloons[0].text,
            "Возникла ошибка во время записи\nнеобходимых файлов на диск...\nСистема защиты от "
            "сбоев будет\nотключена для текущего соединения.\nЕсли ошибка повториться - "
            "свяжитесь с автором.");
  EXPECT_FALSE(r->user.balloons[0].optional);
  EXPECT_FALSE(r->balloon->enabled());
  EXPECT_FALSE(r->levelOne->enabled());
  EXPECT_FALSE(r->levelTwo->enabled());
  EXPECT_EQ(logText(), " Failed write intelligence protection files.\r\n");
  clock.advance(60000);
  EXPECT_EQ(r->user.balloons.size(), 1u);
}

TEST_F(JournalFixture, NoJournalNoQuestion) {
  auto r = run();
  EXPECT_FALSE(r->journal.detectAtStart());
  EXPECT_TRUE(r->user.questions.empty());
  EXPECT_FALSE(std::filesystem::exists(dir().files().eventLog()));
}

TEST_F(JournalFixture, TheLastFoundJournalWins) {
  ProgramDir::writeText(dir().files().journalTmp(), "[Olm:TK]\nTime=tmp\n");
  {
    auto r = run();
    r->user.recoveryAnswers = {RecoveryAnswer::RemindLater};
    ASSERT_TRUE(r->journal.detectAtStart());
    EXPECT_EQ(r->journal.journalPath(), dir().files().journalTmp());
  }
  ProgramDir::writeText(dir().files().journalPro(), "[Olm:TK]\nTime=pro\n");
  {
    auto r = run();
    r->journal.detectAtStart();
    EXPECT_EQ(r->journal.journalPath(), dir().files().journalPro());
  }
  ProgramDir::writeText(dir().files().journalSeq(), "[Olm:TK]\nTime=seq\n");
  {
    auto r = run();
    r->journal.detectAtStart();
    EXPECT_EQ(r->journal.journalPath(), dir().files().journalSeq());
  }
  EXPECT_EQ(logText(),
            " Abnormal termination detected (tmp)\r\n Abnormal termination detected (pro)\r\n"
            " Abnormal termination detected (seq)\r\n");
}

TEST_F(JournalFixture, BookTheInterruptedConnection) {
  ProgramDir::writeText(dir().files().journalPro(), kRunningJournal);
  ProgramDir::writeText(dir().files().journalTmp(), kRunningJournal);
  dir().writeAccounts("[Home]\nAccount=100\n");
  auto r = run();
  r->user.recoveryAnswers = {RecoveryAnswer::Book};
  ASSERT_TRUE(r->journal.detectAtStart());
  EXPECT_EQ(r->user.questions, V{kRecoveryQuestion});
  EXPECT_EQ(r->user.recoveryAllowRemind, std::vector<bool>{true});
  EXPECT_EQ(r->user.stateCodes, V{"di"});
  ASSERT_EQ(r->host.closedOut.size(), 1u);
  const InterruptedConnection& c = r->host.closedOut[0];
  EXPECT_EQ(c.entry, "Home");
  EXPECT_EQ(c.seconds, 360);
  EXPECT_EQ(c.weekday, 0);
  EXPECT_FLOAT_EQ(c.cost, 250);
  EXPECT_FLOAT_EQ(c.balance, 97.5f);
  EXPECT_EQ(count("Home"), 1);
  EXPECT_EQ(account("Home"), "97,5");
  EXPECT_EQ(logText(),
            " Abnormal termination detected (06.12.2026 23.10.05)\r\n Interrupted connection "
            "data:\r\n");
  EXPECT_FALSE(anyJournal());
  EXPECT_EQ(r->host.resumed, 1);
  EXPECT_FALSE(r->journal.recoveryPending());
  EXPECT_EQ(r->user.commandsEnabled, std::vector<bool>{true});
}

TEST_F(JournalFixture, IgnoreTheInterruptedConnection) {
  ProgramDir::writeText(dir().files().journalSeq(), kRunningJournal);
  dir().writeAccounts("[Home]\nAccount=100\n");
  auto r = run();
  r->user.recoveryAnswers = {RecoveryAnswer::Ignore};
  r->journal.detectAtStart();
  EXPECT_TRUE(r->host.closedOut.empty());
  EXPECT_EQ(r->host.quickLines, V{" = 00:00:00 + [user aborts connection] <Home>"});
  EXPECT_EQ(count("Home"), 0);
  EXPECT_EQ(account("Home"), "100");
  EXPECT_NE(logText().find(" Interrupted connection subtracted from statistics (user request)\r\n"),
            std::string::npos);
  EXPECT_FALSE(anyJournal());
  EXPECT_EQ(r->host.resumed, 1);
}

TEST_F(JournalFixture, RemindLaterOnceThenOnlyTwoAnswers) {
  ProgramDir::writeText(dir().files().journalPro(), kRunningJournal);
  auto r = run();
  r->user.recoveryAnswers = {RecoveryAnswer::RemindLater};
  r->journal.detectAtStart();
  EXPECT_TRUE(r->remind->enabled());
  EXPECT_TRUE(r->journal.remindedOnce());
  EXPECT_EQ(r->user.commandsEnabled, std::vector<bool>{false});
  EXPECT_EQ(r->host.resumed, 0);  // the poller stays off
  EXPECT_TRUE(anyJournal());

  r->user.recoveryAnswers = {RecoveryAnswer::Book};
  clock.advance(59999);
  EXPECT_EQ(r->user.questions.size(), 1u);
  clock.advance(1);
  EXPECT_EQ(r->user.recoveryAllowRemind, (std::vector<bool>{true, false}));
  EXPECT_EQ(r->user.stateCodes, (V{"di", "xx", "di"}));
  EXPECT_EQ(r->host.closedOut.size(), 1u);
  EXPECT_FALSE(r->remind->enabled());
  EXPECT_EQ(r->user.commandsEnabled, (std::vector<bool>{false, true}));
  EXPECT_EQ(r->host.resumed, 1);
  clock.advance(600000);
  EXPECT_EQ(r->user.questions.size(), 2u);
}

TEST_F(JournalFixture, AJournalWithoutAccountNeverBooksZeroOverTheBalance) {
  // The balance is taken from the account (untouched since the connection began) less the
  // journal's cost.
  ProgramDir::writeText(dir().files().journalTmp(),
                        "[Olm:TK]\nEntry=Home\nLosses=250\nDuration=60\nAccID=0\n");
  dir().writeAccounts("[Home]\nAccount=100\n");
  auto r = run();
  r->user.recoveryAnswers = {RecoveryAnswer::Book};
  r->journal.detectAtStart();
  ASSERT_EQ(r->host.closedOut.size(), 1u);
  EXPECT_FLOAT_EQ(r->host.closedOut[0].balance, 97.5f);
  EXPECT_EQ(account("Home"), "97,5");
}

TEST_F(JournalFixture, BookingTheSingleAccountAlsoSetsTheEntrysOwnAccount) {
  ProgramDir::writeText(dir().files().journalSeq(),
                        "[Olm:TK]\nTime=06.12.2026 23.10.05\nEntry=Home\nLosses=250\n"
                        "Account=47,5\nDuration=360\nWeekDay=0\nAccID=2\n");
  dir().writeAccounts("[Olm:TK]\nAccount=50\n[Home]\nAccount=100\n");
  auto r = run();
  r->user.recoveryAnswers = {RecoveryAnswer::Book};
  r->journal.detectAtStart();
  ASSERT_EQ(r->host.closedOut.size(), 1u);
  EXPECT_EQ(r->host.closedOut[0].accountKind, 2);
  EXPECT_EQ(IniFile(dir().files().accounts()).readString("Olm:TK", "Account", ""), "47,5");
  EXPECT_EQ(account("Home"), "47,5");
}

TEST_F(JournalFixture, AnEntryNameThatIsNoPlainValueComesBackAsItWas) {
  // Trimmed, cut at a line break, or stored with '?' for what code page 1251 lacks, these
  // names would come back as another entry's name.
  for (const std::string name : {"Home ", "Dial\nUp", "Дом \xE2\x9C\x93"}) {
    freshDir();
    {
      auto r = run();
      r->host.figures = MeterFigures{name, 250, 97.5f, 360, 0};
      r->journal.writeLevelOne();
      r->journal.writeLevelTwo();
    }
    auto r = run();
    r->user.recoveryAnswers = {RecoveryAnswer::Book};
    ASSERT_TRUE(r->journal.detectAtStart()) << name;
    ASSERT_EQ(r->host.closedOut.size(), 1u) << name;
    EXPECT_EQ(r->host.closedOut[0].entry, name);
    EXPECT_EQ(r->host.closedOut[0].seconds, 360);
    EXPECT_EQ(logText().find(" Failed write"), std::string::npos) << name;
  }
}

TEST_F(JournalFixture, AnUnreadableJournalBooksNothing) {
  ProgramDir::writeText(dir().files().journalSeq(), "\x01garbage without keys");
  dir().writeAccounts("[Default]\nAccount=100\n");
  auto r = run();
  r->user.recoveryAnswers = {RecoveryAnswer::Book};
  r->journal.detectAtStart();
  EXPECT_TRUE(r->host.closedOut.empty());
  EXPECT_EQ(account("Default"), "100");
  EXPECT_EQ(count("Default"), 0);
  EXPECT_NE(logText().find(" Interrupted connection data unreadable: nothing booked.\r\n"),
            std::string::npos);
  EXPECT_EQ(r->host.quickLines, V{" = 00:00:00 + [user aborts connection] <Default>"});
  EXPECT_FALSE(anyJournal());
  EXPECT_EQ(r->host.resumed, 1);
}

TEST_F(JournalFixture, AnUnreadableLevelTwoJournalFallsBackToLevelOne) {
  ProgramDir::writeText(dir().files().journalSeq(), "[Olm:TK]\nTime=seq\nEntry=Home\n");
  ProgramDir::writeText(dir().files().journalPro(), kRunningJournal);
  dir().writeAccounts("[Home]\nAccount=100\n");
  auto r = run();
  r->user.recoveryAnswers = {RecoveryAnswer::Book};
  r->journal.detectAtStart();
  ASSERT_EQ(r->host.closedOut.size(), 1u);
  EXPECT_EQ(r->host.closedOut[0].seconds, 360);
  EXPECT_EQ(account("Home"), "97,5");
}

TEST_F(JournalFixture, CostThatIsNotANumberIsWorkedOutFromTheBalances) {
  ProgramDir::writeText(dir().files().journalSeq(),
                        "[Olm:TK]\nEntry=Home\nLosses=12abc\nAccount=97,5\nDuration=60\n");
  dir().writeAccounts("[Home]\nAccount=100\n");
  auto r = run();
  r->user.recoveryAnswers = {RecoveryAnswer::Book};
  r->journal.detectAtStart();
  ASSERT_EQ(r->host.closedOut.size(), 1u);
  EXPECT_FLOAT_EQ(r->host.closedOut[0].cost, 250);
  EXPECT_EQ(account("Home"), "97,5");
}

TEST_F(JournalFixture, ABalanceThatIsNotANumberIsNotBooked) {
  ProgramDir::writeText(dir().files().journalSeq(),
                        "[Olm:TK]\nEntry=Home\nLosses=x\nAccount=12abc\nDuration=60\n");
  dir().writeAccounts("[Home]\nAccount=100\n");
  auto r = run();
  r->user.recoveryAnswers = {RecoveryAnswer::Book};
  r->journal.detectAtStart();
  EXPECT_TRUE(r->host.closedOut.empty());
  EXPECT_EQ(account("Home"), "100");
}

// --- A kill at any moment: the connection counts once at most, and is lost at most for the
// last journal interval. -----------------------------------------------------------------

// A connection metered for a while, then closed the way the disconnect does it. `killAt` is
// the step at which the process dies; "" lets it finish.
void closeConnection(Session& r, VirtualClock& clock, const std::string& killAt) {
  r.host.figures = MeterFigures{"Home", 100, 99, 36, 0};
  r.startMetering();
  clock.advance(6000);  // journals written at 5 s (and 5.555 s)
  const MeterFigures final{"Home", 125, 98.75f, 45, 0};
  r.host.figures = final;
  r.journal.stopForDisconnect();
  r.host.killAt = killAt;
  if (killAt == "mark") throw Killed{};
  const std::string identity = r.journal.markClosing(final);
  r.host.bookAll(final.entry, final.accountKind, 1, final.seconds, final.cost, final.balance,
                 identity);
  if (r.journal.closeOutEnded(true)) r.journal.remove();
}

TEST_F(JournalFixture, KillDuringTheCloseOutNeverCountsTwice) {
  struct Case {
    std::string killAt;
    int count;       // connections booked after the restart
    double balance;  // balance after the restart
  };
  const std::vector<Case> cases = {
      {"mark", 1, 99},        // before anything: the journal of the 5 s tick is booked
      {"stats", 1, 98.75},    // marked, nothing booked: the whole booking is completed
      {"balance", 1, 98.75},  // statistics booked: the balance is repaired
      {"quick", 1, 98.75},    // both booked
      {"closed", 1, 98.75},   // booked and logged, journal not yet deleted
      {"", 1, 98.75},         // a normal end
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("killed at " + (c.killAt.empty() ? std::string("nothing") : c.killAt));
    freshDir();
    dir().writeAccounts("[Home]\nAccount=100\n");
    {
      auto r = run();
      try {
        closeConnection(*r, clock, c.killAt);
      } catch (const Killed&) {
      }
    }
    auto restart = run();
    restart->user.recoveryAnswers = {RecoveryAnswer::Book, RecoveryAnswer::Book};
    restart->journal.detectAtStart();
    EXPECT_EQ(count("Home"), c.count);
    ASSERT_TRUE(balance("Home"));
    EXPECT_NEAR(*balance("Home"), c.balance, 1e-6);
    EXPECT_FALSE(anyJournal());
    EXPECT_EQ(restart->host.resumed, c.killAt.empty() ? 0 : 1);
    // A third start finds nothing more to book.
    auto third = run();
    EXPECT_FALSE(third->journal.detectAtStart());
    EXPECT_EQ(count("Home"), c.count);
  }
}

TEST_F(JournalFixture, KillDuringTheRecoveryNeverCountsTwice) {
  for (const std::string killAt : {"stats", "balance", "quick", "closed", "resume"}) {
    SCOPED_TRACE("killed at " + killAt);
    freshDir();
    dir().writeAccounts("[Home]\nAccount=100\n");
    ProgramDir::writeText(dir().files().journalPro(), kRunningJournal);
    ProgramDir::writeText(dir().files().journalTmp(), kRunningJournal);
    {
      auto first = run();
      first->user.recoveryAnswers = {RecoveryAnswer::Book};
      first->host.killAt = killAt;
      try {
        first->journal.detectAtStart();
      } catch (const Killed&) {
      }
    }
    auto second = run();
    second->user.recoveryAnswers = {RecoveryAnswer::Book};
    second->journal.detectAtStart();
    // The question is not asked again: the booking had started. Statistics that it had not
    // reached yet are booked now, with the rest of the close-out.
    EXPECT_TRUE(second->user.questions.empty());
    EXPECT_EQ(second->host.closedOut.size(), killAt == "stats" ? 1u : 0u);
    EXPECT_EQ(count("Home"), 1);
    EXPECT_EQ(account("Home"), "97,5");
    EXPECT_FALSE(anyJournal());
    EXPECT_EQ(logText().find(" Interrupted connection was being booked: not counted again.\r\n") !=
                  std::string::npos,
              killAt != "resume" && killAt != "stats");
  }
}

TEST_F(JournalFixture, KillBeforeTheAnswerAsksAgain) {
  ProgramDir::writeText(dir().files().journalPro(), kRunningJournal);
  dir().writeAccounts("[Home]\nAccount=100\n");
  {
    auto first = run();
    first->user.recoveryAnswers = {RecoveryAnswer::RemindLater};
    first->journal.detectAtStart();
  }  // killed while the reminder is pending
  auto second = run();
  second->user.recoveryAnswers = {RecoveryAnswer::Book};
  second->journal.detectAtStart();
  EXPECT_EQ(second->user.recoveryAllowRemind, std::vector<bool>{true});
  EXPECT_EQ(count("Home"), 1);
  EXPECT_EQ(account("Home"), "97,5");
}

TEST_F(JournalFixture, KillBetweenTheDeletionsLeavesOnlyTheMarkedJournal) {
  // remove() deletes security.seq last; what a kill between the deletions leaves behind is
  // the marked security.seq with or without the others.
  for (bool keepPro : {true, false}) {
    freshDir();
    dir().writeAccounts("[Home]\nAccount=98,75\n");
    {
      auto r = run();
      r->host.figures = MeterFigures{"Home", 100, 99, 36, 0};
      r->startMetering();
      clock.advance(6000);
      r->journal.markClosing(MeterFigures{"Home", 125, 98.75f, 45, 0});
    }
    std::filesystem::remove(dir().files().journalTmp());
    if (!keepPro) std::filesystem::remove(dir().files().journalPro());
    auto restart = run();
    restart->user.recoveryAnswers = {RecoveryAnswer::Book};
    restart->journal.detectAtStart();
    EXPECT_TRUE(restart->user.questions.empty());
    EXPECT_EQ(count("Home"), 1);  // killed before the statistics: booked at the restart
    EXPECT_EQ(account("Home"), "98,75");
  }
}

TEST_F(JournalFixture, ExitMarkSuppressesTheQuestion) {
  ProgramDir::writeText(dir().files().journalPro(), kRunningJournal);
  {
    auto r = run();
    r->host.figures = MeterFigures{"Home", 100, 99, 36, 0};
    r->journal.markIgnored();
  }  // killed before the journal was deleted
  auto restart = run();
  restart->journal.detectAtStart();
  EXPECT_TRUE(restart->user.questions.empty());
  EXPECT_FALSE(anyJournal());
  EXPECT_EQ(count("Home"), 0);
  EXPECT_EQ(restart->host.resumed, 1);
}

TEST_F(JournalFixture, AKillDuringTheCompletionAtStartNeverCountsTwice) {
  // The close-out is killed at one step, the start that completes it at another; a third
  // start always ends with the connection counted once.
  for (const std::string first : {"stats", "balance", "quick", "closed"}) {
    for (const std::string second : {"stats", "balance", "quick", "closed", "resume", ""}) {
      SCOPED_TRACE("killed at " + first + ", then at " + second);
      freshDir();
      dir().writeAccounts("[Home]\nAccount=100\n");
      {
        auto r = run();
        try {
          closeConnection(*r, clock, first);
        } catch (const Killed&) {
        }
      }
      {
        auto r = run();
        r->host.killAt = second;
        try {
          r->journal.detectAtStart();
        } catch (const Killed&) {
        }
      }
      auto third = run();
      third->journal.detectAtStart();
      EXPECT_TRUE(third->user.questions.empty());
      EXPECT_EQ(count("Home"), 1);
      ASSERT_TRUE(balance("Home"));
      EXPECT_NEAR(*balance("Home"), 98.75, 1e-6);
      EXPECT_FALSE(anyJournal());
    }
  }
}

// A close-out that ran with the mark written and then failed.
void failClose(Session& r, VirtualClock& clock, const MeterFigures& final) {
  r.host.figures = MeterFigures{final.entry, 100, 99, 36, 0};
  r.startMetering();
  clock.advance(6000);
  r.journal.stopForDisconnect();
  EXPECT_NE(r.journal.markClosing(final), "");
  EXPECT_FALSE(r.journal.closeOutEnded(false));
}

TEST_F(JournalFixture, AKeptBookingIsCompletedOnceWritesWorkAgain) {
  dir().writeAccounts("[Home]\nAccount=100\n");
  auto r = run();
  failClose(*r, clock, MeterFigures{"Home", 125, 98.75f, 45, 0});
  r->host.failBooking = true;  // still failing: kept
  r->journal.completeKeptBooking();
  EXPECT_TRUE(r->journal.bookingKept());
  EXPECT_TRUE(std::filesystem::exists(dir().files().journalSeq()));
  EXPECT_EQ(r->host.resumed, 0);  // the poller runs already

  r->host.failBooking = false;
  r->journal.completeKeptBooking();
  EXPECT_FALSE(r->journal.bookingKept());
  EXPECT_FALSE(anyJournal());
  EXPECT_EQ(count("Home"), 1);
  EXPECT_EQ(account("Home"), "98,75");
  r->journal.completeKeptBooking();
  EXPECT_EQ(count("Home"), 1);

  // Protection is back for the next connection.
  r->host.figures = MeterFigures{"Home", 10, 98.65f, 6, 0};
  r->startMetering();
  clock.advance(6000);
  EXPECT_TRUE(std::filesystem::exists(dir().files().journalSeq()));
}

TEST_F(JournalFixture, AKeptBookingIsCompletedOnceAtTheNextStart) {
  dir().writeAccounts("[Home]\nAccount=100\n");
  {
    auto r = run();
    failClose(*r, clock, MeterFigures{"Home", 125, 98.75f, 45, 0});
  }
  {
    auto failing = run();
    failing->host.failBooking = true;
    failing->journal.detectAtStart();
    EXPECT_EQ(failing->host.resumed, 1);
    EXPECT_TRUE(failing->journal.bookingKept());
  }
  auto r = run();
  r->journal.detectAtStart();
  EXPECT_TRUE(r->user.questions.empty());
  EXPECT_EQ(count("Home"), 1);
  EXPECT_EQ(account("Home"), "98,75");
  EXPECT_FALSE(anyJournal());
  auto again = run();
  EXPECT_FALSE(again->journal.detectAtStart());
  EXPECT_EQ(count("Home"), 1);
}

}  // namespace
}  // namespace tarvik
