#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "config/codepage.h"
#include "config/ini_file.h"
#include "support/temp_dir.h"

namespace tarvik {
namespace {

using test::TempDir;
using test::readBytes;
using test::writeBytes;

struct ReadCase {
  const char* what;
  std::string text;  // UTF-8; stored in code page 1251
  const char* section;
  const char* key;
  std::optional<std::string> expected;  // nullopt: the key is missing
};

class ReadingRules : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadingRules, MemoryAndFileReadTheSame) {
  const ReadCase& c = GetParam();
  const IniDocument doc = IniDocument::fromUtf8(c.text);
  TempDir dir;
  writeBytes(dir / "t.ini", utf8ToCp1251(c.text));
  const IniFile file(dir / "t.ini");
  for (const bool fromFile : {false, true}) {
    const std::string got = fromFile ? file.readString(c.section, c.key, "<missing>")
                                     : doc.readString(c.section, c.key, "<missing>");
    EXPECT_EQ(got, c.expected.value_or("<missing>")) << c.what << (fromFile ? " (file)" : "");
    const bool has = fromFile ? file.hasKey(c.section, c.key) : doc.hasKey(c.section, c.key);
    EXPECT_EQ(has, c.expected.has_value()) << c.what;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadingRules,
    ::testing::Values(
        ReadCase{"plain", "[S]\r\nK=V\r\n", "S", "K", "V"},
        ReadCase{"blanks and tabs trimmed", "[S]\r\n \t K \t= \t V x \t\r\n", "S", "K", "V x"},
        ReadCase{"value split at the first =", "[S]\r\nK=a=b=c\r\n", "S", "K", "a=b=c"},
        ReadCase{"double quotes removed", "[S]\r\nK=\" padded \"\r\n", "S", "K", " padded "},
        ReadCase{"single quotes removed", "[S]\r\nK='x'\r\n", "S", "K", "x"},
        ReadCase{"mismatched quotes kept", "[S]\r\nK=\"x'\r\n", "S", "K", "\"x'"},
        ReadCase{"lone quote kept", "[S]\r\nK=\"\r\n", "S", "K", "\""},
        ReadCase{"LF line ends", "[S]\nA=1\nK=2\n", "S", "K", "2"},
        ReadCase{"CR line ends", "[S]\rA=1\rK=2\r", "S", "K", "2"},
        ReadCase{"mixed line ends", "[S]\r\nA=1\rB=2\nK=3", "S", "K", "3"},
        ReadCase{"blank lines ignored", "\r\n\r\n[S]\r\n\r\n  \r\nK=V\r\n", "S", "K", "V"},
        ReadCase{"section name to the last ]", "[a]b]\r\nK=V\r\n", "a]b", "K", "V"},
        ReadCase{"text after the header", "[S]x]\r\nK=V\r\n", "S", "K", std::nullopt},
        ReadCase{"blanks around the section name", "  [ S ]  \r\nK=V\r\n", "S", "K", "V"},
        ReadCase{"header without ] ignored", "[S]\r\n[T\r\nK=V\r\n", "S", "K", "V"},
        ReadCase{"keys before the first section", "K=top\r\n[S]\r\nK=V\r\n", "", "K", "top"},
        ReadCase{"comment line", "[S]\r\n;K=V\r\n", "S", "K", std::nullopt},
        ReadCase{"indented comment", "[S]\r\n  ;K=V\r\n", "S", "K", std::nullopt},
        ReadCase{"semicolon inside a value kept", "[S]\r\nK=a;b\r\n", "S", "K", "a;b"},
        ReadCase{"line without = is no key", "[S]\r\nK\r\n", "S", "K", std::nullopt},
        ReadCase{"empty value", "[S]\r\nK=\r\n", "S", "K", ""},
        ReadCase{"duplicate key: first wins", "[S]\r\nK=1\r\nK=2\r\n", "S", "K", "1"},
        ReadCase{"duplicate section: first wins", "[S]\r\nA=1\r\n[S]\r\nK=2\r\n", "S", "K",
                 std::nullopt},
        ReadCase{"duplicate section value", "[S]\r\nK=1\r\n[s]\r\nK=2\r\n", "S", "K", "1"},
        ReadCase{"Latin case", "[sEcTiOn]\r\nkEY=V\r\n", "Section", "Key", "V"},
        ReadCase{"Cyrillic case", "[Раздел]\r\nКлюч=V\r\n", "РАЗДЕЛ", "ключ", "V"},
        ReadCase{"Ё and ё", "[Ёлка]\r\nЁж=V\r\n", "ёЛКА", "ёЖ", "V"},
        ReadCase{"Ukrainian letters", "[Її]\r\nҐі=V\r\n", "її", "ґІ", "V"},
        ReadCase{"lookup names trimmed", "[S]\r\nK=V\r\n", " S ", "\tK ", "V"},
        ReadCase{"missing section", "[S]\r\nK=V\r\n", "T", "K", std::nullopt},
        ReadCase{"key of another section", "[S]\r\nK=V\r\n[T]\r\n", "T", "K", std::nullopt},
        ReadCase{"Cyrillic value", "[S]\r\nK=Привет «мир» №1\r\n", "S", "K", "Привет «мир» №1"},
        ReadCase{"no final line end", "[S]\r\nK=V", "S", "K", "V"},
        ReadCase{"cut to 1023", "[S]\r\nK=" + std::string(1500, 'x') + "\r\n", "S", "K",
                 std::string(1023, 'x')},
        ReadCase{"1023 kept whole", "[S]\r\nK=" + std::string(1023, 'y'), "S", "K",
                 std::string(1023, 'y')},
        ReadCase{"quotes removed before the cut", "[S]\r\nK=\"" + std::string(1023, 'z') + "\"\r\n",
                 "S", "K", std::string(1023, 'z')}));

TEST(ReadingBytes, UnassignedByteAndNulAreKeptAsText) {
  const IniDocument doc(std::string("[S]\r\nA=x\x98y\r\nB=a\0b\r\nC=3\r\n", 23));
  EXPECT_EQ(doc.readString("S", "A"), "x\xEF\xBF\xBDy");
  EXPECT_EQ(doc.readString("S", "B"), std::string("a\0b", 3));
  EXPECT_EQ(doc.readString("S", "C"), "3");
}

TEST(ReadingNames, SectionAndKeyNamesInFileOrderFirstOccurrenceOnly) {
  const IniDocument doc = IniDocument::fromUtf8(
      "top=1\r\n[Beta]\r\nb=1\r\nA=2\r\nb=3\r\n;c=4\r\n[alpha]\r\n[BETA]\r\nz=1\r\n[]\r\n"
      "[Гамма]\r\nКлюч=1\r\n");
  EXPECT_EQ(doc.sectionNames(), (std::vector<std::string>{"Beta", "alpha", "Гамма"}));
  EXPECT_EQ(doc.keyNames("beta"), (std::vector<std::string>{"b", "A"}));
  EXPECT_EQ(doc.keyNames("ГАММА"), (std::vector<std::string>{"Ключ"}));
  EXPECT_EQ(doc.keyNames(""), (std::vector<std::string>{"top"}));
  EXPECT_TRUE(doc.keyNames("missing").empty());
  EXPECT_TRUE(doc.hasSection("ALPHA"));
  EXPECT_TRUE(doc.hasSection(""));
  EXPECT_FALSE(doc.hasSection("delta"));
  EXPECT_FALSE(IniDocument("[S]\r\n").hasSection(""));
}

TEST(ReadingIntegers, TheProgramsRule) {
  struct Case {
    const char* text;
    int expected;
  };
  const Case cases[] = {
      {"0", 0},
      {"42", 42},
      {"-42", -42},
      {"+7", 7},
      {"  12", 12},
      {"007", 7},
      {"0x1F", 31},
      {"0X1f", 31},
      {"$ff", 255},
      {"-0x10", -16},
      {"$FFFFFFFF", -1},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"2147483648", -99},  // out of range
      {"0x100000000", -99},
      {"", -99},
      {"12abc", -99},
      {"abc", -99},
      {"1.5", -99},
      {"0x", -99},
      {"$", -99},
      {"-", -99},
      {"1 2", -99},
      {"0xG", -99},
      {"12 ", -99},  // only leading blanks are skipped
  };
  for (const Case& c : cases) EXPECT_EQ(parseProfileInt(c.text, -99), c.expected) << c.text;

