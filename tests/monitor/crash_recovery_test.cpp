// What a start-up does with a journal a crash left behind.
#include <gtest/gtest.h>

#include "monitor/journal_fixture.h"
#include "monitor/pending_bookings.h"

namespace tarvik {
namespace {

using test::JournalFixture;
using test::Killed;
using test::kRunningJournal;
using test::ProgramDir;
using test::Session;
using V = std::vector<std::string>;

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
  const ConnectionFigures& c = r->host.closedOut[0].figures;
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
  EXPECT_FLOAT_EQ(r->host.closedOut[0].figures.balance, 97.5f);
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
  EXPECT_EQ(r->host.closedOut[0].figures.accountKind, 2);
  EXPECT_EQ(IniFile(dir().files().accounts()).readString("Olm:TK", "Account", ""), "47,5");
  EXPECT_EQ(account("Home"), "47,5");
}

TEST_F(JournalFixture, AnEntryNameThatIsNoPlainValueComesBackAsItWas) {
  // Trimmed, cut at a line break, or stored with '?' for what code page 1251 lacks, these
  // names would come back as another entry's name. A long one of the last kind outgrows what
  // one value reads back (1023 characters) in its hexadecimal copy.
  std::string longName;
  for (int i = 0; i < 120; ++i) longName += "Сеть \xE2\x9C\x93 ";
  for (const std::string& name :
       {std::string("Home "), std::string("Dial\nUp"), std::string("Дом \xE2\x9C\x93"), longName}) {
    freshDir();
    {
      auto r = run();
      r->host.figures = ConnectionFigures{name, 250, 97.5f, 360, 0, {}};
      r->journal.writeLevelOne();
      r->journal.writeLevelTwo();
    }
    auto r = run();
    r->user.recoveryAnswers = {RecoveryAnswer::Book};
    ASSERT_TRUE(r->journal.detectAtStart()) << name;
    ASSERT_EQ(r->host.closedOut.size(), 1u) << name;
    EXPECT_EQ(r->host.closedOut[0].figures.entry, name);
    EXPECT_EQ(r->host.closedOut[0].figures.seconds, 360);
    EXPECT_EQ(logText().find(" Failed write"), std::string::npos) << name;
    // A kept booking stores the name the same way.
    KeptBookings kept(dir().files(), NumberFormat{','});
    kept.append(KeptBooking{
        JournalRecord{"", ConnectionFigures{name, 1, 2, 3, 0, {}, 1}, BookingMark::Started, "7"}});
    ASSERT_EQ(kept.list().size(), 1u);
    EXPECT_EQ(kept.list()[0].record.figures.entry, name);
  }
  // A journal written before long names were stored in pieces still reads back.
  freshDir();
  ProgramDir::writeText(dir().files().journalSeq(),
                        "[Olm:TK]\nEntry=Home?\nEntryCode=486F6D65E29C93\nLosses=1\nAccount=2\n");
  auto r = run();
  r->user.recoveryAnswers = {RecoveryAnswer::Book};
  r->journal.detectAtStart();
  ASSERT_EQ(r->host.closedOut.size(), 1u);
  EXPECT_EQ(r->host.closedOut[0].figures.entry, "Home\xE2\x9C\x93");
}

// Killed 15.5 s into a connection: security.pro and security.tmp were written at 15 s,
// security.seq last at 11.1 s. The fresher figures are booked, unless the fresher level
// belongs to another connection.
TEST_F(JournalFixture, TheFreshestLevelOfTheConnectionIsBooked) {
  for (const bool otherConnection : {false, true}) {
    SCOPED_TRACE(otherConnection ? "a level of another connection" : "one connection");
    freshDir();
    dir().writeAccounts("[Home]\nAccount=100\n[Work]\nAccount=100\n");
    {
      auto r = run();
      r->host.figures = ConnectionFigures{"Home", 11, 99.89f, 11, 0, {}};
      r->journal.writeLevelTwo();
      clock.advance(3890);
      r->host.figures = ConnectionFigures{"Home", 15, 99.85f, 15, 0, {}};
      r->journal.writeLevelOne();
    }
    if (otherConnection) {
      for (const auto& level : {dir().files().journalPro(), dir().files().journalTmp()})
        ProgramDir::writeText(level,
                              "[Olm:TK]\nTime=07.12.2026 12.00.30\nEntry=Work\nLosses=99\n"
                              "Account=99\nDuration=99\nWeekDay=1\nAccID=0\n");
    }
    auto r = run();
    r->user.recoveryAnswers = {RecoveryAnswer::Book};
    r->journal.detectAtStart();
    ASSERT_EQ(r->host.closedOut.size(), 1u);
    EXPECT_EQ(r->host.closedOut[0].figures.entry, "Home");
    EXPECT_EQ(r->host.closedOut[0].figures.seconds, otherConnection ? 11 : 15);
    EXPECT_EQ(count("Home"), 1);
    EXPECT_EQ(count("Work"), 0);
    EXPECT_NEAR(*balance("Home"), otherConnection ? 99.89 : 99.85, 1e-5);
  }
}

// A figure no booking could hold (it would be written as INF and stop every later booking of
// the key) makes its level unreadable; a sound level stands in, or nothing is booked.
TEST_F(JournalFixture, AFigureNoBookingCouldHoldMakesItsLevelUnreadable) {
  const std::string sound =
      "[Olm:TK]\nTime=07.12.2026 12.00.05\nEntry=Home\nLosses=5\nAccount=99,95\n"
      "Duration=5\nWeekDay=1\nAccID=0\n";
  for (const std::string absurd :
       {"Losses=1e39", "Account=-1e39", "Account=3.5e38", "Duration=-5", "Duration=99999999999"}) {
    for (const bool fallback : {true, false}) {
      SCOPED_TRACE(absurd + (fallback ? " with a sound level" : " alone"));
      freshDir();
      dir().writeAccounts("[Home]\nAccount=100\n");
      std::string bad = sound;
      const std::string key = absurd.substr(0, absurd.find('=') + 1);
      const std::size_t at = bad.find(key);
      bad.replace(at, bad.find('\n', at) - at, absurd);
      ProgramDir::writeText(dir().files().journalSeq(), bad);
      if (fallback) ProgramDir::writeText(dir().files().journalPro(), sound);
      auto r = run();
      r->user.recoveryAnswers = {RecoveryAnswer::Book};
      r->journal.detectAtStart();
      EXPECT_EQ(count("Home"), fallback ? 1 : 0);
      EXPECT_NEAR(*balance("Home"), fallback ? 99.95 : 100, 1e-5);
      const std::string money = IniFile(dir().files().statistics()).readString("Home", "MoneyTT");
      EXPECT_EQ(money, fallback ? "5" : "");
      EXPECT_FALSE(anyJournal());
    }
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
  EXPECT_EQ(r->host.closedOut[0].figures.seconds, 360);
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
  EXPECT_FLOAT_EQ(r->host.closedOut[0].figures.cost, 250);
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
      r->host.figures = ConnectionFigures{"Home", 100, 99, 36, 0, {}};
      r->startMetering();
      clock.advance(6000);
      r->journal.markClosing(ConnectionFigures{"Home", 125, 98.75f, 45, 0, {}});
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
    r->host.figures = ConnectionFigures{"Home", 100, 99, 36, 0, {}};
    r->journal.markIgnored();
  }  // killed before the journal was deleted
  auto restart = run();
  restart->journal.detectAtStart();
  EXPECT_TRUE(restart->user.questions.empty());
  EXPECT_FALSE(anyJournal());
  EXPECT_EQ(count("Home"), 0);
  EXPECT_EQ(restart->host.resumed, 1);
}

}  // namespace
}  // namespace tarvik
