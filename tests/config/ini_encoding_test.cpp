#include <gtest/gtest.h>

#include <string>

#include "config/ini_file.h"
#include "support/temp_dir.h"

namespace tarvik {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

// UTF-16 in either byte order, from UTF-8 text, with its byte-order mark.
std::string utf16(const std::u16string& text, bool bigEndian) {
  std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
  }
  return out;
}

struct Encoded {
  const char* name;
  std::string (*encode)(const std::u16string&);
};

std::string asUtf8WithMark(const std::u16string& text) {
  std::string out = "\xEF\xBB\xBF";
  for (const char16_t unit : text) {
    if (unit < 0x80) {
      out += static_cast<char>(unit);
    } else {  // the texts here stay below U+0800
      out += static_cast<char>(0xC0 | (unit >> 6));
      out += static_cast<char>(0x80 | (unit & 0x3F));
    }
  }
  return out;
}

// A data file saved by another editor as Unicode keeps being read as text, and the program's
// writes keep it in that encoding: changed values, new keys and sections, everything else
// byte for byte.
TEST(IniEncodings, UnicodeFilesReadAsTextAndKeepTheirEncodingWhenWritten) {
  const Encoded encodings[] = {
      {"UTF-16 LE", [](const std::u16string& t) { return utf16(t, false); }},
      {"UTF-16 BE", [](const std::u16string& t) { return utf16(t, true); }},
      {"UTF-8", asUtf8WithMark},
  };
  const std::u16string before =
      u"; Настройки\r\n[Olm:TK]\r\nX=120\r\n[Провайдер]\r\nDone=1\r\nName=Ночной тариф\r\n";
  const std::u16string after =
      u"; Настройки\r\n[Olm:TK]\r\nX=7\r\nY=56\r\n[Провайдер]\r\nDone=1\r\nName=Дневной\r\n"
      u"[Новый]\r\nA=1\r\n";
  for (const Encoded& encoding : encodings) {
    TempDir dir;
    const auto path = dir / "TarvikC.Kfg";
    writeBytes(path, encoding.encode(before));
    IniFile file(path);
    EXPECT_EQ(file.readInt("Olm:TK", "X", 99), 120) << encoding.name;
    EXPECT_EQ(file.readString("ПРОВАЙДЕР", "name"), "Ночной тариф") << encoding.name;
    EXPECT_EQ(file.sectionNames(), (std::vector<std::string>{"Olm:TK", "Провайдер"}));

    file.writeInt("Olm:TK", "X", 7);
    IniEdit edit(file);
    edit.writeString("Olm:TK", "Y", "56").writeString("Провайдер", "Name", "Дневной");
    edit.writeString("Новый", "A", "1").commit();
    EXPECT_EQ(readBytes(path), encoding.encode(after)) << encoding.name;
    EXPECT_EQ(IniFile(path).readString("Новый", "A"), "1") << encoding.name;
  }
}

}  // namespace
}  // namespace tarvik
