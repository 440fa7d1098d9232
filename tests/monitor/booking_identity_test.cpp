// Statistics booked under an identity: once per identity, in one replacement of the file.
#include "monitor/booking_identity.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "config/ini_file.h"
#include "platform/event_log.h"
#include "platform/virtual_clock.h"
#include "stats/statistics.h"
#include "support/program_dir.h"

namespace tarvik {
namespace {

using test::ProgramDir;

// Comments, odd spacing and keys of other entries, which a booking must carry over as they are.
const char* const kStatistics =
    "; hand-written note\n[Home]\nCountTT = 4\nTimeTT=100\nMoneyTT=250\n\n[Work]\nCountTT=9\n";

struct BookingIdentity : ::testing::Test {
  ProgramDir dir;
  VirtualClock clock{makeLocalTime(2026, 12, 7, 12, 0, 0)};
  EventLog log{dir.files().eventLog(), clock};

  bool book(const std::string& identity) {
    return bookStatisticsOnce(dir.files(), NumberFormat{','}, log, identity, "Home", 1, 45, 125);
  }
  int count(const std::string& entry) const {
    return IniFile(dir.files().statistics()).readInt(entry, "CountTT", 0);
  }
  std::string text() const { return ProgramDir::readText(dir.files().statistics()); }
};

TEST_F(BookingIdentity, BooksOncePerIdentity) {
  dir.writeStatistics(kStatistics);
  EXPECT_EQ(nextBookingIdentity(dir.files()), "1");
  EXPECT_TRUE(book("1"));
  EXPECT_FALSE(book("1"));
  EXPECT_EQ(count("Home"), 5);
  EXPECT_EQ(lastBookedIdentity(dir.files()), "1");
  EXPECT_EQ(nextBookingIdentity(dir.files()), "2");
  EXPECT_TRUE(book("2"));
  EXPECT_EQ(count("Home"), 6);
  EXPECT_EQ(count("Work"), 9);
}

TEST_F(BookingIdentity, TheFileIsWhatAPlainBookingWritesPlusTheIdentity) {
  ProgramDir plain;
  plain.writeStatistics(kStatistics);
  Statistics(plain.files(), NumberFormat{','}, log).bookConnection("Home", 1, 45, 125);
  dir.writeStatistics(kStatistics);
  ASSERT_TRUE(book("7"));
  EXPECT_EQ(text(), ProgramDir::readText(plain.files().statistics()) + "[Olm:TK]\r\nBooked=7\r\n");
}

TEST_F(BookingIdentity, AReadOnlyFileIsRefusedAndLeftAsItWas) {
  dir.writeStatistics(kStatistics);
  const std::string before = text();
  ::chmod(dir.files().statistics().c_str(), 0444);
  EXPECT_THROW(book("1"), IniWriteError);
  EXPECT_EQ(text(), before);
}

TEST_F(BookingIdentity, ALinkedFileStaysLinked) {
  ProgramDir elsewhere;
  elsewhere.writeStatistics(kStatistics);
  std::filesystem::create_symlink(elsewhere.files().statistics(), dir.files().statistics());
  ASSERT_TRUE(book("1"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.files().statistics()));
  EXPECT_EQ(IniFile(elsewhere.files().statistics()).readInt("Home", "CountTT", 0), 5);
}

TEST_F(BookingIdentity, AnIdentityThatIsNotANumberStartsAgainAtOne) {
  dir.writeStatistics("[Olm:TK]\nBooked=x\n");
  EXPECT_EQ(nextBookingIdentity(dir.files()), "1");
}

}  // namespace
}  // namespace tarvik
