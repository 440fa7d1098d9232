#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "config/ini_file.h"
#include "config/write_step.h"
#include "support/temp_dir.h"

namespace tarvik {
namespace {

namespace fs = std::filesystem;
using test::readBytes;
using test::TempDir;
using test::writeBytes;

// What the first file held at each write step, seen from the hook.
fs::path watched;
std::vector<std::string> seenAtStep;
void noteStep() {
  seenAtStep.push_back(fs::exists(watched) ? readBytes(watched) : "-");
}

std::size_t filesIn(const fs::path& dir) {
  return static_cast<std::size_t>(
      std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

// Two files written at one go: both new texts are on disk before either is renamed, they are
// renamed in order, and a failure of either leaves both files as they were.
TEST(IniCommitTogether, BothTextsAreWrittenBeforeEitherIsRenamed) {
  TempDir dir;
  const fs::path first = dir / "security.pro", second = dir / "security.tmp";
  writeBytes(first, "[Olm:TK]\r\nTime=1\r\nOwn=kept\r\n");
  IniFile one(first), two(second);
  EXPECT_EQ(one.readString("Olm:TK", "Time"), "1");

  watched = first;
  setWriteStepHook(noteStep);
  IniEdit a(one), b(two);
  a.writeString("Olm:TK", "Time", "2");
  b.writeString("Olm:TK", "Time", "2");
  IniEdit::commitTogether(a, b);
  setWriteStepHook(nullptr);
  // Steps: the first temporary, the second, the first rename, the second rename.
  ASSERT_EQ(seenAtStep.size(), 4u);
  EXPECT_EQ(seenAtStep[2], "[Olm:TK]\r\nTime=1\r\nOwn=kept\r\n");
  EXPECT_EQ(seenAtStep[3], "[Olm:TK]\r\nTime=2\r\nOwn=kept\r\n");
  EXPECT_EQ(readBytes(second), "[Olm:TK]\r\nTime=2\r\n");
  EXPECT_EQ(one.readInt("Olm:TK", "Time", 0), 2);
  EXPECT_EQ(two.readInt("Olm:TK", "Time", 0), 2);
  EXPECT_EQ(filesIn(dir.path()), 2u);

  // The second file refuses the write: the first, though it could be written, stays too.
  ASSERT_EQ(::chmod(second.c_str(), 0444), 0);
  IniEdit c(one), d(two);
  c.writeString("Olm:TK", "Time", "3");
  d.writeString("Olm:TK", "Time", "3");
  EXPECT_THROW(IniEdit::commitTogether(c, d), IniWriteError);
  EXPECT_EQ(readBytes(first), "[Olm:TK]\r\nTime=2\r\nOwn=kept\r\n");
  EXPECT_EQ(one.readInt("Olm:TK", "Time", 0), 2);
  EXPECT_EQ(two.readInt("Olm:TK", "Time", 0), 2);
  EXPECT_EQ(filesIn(dir.path()), 2u);

  // An edit that changes nothing leaves its file alone while the other is written.
  ASSERT_EQ(::chmod(second.c_str(), 0644), 0);
  IniEdit e(one), f(two);
  e.writeString("Olm:TK", "Time", "2");
  f.writeString("Olm:TK", "Time", "4");
  IniEdit::commitTogether(e, f);
  EXPECT_EQ(readBytes(first), "[Olm:TK]\r\nTime=2\r\nOwn=kept\r\n");
  EXPECT_EQ(readBytes(second), "[Olm:TK]\r\nTime=4\r\n");
}

}  // namespace
}  // namespace tarvik
