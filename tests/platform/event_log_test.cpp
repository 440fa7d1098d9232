#include "platform/event_log.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/time_text.h"
#include "platform/virtual_clock.h"
#include "support/temp_dir.h"

namespace tarvik {
namespace {

using test::readBytes;
using test::TempDir;

class EventLogTest : public ::testing::Test {
 protected:
  TempDir dir;
  VirtualClock clock{makeLocalTime(2026, 12, 6, 21, 5, 9)};
  EventLog log{dir.path() / "Tarvik.LOG", clock};
  std::string bytes() const { return readBytes(log.path()); }
};

TEST(TimeText, StampsAndDurations) {
  const LocalTime t = makeLocalTime(2026, 1, 6, 7, 5, 9);
  EXPECT_EQ(stampText(t), "06.01.2026 07:05:09");
  EXPECT_EQ(journalTimeText(t), "06.01.2026 07.05.09");
  EXPECT_EQ(stampText(makeLocalTime(2026, 12, 31, 23, 59, 59)), "31.12.2026 23:59:59");
  EXPECT_EQ(durationText(0), "00:00:00");
  EXPECT_EQ(durationText(59), "00:00:59");
  EXPECT_EQ(durationText(3661), "01:01:01");
  EXPECT_EQ(durationText(36000), "10:00:00");
  EXPECT_EQ(durationText(360000), "100:00:00");
  EXPECT_EQ(durationText(123 * 3600), "123:00:00");
  EXPECT_EQ(durationText(-61), "-00:01:01");
}

// One log file through every way of appending: each step adds exactly its bytes to what the
// file held.
TEST_F(EventLogTest, AppendsPlainStampedMultiLineAndOpenLinesInCodePage1251) {
  std::string expected = " Log-file cleared.\r\n";
  log.append(" Log-file cleared.");
  EXPECT_EQ(bytes(), expected) << "a new file gets no header from append";

  log.append(" Restarting application...", true);
  log.append(" Application terminated (user request).", true);
  expected +=
      "\r\n06.12.2026 21:05:09\r\n Restarting application...\r\n"
      "\r\n06.12.2026 21:05:09\r\n Application terminated (user request).\r\n";
  EXPECT_EQ(bytes(), expected) << "stamped entries start with an empty line and the stamp";

  clock.advance(3'600'000 * 3);  // past midnight
  log.append(" Midnight reinitialize...", true);
  expected += "\r\n07.12.2026 00:05:09\r\n Midnight reinitialize...\r\n";
  EXPECT_EQ(bytes(), expected) << "the stamp follows the clock";

  log.append(
      " Loading parameters...\n Failed. File not found.\n Default parameters will be loaded.");
  expected +=
      " Loading parameters...\r\n Failed. File not found.\r\n"
      " Default parameters will be loaded.\r\n";
  EXPECT_EQ(bytes(), expected) << "every line of a multi-line text ends in CR LF";

  log.append(" Tariff in use: «Ночь», 12,5/h");
  expected += " Tariff in use: \xAB\xCD\xEE\xF7\xFC\xBB, 12,5/h\r\n";
  EXPECT_EQ(bytes(), expected) << "code page 1251";

  log.append(" first", false, 0);
  log.append(" continued", false, 1);
  log.append(" spaced", false, 2);
  log.append(" a\n b", false, 0);
  expected += " first continued\r\n spaced\r\n\r\n a\r\n b";
  EXPECT_EQ(bytes(), expected) << "zero, one and two line ends";

  // Someone else's content is kept; a deleted file is made again without a header.
  test::writeBytes(log.path(),
                   "Tarvik \xAB"
                   "4\xBB detailed log\r\n");
  log.append(" StandBy.");
  EXPECT_EQ(bytes(),
            "Tarvik \xAB"
            "4\xBB detailed log\r\n StandBy.\r\n");
  std::filesystem::remove(log.path());
  log.append(" Hanging up...", true);
  EXPECT_EQ(bytes(), "\r\n07.12.2026 00:05:09\r\n Hanging up...\r\n");
}

TEST_F(EventLogTest, FailuresAreSwallowed) {
  // A log path inside a missing folder, and a log path that is a folder.
  EventLog missing(dir.path() / "no" / "such" / "Tarvik.LOG", clock);
  EXPECT_NO_THROW(missing.append(" lost", true));
  EXPECT_FALSE(std::filesystem::exists(missing.path()));

  std::filesystem::create_directory(dir.path() / "folder.LOG");
  EventLog folder(dir.path() / "folder.LOG", clock);
  EXPECT_NO_THROW(folder.append(" lost"));

  if (::geteuid() != 0) {  // root writes read-only files anyway
    test::writeBytes(log.path(), "x\r\n");
    std::filesystem::permissions(log.path(), std::filesystem::perms::owner_read);
    EXPECT_NO_THROW(log.append(" lost"));
    EXPECT_EQ(bytes(), "x\r\n");
  }
}

}  // namespace
}  // namespace tarvik
