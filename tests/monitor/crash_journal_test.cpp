// Writing the journal while a connection is metered, and keeping its booking when the close-out
// fails or is cut short.
#include <gtest/gtest.h>

#include "monitor/journal_fixture.h"

namespace tarvik {
namespace {

using test::JournalFixture;
using test::Killed;
using test::kRunningJournal;
using test::ProgramDir;
using test::Session;
using V = std::vector<std::string>;

TEST_F(JournalFixture, WrittenEveryFiveSecondsAndLevelTwoEveryFivePointFive) {
  auto r = run();
  r->host.figures = ConnectionFigures{"Home", 20.833334f, 99.5f, 5, 0, {}};
  r->startMetering();
  clock.advance(4999);
  EXPECT_FALSE(anyJournal());  // a crash in the first 5 s leaves nothing
  clock.advance(1);
  const std::string expected =
      "[Olm:TK]\r\nTime=07.12.2026 12.00.05\r\nEntry=Home\r\nLosses=20,83333\r\n"
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

// --- A kill at any moment: the connection counts once at most, and is lost at most for the
// last journal interval. -----------------------------------------------------------------

// A connection metered for a while, then closed the way the disconnect does it. `killAt` is
// the step at which the process dies; "" lets it finish.
void closeConnection(Session& r, VirtualClock& clock, const std::string& killAt) {
  r.host.figures = ConnectionFigures{"Home", 100, 99, 36, 0, {}};
  r.startMetering();
  clock.advance(6000);  // journals written at 5 s (and 5.555 s)
  const ConnectionFigures final{"Home", 125, 98.75f, 45, 0, {}, 1};
  r.host.figures = final;
  r.journal.stopForDisconnect();
  r.host.killAt = killAt;
  if (killAt == "mark") throw Killed{};
  const std::string identity = r.journal.markClosing(final);
  CloseOutFigures booking;
  booking.figures = final;
  booking.identity = identity;
  r.host.bookAll(booking);
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

// A close-out that ran with the mark written and then failed: the booking is kept and the
// journal deleted, as the disconnect does.
void failClose(Session& r, VirtualClock& clock, const ConnectionFigures& final) {
  r.host.figures = ConnectionFigures{final.entry, 100, 99, 36, 0, {}};
  r.startMetering();
  clock.advance(6000);
  r.journal.stopForDisconnect();
  EXPECT_NE(r.journal.markClosing(final), "");
  EXPECT_TRUE(r.journal.closeOutEnded(false));
  r.journal.remove();
}

TEST_F(JournalFixture, AKeptBookingIsCompletedOnceWritesWorkAgain) {
  dir().writeAccounts("[Home]\nAccount=100\n");
  auto r = run();
  failClose(*r, clock, ConnectionFigures{"Home", 125, 98.75f, 45, 0, {}});
  EXPECT_FALSE(anyJournal());
  r->host.failBooking = true;  // still failing: kept, quietly
  r->journal.completeKeptBooking();
  EXPECT_TRUE(r->journal.bookingKept());
  EXPECT_EQ(logText().find("booking completed"), std::string::npos);
  EXPECT_EQ(r->host.resumed, 0);  // the poller runs already

  // The next connection starts from the balance the kept booking will leave, and the kept
  // connection's open quick-log line gets its tail before the new one opens.
  r->journal.connectionStarting();
  EXPECT_EQ(r->host.quickLines, V{"booked <Home>"});
  EXPECT_EQ(r->journal.keptBookings().pendingBalance(accountKey("Home", 0)), 98.75f);

  r->host.failBooking = false;
  r->journal.completeKeptBooking();
  EXPECT_FALSE(r->journal.bookingKept());
  EXPECT_FALSE(std::filesystem::exists(dir().files().keptBookings()));
  EXPECT_EQ(count("Home"), 1);
  EXPECT_EQ(account("Home"), "98,75");
  EXPECT_EQ(r->host.quickLines, V{"booked <Home>"});  // no second tail
  r->journal.completeKeptBooking();
  EXPECT_EQ(count("Home"), 1);
}

TEST_F(JournalFixture, AKeptBookingIsCompletedOnceAtTheNextStart) {
  dir().writeAccounts("[Home]\nAccount=100\n");
  {
    auto r = run();
    failClose(*r, clock, ConnectionFigures{"Home", 125, 98.75f, 45, 0, {}});
  }
  {
    auto failing = run();
    failing->host.failBooking = true;
    EXPECT_FALSE(failing->journal.detectAtStart());  // no crash: nothing to ask
    EXPECT_TRUE(failing->journal.bookingKept());
  }
  auto r = run();
  r->journal.detectAtStart();
  EXPECT_TRUE(r->user.questions.empty());
  EXPECT_EQ(count("Home"), 1);
  EXPECT_EQ(account("Home"), "98,75");
  EXPECT_EQ(r->host.quickLines, V{"booked <Home>"});  // its line was still open
  EXPECT_FALSE(anyJournal());
  auto again = run();
  EXPECT_FALSE(again->journal.detectAtStart());
  EXPECT_EQ(count("Home"), 1);
}

// A kill between keeping the failed booking and deleting its marked journal: the start finds
// both and books the connection once.
TEST_F(JournalFixture, AKeptBookingWithItsMarkedJournalStillThereCountsOnce) {
  dir().writeAccounts("[Home]\nAccount=100\n");
  {
    auto r = run();
    r->host.figures = ConnectionFigures{"Home", 100, 99, 36, 0, {}};
    r->startMetering();
    clock.advance(6000);
    r->journal.stopForDisconnect();
    r->journal.markClosing(ConnectionFigures{"Home", 125, 98.75f, 45, 0, {}});
    r->journal.closeOutEnded(false);
  }  // killed before the journal files went
  EXPECT_TRUE(anyJournal());
  auto r = run();
  r->journal.detectAtStart();
  EXPECT_TRUE(r->user.questions.empty());
  EXPECT_EQ(count("Home"), 1);
  EXPECT_EQ(account("Home"), "98,75");
  EXPECT_FALSE(anyJournal());
  EXPECT_FALSE(r->journal.bookingKept());
}

TEST_F(JournalFixture, VolumeTravelsThroughTheJournalAndKeptBookings) {
  dir().writeAccounts("[Home]\nAccount=100\n");
  const TrafficBytes volume{123'456'789'012, 55};
  {
    auto r = run();
    r->host.figures = ConnectionFigures{"Home", 100, 99, 36, 0, volume};
    r->startMetering();
    clock.advance(5555);
    EXPECT_NE(ProgramDir::readText(dir().files().journalSeq())
                  .find("AccID=0\r\nReceived=123456789012\r\nSent=55\r\n"),
              std::string::npos);
  }  // killed while online
  auto r = run();
  r->host.failBooking = true;
  r->user.recoveryAnswers = {RecoveryAnswer::Book};
  ASSERT_TRUE(r->journal.detectAtStart());
  ASSERT_EQ(r->host.closedOut.size(), 1u);
  EXPECT_EQ(r->host.closedOut[0].figures.volume, volume);
  // The failed booking waits in security.que and keeps its volume for the next attempt.
  r->host.failBooking = false;
  r->journal.completeKeptBooking();
  ASSERT_EQ(r->host.closedOut.size(), 2u);
  EXPECT_EQ(r->host.closedOut[1].figures.volume, volume);
}

}  // namespace
}  // namespace tarvik
