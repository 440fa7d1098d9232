#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

#include "config/codepage.h"
#include "config/ini_file.h"
#include "config/ini_parse.h"
#include "config/ini_write_fixture.h"

namespace tarvik {
namespace {

namespace fs = std::filesystem;
using test::readBytes;
using test::writeBytes;

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

}  // namespace
}  // namespace tarvik
