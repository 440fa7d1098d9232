// The queue file of kept bookings as the program finds it: read-only, or holding what no run
// of the program writes. No connection is lost and none is booked twice, through the real
// wiring on the virtual clock.
#include <gtest/gtest.h>

#include "app/kept_connections.h"
#include "app/program_fixture.h"

namespace tarvik {
namespace {

// Found from outside: security.que read-only with two kept bookings, two more connections,
// exit, restart with the files writable, one more. No connection is held only in memory
// across the exit: the queue moves aside whole into security.qu2, and the log says why.
TEST_F(Wiring, AReadOnlyQueueLosesNoConnectionAcrossAnExit) {
  dir.writeStatistics("[Default]\nCountTT=0\n");
  const std::filesystem::path que = dir.files().keptBookings();
  const std::filesystem::path aside = dir.files().keptBookingsAside();
  const auto summaries = [&] {
    const std::string log = logText();
    int n = 0;
    for (std::size_t at = log.find(" Time spent online: 00:00:19"); at != std::string::npos;
         at = log.find(" Time spent online: 00:00:19", at + 1))
      ++n;
    return n;
  };
  const auto connection = [&](int minute) {
    advanceTo(12, minute, 0);
    ras.dial("Home", kRasConnected);
    advanceTo(12, minute, 1);
    advanceTo(12, minute, 20);
    ras.drop();
    advanceTo(12, minute, 21);
  };
  {
    auto p = program();
    twoKeptBookings(*this, *p);
    setWritable(que, false);
    connection(2);
    connection(3);
    EXPECT_NE(logText().find(" Failed write security.que: the kept bookings are kept in "
                             "security.qu2.\r\n"),
              std::string::npos)
        << logText();
    EXPECT_EQ(p->guard->journal().keptBookings().list().size(), 4u);
    EXPECT_FALSE(anyJournal());
    p->guard->lifecycle().exitCommand();
  }
  EXPECT_EQ(count(), 0);
  setWritable(dir.files().statistics(), true);
  {
    auto next = program();
    EXPECT_EQ(count(), 4);
    EXPECT_EQ(summaries(), 4);
    EXPECT_FALSE(std::filesystem::exists(que));
    EXPECT_FALSE(std::filesystem::exists(aside));
    connection(4);
  }
  program();
  EXPECT_EQ(count(), 5);
  EXPECT_EQ(IniFile(dir.files().statistics()).readInt("Default", "TimeTT", 0), 5 * 19);
  EXPECT_EQ(summaries(), 5);
  EXPECT_NEAR(parseDecimal(balance()).value_or(0), 100 - 5 * 0.19, 1e-4);
}

// A queue no run of the program writes (a torn copy, a hand edit): a booking the statistics
// carry, a copy of a booking after a newer one, and bookings cut or edited inside their
// figures. Each identity is booked once, the newer balance stays, and no figure is made up:
// the incomplete ones are logged and set aside in security.bad for the user.
TEST_F(Wiring, AQueueFileBooksEachIdentityOnceAndNeverMakesUpAFigure) {
  dir.writeStatistics("[Olm:TK]\nBooked=4\n[Default]\nCountTT=1\nTimeTT=40\n");
  const auto kept = [](int id, const std::string& figures) {
    return "[Booking " + std::to_string(id) + "]\nTime=07.12.2026 11.00.00\nEntry=Default\n" +
           figures;
  };
  const auto whole = [&](int id, int seconds, const std::string& account) {
    return kept(id, "Losses=" + std::to_string(seconds) + "\nAccount=" + account +
                        "\nDuration=" + std::to_string(seconds) +
                        "\nWeekDay=1\nAccID=1\nBooking=started\nBookingId=" + std::to_string(id) +
                        "\nLineOpen=0\n");
  };
  ProgramDir::writeText(dir.files().keptBookings(),
                        whole(3, 40, "99,6") + whole(5, 10, "99,5") + whole(6, 20, "99,3") +
                            whole(5, 10, "99,5") +
                            kept(7, "Losses=30\nDuration=30\nWeekDay=1\nAccID=1\nLineOpen=0\n") +
                            whole(8, 30, "INF") + kept(9, "Losses=4"));
  auto p = program();
  const IniFile stats(dir.files().statistics());
  EXPECT_EQ(stats.readInt("Default", "CountTT", 0), 3);
  EXPECT_EQ(stats.readInt("Default", "TimeTT", 0), 40 + 10 + 20);
  EXPECT_EQ(balance(), "99,3");  // written from the single-precision balance
  const std::string log = logText();
  for (const char* line : {" Kept connection data incomplete ([Booking 7], no Account)",
                           " Kept connection data incomplete ([Booking 8], no Account)",
                           " Kept connection data incomplete ([Booking 9], no Account)"})
    EXPECT_NE(log.find(std::string(line) + ": not booked, set aside in security.bad.\r\n"),
              std::string::npos)
        << line << "\n"
        << log;
  const IniFile aside(dir.files().setAsideBookings());
  EXPECT_EQ(aside.sectionNames(), (V{"Booking 7", "Booking 8", "Booking 9"}));
  EXPECT_EQ(aside.readString("Booking 8", "Account"), "INF");
  EXPECT_EQ(aside.readString("Booking 9", "Losses"), "4");
  EXPECT_FALSE(std::filesystem::exists(dir.files().keptBookings()));

  p.reset();
  program();
  EXPECT_EQ(IniFile(dir.files().statistics()).readInt("Default", "CountTT", 0), 3);
  EXPECT_EQ(balance(), "99,3");  // written from the single-precision balance
}

}  // namespace
}  // namespace tarvik
