#include "config/codepage.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

namespace tarvik {
namespace {

// The C library's converter is an independent reference for every assigned byte.
std::string referenceDecode(unsigned char byte) {
  iconv_t cd = iconv_open("UTF-8", "CP1251");
  char in[1] = {static_cast<char>(byte)};
  char out[8] = {};
  char* inPtr = in;
  char* outPtr = out;
  size_t inLeft = 1, outLeft = sizeof out;
  const size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (result == static_cast<size_t>(-1)) return {};
  return std::string(out, sizeof out - outLeft);
}

TEST(Codepage, EveryAssignedByteMatchesTheReferenceAndRoundTrips) {
  for (int byte = 1; byte < 256; ++byte) {
    if (byte == 0x98) continue;
    const std::string one(1, static_cast<char>(byte));
    const std::string utf8 = cp1251ToUtf8(one);
    EXPECT_EQ(utf8, referenceDecode(static_cast<unsigned char>(byte))) << "byte " << byte;
    EXPECT_EQ(utf8ToCp1251(utf8), one) << "byte " << byte;
    EXPECT_TRUE(fitsCp1251(utf8));
  }
}

TEST(Codepage, UnassignedByteAndUnencodableCharacters) {
  EXPECT_EQ(cp1251ToUtf8("a\x98z"), "a\xEF\xBF\xBDz");
  EXPECT_EQ(utf8ToCp1251("\xEF\xBF\xBD"), "?");  // U+FFFD is not in the code page
  EXPECT_EQ(utf8ToCp1251("x€y"), "x\x88y");
  EXPECT_EQ(utf8ToCp1251("日本"), "??");
  EXPECT_EQ(utf8ToCp1251("😀"), "?");
  EXPECT_FALSE(fitsCp1251("Привет 😀"));
  EXPECT_TRUE(fitsCp1251("Привет, Ёжик №1 «€»"));
  EXPECT_EQ(std::string(1, '\0'), cp1251ToUtf8(std::string(1, '\0')));
}

TEST(Codepage, InvalidUtf8BecomesQuestionMarksAndDoesNotFit) {
  EXPECT_EQ(utf8ToCp1251("a\xFFz"), "a?z");
  EXPECT_EQ(utf8ToCp1251("\xC0\xAF"), "??");       // overlong "/"
  EXPECT_EQ(utf8ToCp1251("\xED\xA0\x80"), "???");  // surrogate
  EXPECT_EQ(utf8ToCp1251("\xD0"), "?");            // truncated
  EXPECT_FALSE(fitsCp1251("\xD0"));
  EXPECT_FALSE(fitsCp1251("\xC0\xAF"));
}

TEST(Codepage, CaseFoldCoversLatinAndEveryCyrillicPair) {
  const std::string upper = utf8ToCp1251("ABCZАБВЯЁЂЃЄЅІЇЈЉЊЋЌЎЏҐ");
  const std::string lower = utf8ToCp1251("abczабвяёђѓєѕіїјљњћќўџґ");
  EXPECT_EQ(cp1251Fold(upper), lower);
  EXPECT_EQ(cp1251Fold(lower), lower);
  EXPECT_EQ(cp1251Fold("1;[]=\x98"), "1;[]=\x98");
}

}  // namespace
}  // namespace tarvik
