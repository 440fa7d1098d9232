#include "monitor/quick_log.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "config/codepage.h"
#include "support/program_dir.h"

namespace tarvik {
namespace {

using test::ProgramDir;

std::string readBytes(const std::filesystem::path& f) {
  std::ifstream in(f, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

const NumberFormat kPoint{'.'};

TEST(QuickLogTail, BookedConnectionMatchesTheExample) {
  // 30 s at 2500 hundredths per hour from a balance of 100.
  const float cost = static_cast<float>(2500 * 30) * (1.0f / 3600);
  const float balance = static_cast<float>(100.0L - static_cast<long double>(cost) * 0.01L);
  EXPECT_EQ(bookedQuickLogTail("$", 30, cost, balance, "Default", kPoint),
            " = 00:00:30 + [$ | ~0.2083 | =99.791 ] <Default>");
}

TEST(QuickLogTail, SignsAndPadding) {
  EXPECT_EQ(bookedQuickLogTail("руб", 60, 50, -1.2345f, "E", kPoint),
            " = 00:01:00 + [руб| ~0.5    | =-1.234 ] <E>");
  EXPECT_EQ(bookedQuickLogTail("$", 0, 123456.78f, 0, "E", NumberFormat{','}),
            " = 00:00:00 + [$ | ~1234,5 | =0      ] <E>");
}

TEST(QuickLogTail, NeverEstablishedAndAborted) {
  EXPECT_EQ(neverEstablishedQuickLogTail(12.5f, "Home", kPoint),
            " = 00:00:00 - [  | ~       | =12.5   ] <Home>");
  EXPECT_EQ(abortedQuickLogTail("Home"), " = 00:00:00 + [user aborts connection] <Home>");
}

TEST(QuickLogFile, HeaderLinesAndCodePage) {
  ProgramDir dir;
  QuickLog log(dir.path() / "Velk.TxT");
  ASSERT_TRUE(log.createIfMissing());
  ASSERT_TRUE(log.createIfMissing());  // a second start adds nothing
  ASSERT_TRUE(log.openLine(makeLocalTime(2026, 12, 6, 21, 10, 41)));
  ASSERT_TRUE(log.finishLine(abortedQuickLogTail("Дом")));
  EXPECT_EQ(readBytes(log.path()),
            utf8ToCp1251("Tarvik «4» quick connections log\r\n\r\n"
                         "06.12.2026 21:10:41 = 00:00:00 + [user aborts connection] <Дом>\r\n"));
}

TEST(QuickLogFile, LineLeftOpenIsEndedBeforeTheNextConnection) {
  ProgramDir dir;
  QuickLog log(dir.path() / "Velk.TxT");
  log.createIfMissing();
  log.openLine(makeLocalTime(2026, 12, 6, 21, 0, 0));  // its close-out failed
  log.openLine(makeLocalTime(2026, 12, 6, 22, 0, 0));
  log.finishLine(abortedQuickLogTail("E"));
  EXPECT_EQ(readBytes(log.path()),
            "Tarvik \xAB"
            "4\xBB quick connections log\r\n\r\n06.12.2026 21:00:00\r\n"
            "06.12.2026 22:00:00 = 00:00:00 + [user aborts connection] <E>\r\n");
}

TEST(QuickLogFile, UnwritableFileIsIgnored) {
  ProgramDir dir;
  QuickLog log(dir.path() / "missing-dir" / "Velk.TxT");
  EXPECT_FALSE(log.openLine(makeLocalTime(2026, 12, 6)));
  EXPECT_FALSE(log.finishLine(" x"));
}

}  // namespace
}  // namespace tarvik
