#include "app/escaped_exception.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "platform/event_log.h"
#include "platform/virtual_clock.h"
#include "support/temp_dir.h"

namespace tarvik {
namespace {

// An exception thrown on a thread of its own never reaches the event loop's handler: the
// program aborts, and the log must still say why.
TEST(EscapedExceptionDeathTest, AnExceptionEndingTheProgramFromAnotherThreadIsLogged) {
  // Forked, not run again from the start: the log must be the one in this temporary folder.
  GTEST_FLAG_SET(death_test_style, "fast");
  test::TempDir dir;
  VirtualClock clock{makeLocalTime(2026, 12, 8, 9, 0, 0)};
  EventLog log(dir / "Tarvik.LOG", clock);
  EXPECT_DEATH(
      {
        const TerminationLogging logging(log);
        std::thread([] { throw std::runtime_error("pid file vanished"); }).join();
      },
      "");
  const std::string text = test::readBytes(dir / "Tarvik.LOG");
  EXPECT_EQ(text.find(" Failed. System exception 0x"), 0u) << text;
  EXPECT_NE(text.find(" Error: pid file vanished.\r\n Application will be terminated.\r\n"),
            std::string::npos)
      << text;

  // Once the logging object is gone, an abort leaves nothing behind.
  { const TerminationLogging logging(log); }
  EXPECT_DEATH(std::thread([] { throw std::runtime_error("later"); }).join(), "");
  EXPECT_EQ(test::readBytes(dir / "Tarvik.LOG"), text);
}

}  // namespace
}  // namespace tarvik
