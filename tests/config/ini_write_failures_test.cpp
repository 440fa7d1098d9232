// Writing an INI file when the file system or the file's bytes are in the way: the old file
// stays, no temporary file is left, the caller gets an error, and nothing crashes or hangs.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <set>
#include <string>

#include "config/ini_file.h"
#include "config/ini_write_fixture.h"

namespace tarvik {
namespace {

namespace fs = std::filesystem;
using test::readBytes;
using test::writeBytes;

TEST_F(IniWrite, ReadOnlyFileFailsEvenForTheSuperuser) {
  given("[S]\r\nK=1\r\n");
  fs::permissions(file(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  IniFile ini(file());
  EXPECT_THROW(ini.writeString("S", "K", "2"), IniWriteError);
  EXPECT_THROW(ini.deleteKey("S", "K"), IniWriteError);
  EXPECT_THROW(IniEdit(ini).writeString("S", "N", "1").commit(), IniWriteError);
  EXPECT_EQ(contents(), "[S]\r\nK=1\r\n");
  EXPECT_EQ(namesIn(dir_.path()), (std::set<std::string>{"TarvikC.Kfg"}));
  EXPECT_EQ(ini.readString("S", "K"), "1");
}

TEST_F(IniWrite, CanReplaceFileForeseesTheWriteFailures) {
  EXPECT_TRUE(canReplaceFile(file()));  // a new file in a writable folder
  given("[S]\r\nK=1\r\n");
  EXPECT_TRUE(canReplaceFile(file()));
  fs::permissions(file(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_FALSE(canReplaceFile(file()));
  EXPECT_THROW(IniFile(file()).writeString("S", "K", "2"), IniWriteError);
  EXPECT_FALSE(canReplaceFile(dir_ / "no" / "such" / "x.ini"));
  fs::create_directory(dir_ / "sub");
  EXPECT_FALSE(canReplaceFile(dir_ / "sub"));
  EXPECT_EQ(namesIn(dir_.path()), (std::set<std::string>{"TarvikC.Kfg", "sub"}));
}

TEST_F(IniWrite, KeepsTheFileModeAndFollowsSymbolicLinks) {
  given("[S]\r\nK=1\r\n");
  fs::permissions(file(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink(file(), dir_ / "link.ini");
  IniFile(dir_ / "link.ini").writeString("S", "K", "2");
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.ini"));
  EXPECT_EQ(contents(), "[S]\r\nK=2\r\n");
  EXPECT_EQ(fs::status(file()).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(IniWrite, MissingOrUnusableFolderFails) {
  IniFile inMissing(dir_ / "no" / "such" / "x.ini");
  EXPECT_EQ(inMissing.readString("S", "K", "d"), "d");
  EXPECT_THROW(inMissing.writeString("S", "K", "1"), IniWriteError);

  given("[S]\r\n");
  IniFile underFile(file() / "x.ini");  // the parent is a regular file
  EXPECT_EQ(underFile.readInt("S", "K", 4), 4);
  EXPECT_THROW(underFile.writeString("S", "K", "1"), IniWriteError);

  fs::create_directory(dir_ / "gone");
  IniFile inRemoved(dir_ / "gone" / "x.ini");
  inRemoved.writeString("S", "K", "1");
  fs::remove_all(dir_ / "gone");
  EXPECT_EQ(inRemoved.readString("S", "K", "d"), "d");
  EXPECT_THROW(inRemoved.writeString("S", "K", "2"), IniWriteError);
  EXPECT_EQ(namesIn(dir_.path()), (std::set<std::string>{"TarvikC.Kfg"}));
}

TEST_F(IniWrite, PathThatIsADirectoryReadsDefaultsAndFailsWrites) {
  fs::create_directory(file());
  IniFile ini(file());
  EXPECT_FALSE(ini.exists());
  EXPECT_EQ(ini.readString("S", "K", "d"), "d");
  EXPECT_FALSE(ini.hasSection("S"));
  EXPECT_THROW(ini.writeString("S", "K", "1"), IniWriteError);
  EXPECT_THROW(ini.deleteSection("S"), IniWriteError);
  EXPECT_TRUE(fs::is_directory(file()));
  EXPECT_EQ(namesIn(dir_.path()), (std::set<std::string>{"TarvikC.Kfg"}));
}

TEST_F(IniWrite, FullDiskLeavesTheOldFile) {
  std::string big = "[S]\r\nK=1\r\n";
  for (int i = 0; i < 3000; ++i) big += "Pad" + std::to_string(i) + "=xxxxxxxxxxxxxxxxxxxx\r\n";
  given(big);
  // The child may not grow any file beyond 1 KB, so writing the replacement fails the way
  // a full disk does.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{1024, 1024};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    try {
      IniFile(file()).writeString("S", "K", "2");
    } catch (const IniWriteError&) {
      ::_exit(0);
    }
    ::_exit(1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the write did not report the failure";
  EXPECT_EQ(contents(), big);
  EXPECT_EQ(namesIn(dir_.path()), (std::set<std::string>{"TarvikC.Kfg"}));
}

// ---- bad input never crashes or hangs

TEST_F(IniWrite, BadInputIsReadAndWrittenSafely) {
  std::string garbage;
  std::uint32_t seed = 12345;
  for (int i = 0; i < 200000; ++i) {
    seed = seed * 1103515245 + 12345;
    garbage += static_cast<char>(seed >> 24);
  }
  garbage += std::string("\0\0[S]\0\r\n\x98=\x98\r\n", 14);
  writeBytes(file(), garbage);
  IniFile ini(file());
  ini.sectionNames();
  ini.readString("S", "K");
  ini.writeString("Olm:TK", "Probe", "1");
  EXPECT_EQ(ini.readInt("Olm:TK", "Probe", 0), 1);
  const std::string after = readBytes(file());
  EXPECT_EQ(after.substr(0, garbage.size()), garbage) << "existing bytes must survive";

  std::string longLine = "[S]\r\nK=" + std::string(10 << 20, 'v') + "\r\nNext=1\r\n";
  writeBytes(file(), longLine);
  EXPECT_EQ(ini.readString("S", "K").size(), 1023u);
  EXPECT_EQ(ini.readInt("S", "Next", 0), 1);
  ini.writeString("S", "Next", "2");
  EXPECT_EQ(readBytes(file()).size(), longLine.size());

  const std::string fifo = (dir_ / "pipe.ini").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  IniFile pipe(fifo);
  EXPECT_EQ(pipe.readString("S", "K", "d"), "d");  // returns at once instead of blocking
  EXPECT_THROW(pipe.writeString("S", "K", "1"), IniWriteError);
}

}  // namespace
}  // namespace tarvik
