#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "config/codepage.h"
#include "config/ini_edited.h"
#include "config/ini_file.h"
#include "config/ini_parse.h"
#include "support/temp_dir.h"

namespace tarvik {
namespace {

namespace fs = std::filesystem;
using test::readBytes;
using test::TempDir;
using test::writeBytes;

// Several megabytes of sections, a comment on top and a last line without a line end.
std::string hugeText() {
  std::string text = ";head\n";
  for (int section = 0; text.size() < (std::size_t{9} << 19); ++section) {
    text += "[E " + std::to_string(section) + "]\r\n";
    for (int key = 0; key < 30; ++key) {
      text += "K" + std::to_string(key) + " = " + std::to_string(section + key) + "\r\n";
    }
  }
  return text + "Last=1";
}

// A huge file is written straight from the pieces of its old text and the change, and read
// again afterwards: the bytes are those of the same changes applied to the text in memory,
// one at a time, and every read sees them.
TEST(IniHugeFile, WritesFromPiecesGiveTheSameBytesAndReadsSeeThem) {
  TempDir dir;
  const fs::path path = dir / "TarvikS.Kfg";
  std::string expected = hugeText();
  writeBytes(path, expected);
  const auto apply = [&expected](std::optional<std::string> bytes) {
    ASSERT_TRUE(bytes.has_value());
    expected = std::move(*bytes);
  };
  const auto now = [&expected] { return ini::parse(expected); };

  IniFile ini(path);
  EXPECT_EQ(ini.readString("E 7", "K3"), "10");
  ini.writeString("E 7", "K3", "changed");
  apply(ini::setValue(now(), "E 7", "K3", "changed"));
  EXPECT_EQ(readBytes(path), expected);
  EXPECT_EQ(ini.readString("e 7", "k3"), "changed");

  ini.writeString("E 9", "New", "Ёж");  // a new key after the section's last line
  apply(ini::setValue(now(), "E 9", "New", "Ёж"));
  ini.writeString("Added", "Key", "1");  // a new section after the unfinished last line
  apply(ini::setValue(now(), "Added", "Key", "1"));
  ini.deleteKey("E 2", "K0");
  apply(ini::removeKey(now(), "E 2", "K0"));
  ini.deleteSection("E 4");
  apply(ini::removeSection(now(), "E 4"));
  EXPECT_EQ(readBytes(path), expected);
  EXPECT_EQ(ini.readString("E 9", "New"), "Ёж");
  EXPECT_EQ(ini.readString("E 2", "K0", "-"), "-");
  EXPECT_FALSE(ini.hasSection("E 4"));

  // A batch of many changed lines: small pieces between stretches of the old text, some far
  // longer than a write gathers. The same changes in memory give the expected text.
  IniEdit edit(ini);
  ini::EditedDocument inMemory(std::make_shared<const ini::Document>(now()));
  const auto change = [&](const std::string& section, const std::string& key,
                          const std::string& value) {
    edit.writeString(section, key, value);
    inMemory.setValue(section, key, value);
  };
  for (const int section : {0, 1, 2, 3, 5, 8, 300, 301, 900, 2000, 2001, 2002, 9000, 11000}) {
    const std::string name = "E " + std::to_string(section);
    change(name, "K" + std::to_string(section % 30), std::string(section % 5, 'v'));
    if (section % 3 == 0) change(name, "Extra", "x");
  }
  change("Batch", "B", "2");
  expected = inMemory.bytes();
  edit.commit();
  EXPECT_EQ(readBytes(path), expected);
  EXPECT_EQ(ini.readString("E 300", "Extra"), "x");
  EXPECT_EQ(ini.readInt("Batch", "B", 0), 2);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

// A huge file in another encoding keeps it.
TEST(IniHugeFile, AFileInUtf8StaysInUtf8) {
  TempDir dir;
  const fs::path path = dir / "TarvikS.Kfg";
  const std::string text = cp1251ToUtf8(hugeText());
  writeBytes(path, "\xEF\xBB\xBF" + text);
  IniFile(path).writeString("E 1", "K1", "Ёлка");
  const std::string after = readBytes(path);
  EXPECT_TRUE(after.starts_with("\xEF\xBB\xBF;head\n[E 0]\r\n"));
  EXPECT_NE(after.find("[E 1]\r\nK0 = 1\r\nK1 = Ёлка\r\n"), std::string::npos);
  EXPECT_EQ(after.size(), 3 + text.size() + std::string("Ёлка").size() - 1);
}

}  // namespace
}  // namespace tarvik
