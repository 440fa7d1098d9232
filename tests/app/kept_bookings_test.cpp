// Bookings that cannot be written when their connection ends: kept, written later exactly
// once each and in order, and shown as the balance they will leave, through the real wiring
// on the virtual clock.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/kept_connections.h"
#include "app/program_fixture.h"

namespace tarvik {
namespace {

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
  EXPECT_EQ(balance(), "99,81");
  EXPECT_FALSE(anyJournal());
  EXPECT_EQ(next->stateCode, "of");
  auto third = program();
  EXPECT_EQ(count(), 1);
  EXPECT_EQ(balance(), "99,81");
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
  EXPECT_EQ(balance(), "99,81");
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
  EXPECT_EQ(balance(), "99,81");
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
            "07.12.2026 12:00:01 = 00:00:07 + [$ | ~0,07   | =99,93  ] <Default>\r\n"
            "07.12.2026 12:01:01 = 00:00:03 + [$ | ~0,03   | =99,9   ] <Default>\r\n"
            "07.12.2026 12:02:01 = 00:00:05 + [$ | ~0,05   | =99,85  ] <Default>\r\n");
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

// A shared account while bookings wait: A and B cannot be written, then no queue file takes C,
// whose marked journal stands in, nor D, which waits in memory. Every figure of
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

  // Neither security.que nor security.qu2 can take C: its marked journal stands in.
  setWritable(que, false);
  std::filesystem::create_directory(dir.files().keptBookingsAside());
  connection("Home", 2, 5);  // C
  EXPECT_EQ(count(), 0);
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

  // Nothing can take D: it waits in memory, the user is told, and E is metered from what D
  // leaves.
  ras.drop();
  advanceTo(12, 3, 59);
  EXPECT_NEAR(shown(shared), 0.15 - 0.17, 1e-6);
  EXPECT_EQ(count(), 0);
  EXPECT_EQ(p->user.messages, V{kConnectionInMemoryText});

  // Writable again: every booking is written once, in order, before E's meter reads the
  // balance; what was shown for the waiting ones is what they store.
  setWritable(stats, true);
  setWritable(que, true);
  std::filesystem::remove(dir.files().keptBookingsAside());
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
            "07.12.2026 12:00:01 = 00:00:07 + [$ | ~0,07   | =0,23   ] <Default>\r\n"
            "07.12.2026 12:01:01 = 00:00:03 + [$ | ~0,03   | =0,2    ] <Work>\r\n"
            "07.12.2026 12:02:01 = 00:00:05 + [$ | ~0,05   | =0,15   ] <Default>\r\n"
            "07.12.2026 12:03:41 = 00:00:17 + [$ | ~0,17   | =-0,019 ] <Work>\r\n"
            "07.12.2026 12:04:01 = 00:00:02 + [$ | ~0,02   | =-0,039 ] <Default>\r\n");
  EXPECT_FALSE(std::filesystem::exists(que));
  EXPECT_FALSE(anyJournal());
}

}  // namespace
}  // namespace tarvik
