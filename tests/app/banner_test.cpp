#include "app/banner.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/virtual_clock.h"
#include "support/temp_dir.h"

namespace tarvik {
namespace {

using test::readBytes;

class BannerTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  ProgramFiles files{dir.path()};
  VirtualClock clock{makeLocalTime(2026, 12, 6, 21, 5, 9)};
  EventLog log{files.eventLog(), clock};
  std::string dirText() const { return dir.path().string() + "/"; }
};

TEST_F(BannerTest, FirstStartCreatesLogWithHeaderAndBanner) {
  EXPECT_FALSE(prepareEventLog(files));
  writeStartBanner(files, log, "", " System: Linux 6.1.0");
  EXPECT_EQ(readBytes(files.eventLog()),
            "Tarvik \xAB"
            "4\xBB detailed log\r\n"
            "\r\n06.12.2026 21:05:09\r\n"
            " Starting application...\r\n"
            " iD: TRK.2.4.0\r\n"
            " Arg: \r\n"
            " Path: " +
                dirText() +
                "\r\n"
                " System: Linux 6.1.0\r\n"
                " Initializing...\r\n");
}

TEST_F(BannerTest, ExistingLogGetsNoSecondHeaderAndReinitializeWritesOneLine) {
  test::writeBytes(files.eventLog(), "old\r\n");
  EXPECT_FALSE(prepareEventLog(files));
  writeStartBanner(files, log, "/reboot", " System: Linux x");
  EXPECT_FALSE(prepareEventLog(files));
  writeStartBanner(files, log, "/reinitialize", " System: Linux x");
  EXPECT_EQ(readBytes(files.eventLog()),
            "old\r\n\r\n06.12.2026 21:05:09\r\n Starting application...\r\n iD: TRK.2.4.0\r\n"
            " Arg: /reboot\r\n Path: " +
                dirText() +
                "\r\n System: Linux x\r\n Initializing...\r\n"
                "\r\n06.12.2026 21:05:09\r\n ReInitializing...\r\n");
}

TEST_F(BannerTest, UnwritableLogAsksForTheMessageUnlessNogoErrExists) {
  // A log path that is a folder can never be opened for writing, even by root.
  std::filesystem::create_directory(files.eventLog());
  EXPECT_TRUE(prepareEventLog(files));
  test::writeBytes(files.noGo(), "");
  EXPECT_FALSE(prepareEventLog(files));
}

TEST(BannerText, MessagesAndSystemLine) {
  EXPECT_EQ(kAlreadyRunningMessage, "Программа \"Tarvik\" уже запущена!");
  const std::string msg = writeProblemMessage();
  EXPECT_EQ(msg.rfind("Возникла проблема при попытке записать файл на диск.\n", 0), 0u);
  EXPECT_NE(msg.find("Журналы работы и соединений,  а также"), std::string::npos);
  EXPECT_NE(msg.find("Если ошибка повторится, свяжитесь с автором ("), std::string::npos);
  EXPECT_EQ(msg.back(), ')');
  const std::string sys = systemLine();
  EXPECT_EQ(sys.rfind(" System: Linux ", 0), 0u);
  EXPECT_GT(sys.size(), std::string(" System: Linux ").size());
}

TEST_F(BannerTest, RefusalAndExceptionLines) {
  logInstanceRefused(log);
  logTopLevelException(log, "0x1f", "bad_alloc");
  EXPECT_EQ(readBytes(files.eventLog()),
            " Failed. One instance allowed only.\r\n New instance will be terminated.\r\n"
            " Failed. System exception 0x1f.\r\n Error: bad_alloc.\r\n"
            " Application will be terminated.\r\n");
}

TEST(StartArguments, OnlyExactSwitchesCount) {
  EXPECT_EQ(classifyArgument("/auto"), StartKind::Auto);
  EXPECT_EQ(classifyArgument("/reinitialize"), StartKind::Reinitialize);
  EXPECT_EQ(classifyArgument("/reboot"), StartKind::Reboot);
  for (const char* other :
       {"", "/AUTO", "/Auto", "auto", "/auto ", " /auto", "/reboot2", "-reboot", "/reinit"}) {
    EXPECT_EQ(classifyArgument(other), StartKind::Ordinary) << other;
  }
  EXPECT_FALSE(skipsInstanceCheck(StartKind::Ordinary));
  EXPECT_TRUE(skipsInstanceCheck(StartKind::Auto));
  EXPECT_TRUE(skipsInstanceCheck(StartKind::Reinitialize));
  EXPECT_TRUE(skipsInstanceCheck(StartKind::Reboot));
}

}  // namespace
}  // namespace tarvik
