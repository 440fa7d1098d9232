#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <set>
#include <string>

#include "config/codepage.h"
#include "config/ini_file.h"
#include "config/ini_parse.h"
#include "support/temp_dir.h"

namespace tarvik {
namespace {

namespace fs = std::filesystem;
using test::readBytes;
using test::TempDir;
using test::writeBytes;

ino_t inodeOf(const fs::path& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

std::set<std::string> namesIn(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename());
  return names;
}

class IniWrite : public ::testing::Test {
 protected:
  fs::path file() const { return dir_ / "TarvikC.Kfg"; }
  void given(const std::string& utf8) { writeBytes(file(), utf8ToCp1251(utf8)); }
  std::string contents() const { return cp1251ToUtf8(readBytes(file())); }

  TempDir dir_;
};

TEST_F(IniWrite, NewFileIsSectionAndKeyWithCrLf) {
  IniFile ini(file());
  EXPECT_FALSE(ini.exists());
  ini.writeString("Section", "Key", "Value");
  EXPECT_EQ(readBytes(file()), "[Section]\r\nKey=Value\r\n");
  EXPECT_TRUE(ini.exists());
}

TEST_F(IniWrite, SequenceOfWritesGivesExactBytes) {
  IniFile ini(file());
  ini.writeString("Olm:TK", "X", "99");
  ini.writeInt("Olm:TK", "Y", 56);
  ini.writeString("Default", "Done", "1");
  ini.writeInt("olm:tk", "x", 120);  // case-insensitive: changes the existing key
  ini.writeString("Модем", "Имя", "Привет");
  ini.writeString("МОДЕМ", "ИМЯ", "Ёлка");
  ini.writeString("Default", "Name", "a=b");
  EXPECT_EQ(contents(),
            "[Olm:TK]\r\nX=120\r\nY=56\r\n[Default]\r\nDone=1\r\nName=a=b\r\n"
            "[Модем]\r\nИмя=Ёлка\r\n");
  EXPECT_EQ(ini.readString("модем", "имя"), "Ёлка");
}

TEST_F(IniWrite, ChangedKeyKeepsEveryOtherByte) {
  given("; settings\n[Main]\n  key = 1 \n\n;note\r[Other]\r\nx=y\n");
  IniFile(file()).writeString("MAIN", "KEY", "2");
  EXPECT_EQ(contents(), "; settings\n[Main]\n  key = 2\n\n;note\r[Other]\r\nx=y\n");
  IniFile(file()).writeString("other", "X", "");
  EXPECT_EQ(contents(), "; settings\n[Main]\n  key = 2\n\n;note\r[Other]\r\nx=\n");
  IniFile(file()).writeString("other", "X", "back");
  EXPECT_EQ(contents(), "; settings\n[Main]\n  key = 2\n\n;note\r[Other]\r\nx=back\n");
}

TEST_F(IniWrite, WriteThatChangesNothingDoesNotTouchTheFile) {
  given("[S]\r\nK = 5 \r\nQ=\"x\"\r\n");
  const std::string before = readBytes(file());
  const ino_t inode = inodeOf(file());
  IniFile ini(file());
  ini.writeString("s", "k", "5");
  ini.writeInt("S", "K", 5);
  ini.writeString("S", "Q", "\"x\"");
  ini.deleteKey("S", "Missing");
  ini.deleteSection("Missing");
  IniEdit(ini).writeString("S", "K", "5").commit();
  EXPECT_EQ(readBytes(file()), before);
  EXPECT_EQ(inodeOf(file()), inode) << "the file was replaced";
  ini.writeString("S", "K", "6");
  EXPECT_NE(inodeOf(file()), inode);
}

TEST_F(IniWrite, NewKeyGoesAfterTheLastNonBlankLineOfItsSection) {
  given("[A]\r\nx=1\r\n\r\n\r\n[B]\r\ny=2\r\n;end of B\r\n\r\n[C]\r\n\r\n");
  IniFile ini(file());
  ini.writeString("A", "z", "3");
  ini.writeString("B", "w", "4");
  ini.writeString("C", "v", "5");
  EXPECT_EQ(
      contents(),
      "[A]\r\nx=1\r\nz=3\r\n\r\n\r\n[B]\r\ny=2\r\n;end of B\r\nw=4\r\n\r\n[C]\r\nv=5\r\n\r\n");
}

TEST_F(IniWrite, MissingFinalLineEndIsCompletedBeforeAppending) {
  given("[A]\nx=1");
  IniFile(file()).writeString("A", "y", "2");
  EXPECT_EQ(contents(), "[A]\nx=1\r\ny=2\r\n");
  given("[A]\rx=1");
  IniFile(file()).writeString("B", "k", "v");
  EXPECT_EQ(contents(), "[A]\rx=1\r\n[B]\r\nk=v\r\n");
}

TEST_F(IniWrite, KeysBeforeTheFirstSection) {
  given("; head\r\ntop=1\r\n\r\n[S]\r\nk=v\r\n");
  IniFile ini(file());
  ini.writeString("", "more", "2");
  ini.writeString("", "top", "3");
  EXPECT_EQ(contents(), "; head\r\ntop=3\r\nmore=2\r\n\r\n[S]\r\nk=v\r\n");
  given("\r\n[S]\r\n");
  ini.writeString("", "first", "1");
  EXPECT_EQ(contents(), "first=1\r\n\r\n[S]\r\n");
}

TEST_F(IniWrite, DuplicatesFirstOneWinsForWritesAndDeletes) {
  given("[S]\r\nK=1\r\nK=2\r\n[s]\r\nK=3\r\nJ=4\r\n");
  IniFile ini(file());
  ini.writeString("S", "K", "9");
  EXPECT_EQ(contents(), "[S]\r\nK=9\r\nK=2\r\n[s]\r\nK=3\r\nJ=4\r\n");
  ini.writeString("S", "J", "5");  // J lives only in the ignored duplicate section
  EXPECT_EQ(contents(), "[S]\r\nK=9\r\nK=2\r\nJ=5\r\n[s]\r\nK=3\r\nJ=4\r\n");
  ini.deleteKey("S", "K");
  EXPECT_EQ(contents(), "[S]\r\nK=2\r\nJ=5\r\n[s]\r\nK=3\r\nJ=4\r\n");
  EXPECT_EQ(ini.readString("S", "K"), "2");
  ini.deleteSection("S");
  EXPECT_EQ(contents(), "[s]\r\nK=3\r\nJ=4\r\n");
  EXPECT_EQ(ini.readString("S", "K"), "3");
}

TEST_F(IniWrite, DeleteKeyAndSection) {
  given(";c\r\n[A]\r\na=1\r\nb=2\r\n\r\n[B]\r\nc=3\r\n[C]\r\nd=4");
  IniFile ini(file());
  ini.deleteKey("a", "A");
  EXPECT_EQ(contents(), ";c\r\n[A]\r\nb=2\r\n\r\n[B]\r\nc=3\r\n[C]\r\nd=4");
  ini.deleteSection("b");
  EXPECT_EQ(contents(), ";c\r\n[A]\r\nb=2\r\n\r\n[C]\r\nd=4");
  ini.deleteKey("C", "d");
  EXPECT_EQ(contents(), ";c\r\n[A]\r\nb=2\r\n\r\n[C]\r\n");
  ini.deleteSection("C");
  ini.deleteSection("A");
  EXPECT_EQ(contents(), ";c\r\n");
  EXPECT_FALSE(ini.hasSection("A"));

  IniFile missing(dir_ / "none.ini");
  missing.deleteKey("A", "a");
  missing.deleteSection("A");
  EXPECT_FALSE(missing.exists());
}

TEST_F(IniWrite, UnencodableCharactersAreStoredAsQuestionMarks) {
  IniFile ini(file());
  ini.writeString("S", "K", "a日€");
  EXPECT_EQ(readBytes(file()), "[S]\r\nK=a?\x88\r\n");
  EXPECT_EQ(ini.readString("S", "K"), "a?€");
}

TEST_F(IniWrite, LineBreaksAndBadKeyNamesAreRefusedWithoutTouchingTheFile) {
  given("[S]\r\nK=1\r\n");
  const std::string before = readBytes(file());
  IniFile ini(file());
  EXPECT_THROW(ini.writeString("S", "K", "a\r\n[Olm:TK]\r\nX=1"), IniWriteError);
  EXPECT_THROW(ini.writeString("S", "K", "a\rb"), IniWriteError);
  EXPECT_THROW(ini.writeString("S", "K\nX", "1"), IniWriteError);
  EXPECT_THROW(ini.writeString("S\n", "K", "1"), IniWriteError);
  EXPECT_THROW(ini.writeString("S", "a=b", "1"), IniWriteError);
  EXPECT_THROW(ini.writeString("S", ";K", "1"), IniWriteError);
  EXPECT_THROW(ini.writeString("S", "[K]", "1"), IniWriteError);
  EXPECT_THROW(ini.writeString("S", "  ", "1"), IniWriteError);
  IniEdit edit(ini);
  EXPECT_THROW(edit.writeString("S", "K", "x\ny"), IniWriteError);
  edit.commit();
  EXPECT_EQ(readBytes(file()), before);
  EXPECT_EQ(namesIn(dir_.path()), (std::set<std::string>{"TarvikC.Kfg"}));
}

TEST_F(IniWrite, EditIsOneReplacementAndReadsItsOwnChanges) {
  given("[S]\r\nA=1\r\nB=2\r\n[T]\r\nC=3\r\n");
  const ino_t inode = inodeOf(file());
  IniFile ini(file());
  {
    IniEdit edit(ini);
    edit.writeString("S", "A", "10").writeInt("S", "N", 7).deleteKey("S", "B").deleteSection("T");
    EXPECT_EQ(edit.readString("S", "A"), "10");
    EXPECT_EQ(edit.readInt("S", "N", 0), 7);
    EXPECT_EQ(edit.readString("S", "B", "gone"), "gone");
    EXPECT_EQ(edit.readInt("T", "C", -1), -1);
    EXPECT_EQ(ini.readString("S", "A"), "1") << "nothing reaches the disk before commit";
    EXPECT_EQ(inodeOf(file()), inode);
    edit.commit();
  }
  EXPECT_EQ(readBytes(file()), "[S]\r\nA=10\r\nN=7\r\n");
  {
    IniEdit discarded(ini);
    discarded.writeString("S", "A", "never");
  }
  EXPECT_EQ(ini.readString("S", "A"), "10");
}

TEST_F(IniWrite, AnotherProgramsEditIsSeenAtTheNextRead) {
  given("[S]\r\nK=1\r\n");
  IniFile ini(file());
  EXPECT_EQ(ini.readString("S", "K"), "1");
  struct stat before {};
  ::stat(file().c_str(), &before);
  // Same size, same inode, and the modification time put back: only the contents and
  // the change time differ.
  given("[S]\r\nK=2\r\n");
  const timespec times[2] = {before.st_atim, before.st_mtim};
  ASSERT_EQ(::utimensat(AT_FDCWD, file().c_str(), times, 0), 0);
  EXPECT_EQ(ini.readString("S", "K"), "2");
  fs::remove(file());
  EXPECT_EQ(ini.readString("S", "K", "default"), "default");
  given("[S]\r\nK=3\r\n");
  EXPECT_EQ(IniFile(file()).readInt("S", "K", 0), 3);
}

TEST_F(IniWrite, RepeatedReadsOfAnUnchangedFileDoNotParseAgain) {
  std::string text = "[S]\r\n";
  for (int i = 0; i < 1000; ++i)
    text += "Key" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
  given(text);
  IniFile ini(file());
  EXPECT_EQ(ini.readInt("S", "Key0", -1), 0);
  const std::size_t parsed = ini::parseCount();
  for (int i = 0; i < 200; ++i) EXPECT_EQ(ini.readInt("S", "Key" + std::to_string(i), -1), i);
  EXPECT_EQ(ini::parseCount(), parsed);
  // The writer's own text is cached too: parsed once for the reads that follow.
  const std::size_t beforeWrite = ini::parseCount();
  ini.writeInt("S", "Key5", 55);
  EXPECT_EQ(ini.readInt("S", "Key5", -1), 55);
  EXPECT_EQ(IniFile(file()).readInt("S", "Key6", -1), 6);
  EXPECT_EQ(ini::parseCount(), beforeWrite + 1);
}

TEST_F(IniWrite, StaleTemporaryFilesOfDeadWritersAreRemoved) {
  given("[S]\r\nK=1\r\n");
  const std::string dead = ".TarvikC.Kfg.999999999.3~";
  const std::string alive = ".TarvikC.Kfg." + std::to_string(::getppid()) + ".1~";
  writeBytes(dir_ / dead, "[S]\r\n");
  writeBytes(dir_ / alive, "[S]\r\n");
  writeBytes(dir_ / "security.tmp", "x");
  IniFile(file()).writeString("S", "K", "2");
  EXPECT_EQ(namesIn(dir_.path()), (std::set<std::string>{"TarvikC.Kfg", alive, "security.tmp"}));
}

// A batch (which changes known keys in place) must give exactly the bytes of the same
// changes applied one at a time, each to freshly parsed text.
TEST_F(IniWrite, BatchEqualsTheSameChangesOneByOne) {
  const std::string start = ";head\n[A]\n a = 1 \nb=\n\n[B]\r\nc=ccc\r\n[a]\r\na=dup\r\n[C]\rd=4";
  std::uint32_t seed = 7;
  const auto next = [&seed](std::uint32_t range) {
    seed = seed * 1664525 + 1013904223;
    return (seed >> 8) % range;
  };
  const char* sections[] = {"A", "b", "C", "D", ""};
  const char* keys[] = {"a", "B", "c", "d", "e"};
  for (int trial = 0; trial < 30; ++trial) {
    given(start);
    IniEdit edit{IniFile(file())};
    ini::Document oneByOne = ini::parse(utf8ToCp1251(start));
    for (int step = 0; step < 12; ++step) {
      const char* section = sections[next(5)];
      const char* key = keys[next(5)];
      const std::uint32_t kind = next(10);
      std::optional<std::string> bytes;
      if (kind < 7) {
        const std::string value(next(4), static_cast<char>('p' + next(3)));
        edit.writeString(section, key, value);
        bytes = ini::setValue(oneByOne, section, key, value);
      } else if (kind < 9) {
        edit.deleteKey(section, key);
        bytes = ini::removeKey(oneByOne, section, key);
      } else {
        edit.deleteSection(section);
        bytes = ini::removeSection(oneByOne, section);
      }
      if (bytes) oneByOne = ini::parse(std::move(*bytes));
      EXPECT_EQ(edit.readString(section, key, "-"),
                ini::value(oneByOne, section, key).value_or("-"));
    }
    edit.commit();
    ASSERT_EQ(readBytes(file()), oneByOne.bytes) << "trial " << trial;
  }
}

// ---- failures: the old file stays, no temporary file is left, the caller gets an error

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
