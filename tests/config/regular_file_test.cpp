#include "config/regular_file.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "config/ini_file.h"
#include "monitor/quick_log.h"
#include "platform/event_log.h"
#include "platform/virtual_clock.h"
#include "status/skin_draft.h"
#include "status/skin_writer.h"
#include "support/fifo_guard.h"
#include "support/temp_dir.h"

namespace tarvik {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

// A FIFO, a device or a directory where a file is read is refused at once, and none of the
// program's readers and appenders waits on one.
TEST(RegularFile, EveryReaderRefusesWhatIsNoRegularFileWithoutWaiting) {
  TempDir dir;
  test::FifoGuard fifos;
  const fs::path fifo = fifos.make(dir / "fifo");
  fs::create_symlink("/dev/zero", dir / "zero");
  test::writeBytes(dir / "big", std::string(100, 'x'));
  test::writeBytes(dir / "plain", "[a]\r\nb=1\r\n");

  EXPECT_EQ(readRegularFile(fifo).error, EISDIR);
  EXPECT_EQ(readRegularFile(dir / "zero").error, EISDIR);
  EXPECT_EQ(readRegularFile(dir.path()).error, EISDIR);
  EXPECT_EQ(readRegularFile(dir / "missing").error, ENOENT);
  EXPECT_EQ(readRegularFile(dir / "big", 99).error, EFBIG);
  EXPECT_EQ(readRegularFile(dir / "big", 100).bytes.size(), 100u);
  EXPECT_EQ(readRegularFile(dir / "plain").bytes, "[a]\r\nb=1\r\n");
  // Files whose size the system does not know are read to their end.
  const FileRead proc = readRegularFile("/proc/self/status");
  EXPECT_EQ(proc.error, 0);
  EXPECT_NE(proc.bytes.find("Name:"), std::string::npos);
  EXPECT_FALSE(isRegularFile(fifo));
  EXPECT_TRUE(isRegularFile(dir / "plain"));

  EXPECT_EQ(IniFile(fifo).readInt("a", "b", 7), 7);
  EXPECT_THROW(IniFile(fifo).writeInt("a", "b", 1), IniWriteError);

  QuickLog quickLog(fifo);
  EXPECT_FALSE(quickLog.openLine(makeLocalTime(2026, 12, 8, 10, 0, 0)));
  EXPECT_FALSE(quickLog.finishLine("tail"));
  VirtualClock clock{makeLocalTime(2026, 12, 8, 10, 0, 0)};
  EventLog(fifo, clock).append(" StandBy.", true);

  const SkinDraft draft(dir / "new_skin.tmp");
  EXPECT_THROW(draft.copyFrom(fifo), IniWriteError);
  EXPECT_FALSE(saveSkinDraft(SkinDraft(fifo), dir / "skin.qsf", false, std::nullopt).ok());

  EXPECT_FALSE(fifos.blocked()) << "a reader or writer waited on a FIFO";
}

}  // namespace
}  // namespace tarvik