  // Through a file the value is trimmed first, so trailing blanks are harmless there.
  const IniDocument doc("[S]\r\nA = 12 \r\nB=12abc\r\nC=\"5\"\r\nD=0x1F\r\n");
  EXPECT_EQ(doc.readInt("S", "A", -1), 12);
  EXPECT_EQ(doc.readInt("S", "B", -1), -1);
  EXPECT_EQ(doc.readInt("S", "C", -1), 5);
  EXPECT_EQ(doc.readInt("S", "D", -1), 31);
  EXPECT_EQ(doc.readInt("S", "missing", 77), 77);
}

// Lines are kept with offsets in 16 bits; lines around and beyond 64 KB (a key indented by
// 70,000 blanks, a value of 65,600 bytes, lines of exactly 65,535 and 65,536 bytes) read and
// change like short ones, every other byte kept.
TEST(ReadingBytes, LinesLongerThan64KBReadAndChangeLikeShortOnes) {
  const std::string indented = std::string(70'000, ' ') + "Far = away";
  const std::string longValue = "Long=" + std::string(65'600, 'v');
  const std::string edge1 = "Edge1=" + std::string(65'535 - 6, 'e');
  const std::string edge2 = "Edge2=" + std::string(65'536 - 6, 'f');
  const std::string text = "[" + std::string(65'540, 'S') + "]\r\nIn=1\r\n[S]\r\n" + indented +
                           "\r\n" + longValue + "\n" + edge1 + "\r" + edge2 + "\r\nAfter=2";
  TempDir dir;
  writeBytes(dir / "t.ini", text);
  IniFile file(dir / "t.ini");
  EXPECT_EQ(file.readString(std::string(65'540, 'S'), "In", ""), "1");
  EXPECT_EQ(file.readString("S", "Far", ""), "away");
  EXPECT_EQ(file.readString("S", "Long", ""), std::string(1023, 'v'));
  EXPECT_EQ(file.readString("S", "Edge1", ""), std::string(1023, 'e'));
  EXPECT_EQ(file.readString("S", "Edge2", ""), std::string(1023, 'f'));
  EXPECT_EQ(file.readString("S", "After", ""), "2");
  EXPECT_EQ(file.keyNames("S"),
            (std::vector<std::string>{"Far", "Long", "Edge1", "Edge2", "After"}));

  file.writeString("S", "Far", "near");
  file.writeString("S", "Edge2", "short");
  file.writeString("S", "New", "3");
  const std::string far = std::string(70'000, ' ') + "Far = near";
  EXPECT_EQ(readBytes(dir / "t.ini"), "[" + std::string(65'540, 'S') + "]\r\nIn=1\r\n[S]\r\n" +
                                          far + "\r\n" + longValue + "\n" + edge1 +
                                          "\rEdge2=short\r\nAfter=2\r\nNew=3\r\n");
}

}  // namespace
}  // namespace tarvik
