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

TEST_F(EventLogTest, PlainLineWithoutStampAddsExactlyOneLine) {
  log.append(" Log-file cleared.");
  EXPECT_EQ(bytes(), " Log-file cleared.\r\n");  // a new file gets no header from append
}

TEST_F(EventLogTest, StampedEntriesStartWithEmptyLineAndStamp) {
  log.append(" Restarting application...", true);
  log.append(" Application terminated (user request).", true);
  EXPECT_EQ(bytes(),
            "\r\n06.12.2026 21:05:09\r\n Restarting application...\r\n"
            "\r\n06.12.2026 21:05:09\r\n Application terminated (user request).\r\n");
}

TEST_F(EventLogTest, StampFollowsTheClock) {
  clock.advance(3'600'000 * 3);  // past midnight
  log.append(" Midnight reinitialize...", true);
  EXPECT_EQ(bytes(), "\r\n07.12.2026 00:05:09\r\n Midnight reinitialize...\r\n");
}

TEST_F(EventLogTest, MultiLineTextGetsCrLfOnEveryLine) {
  log.append(
      " Loading parameters...\n Failed. File not found.\n Default parameters will be loaded.");
  EXPECT_EQ(bytes(),
            " Loading parameters...\r\n Failed. File not found.\r\n"
            " Default parameters will be loaded.\r\n");
}

TEST_F(EventLogTest, LineEndsZeroOneTwo) {
  log.append(" first", false, 0);
  log.append(" continued", false, 1);
  log.append(" spaced", false, 2);
  log.append(" a\n b", false, 0);
  EXPECT_EQ(bytes(), " first continued\r\n spaced\r\n\r\n a\r\n b");
}

TEST_F(EventLogTest, TextIsWrittenInCodePage1251) {
  log.append(" Tariff in use: «Ночь», 12,5/h");
  EXPECT_EQ(bytes(), " Tariff in use: \xAB\xCD\xEE\xF7\xFC\xBB, 12,5/h\r\n");
}

TEST_F(EventLogTest, KeepsExistingContentAndRecreatesDeletedFileWithoutHeader) {
  test::writeBytes(log.path(),
                   "Tarvik \xAB"
                   "4\xBB detailed log\r\n");
  log.append(" StandBy.");
  EXPECT_EQ(bytes(),
            "Tarvik \xAB"
            "4\xBB detailed log\r\n StandBy.\r\n");
  std::filesystem::remove(log.path());
  log.append(" Hanging up...", true);
  EXPECT_EQ(bytes(), "\r\n06.12.2026 21:05:09\r\n Hanging up...\r\n");
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
