#include "config/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tarvik {
namespace {

const NumberFormat kComma{','};
const NumberFormat kDot{'.'};

TEST(FormatGeneral, SinglePrecisionValuesWidenExactly) {
  const float rate = 2500.0f;
  const float seconds = 30.0f;
  EXPECT_EQ(formatGeneral(rate * seconds / 3600.0f, kComma), "20,8333339691162");
  EXPECT_EQ(formatGeneral(0.05f, kComma), "0,0500000007450581");
  EXPECT_EQ(formatGeneral(1234.5678f, kComma), "1234,56774902344");
  EXPECT_EQ(formatGeneral(12.5f, kComma), "12,5");
}

TEST(FormatGeneral, DoubleValues) {
  EXPECT_EQ(formatGeneral(12.5, kComma), "12,5");
  EXPECT_EQ(formatGeneral(0.05, kComma), "0,05");
  EXPECT_EQ(formatGeneral(-1.2345, kComma), "-1,2345");
  EXPECT_EQ(formatGeneral(-1.2345, kDot), "-1.2345");
  EXPECT_EQ(formatGeneral(0.0, kComma), "0");
  EXPECT_EQ(formatGeneral(-0.0, kComma), "0");
  EXPECT_EQ(formatGeneral(100.0, kComma), "100");
  EXPECT_EQ(formatGeneral(0.1, kComma), "0,1");
  EXPECT_EQ(formatGeneral(1.0 / 3.0, kComma), "0,333333333333333");
  EXPECT_EQ(formatGeneral(2.0 / 3.0, kComma), "0,666666666666667");
}

TEST(FormatGeneral, NotationSwitchesAtTheLimits) {
  EXPECT_EQ(formatGeneral(1e16, kComma), "1E16");
  EXPECT_EQ(formatGeneral(-1e16, kComma), "-1E16");
  EXPECT_EQ(formatGeneral(1e15, kComma), "1E15");
  EXPECT_EQ(formatGeneral(999999999999999.0, kComma), "999999999999999");
  EXPECT_EQ(formatGeneral(1e-6, kComma), "1E-6");
  EXPECT_EQ(formatGeneral(1.5e-7, kComma), "1,5E-7");
  EXPECT_EQ(formatGeneral(1e-5, kComma), "0,00001");
  EXPECT_EQ(formatGeneral(1.25e-5, kComma), "0,0000125");
  EXPECT_EQ(formatGeneral(1.5e300, kComma), "1,5E300");
  EXPECT_EQ(formatGeneral(std::numeric_limits<double>::denorm_min(), kComma),
            "4,94065645841247E-324");
  EXPECT_EQ(formatGeneral(std::numeric_limits<double>::max(), kComma), "1,79769313486232E308");
}

TEST(FormatGeneral, RoundsTheExactValueWithTiesAwayFromZero) {
  // Exact ties at the 16th digit: away from zero, where ties-to-even would round down.
  EXPECT_EQ(formatGeneral(1000000000000005.0, kComma), "1,00000000000001E15");
  EXPECT_EQ(formatGeneral(-1000000000000005.0, kComma), "-1,00000000000001E15");
  EXPECT_EQ(formatGeneral(100000000000000.25, kComma), "100000000000000");
  EXPECT_EQ(formatGeneral(100000000000000.5, kComma), "100000000000001");
  EXPECT_EQ(formatGeneral(100000000000001.5, kComma), "100000000000002");
  EXPECT_EQ(formatGeneral(-100000000000000.5, kComma), "-100000000000001");
  // Rounding that carries into a new digit and across the notation limit.
  EXPECT_EQ(formatGeneral(999999999999999.5, kComma), "1E15");
  EXPECT_EQ(formatGeneral(9.999999999999999e-6, kComma), "0,00001");
  // 0.15 is 0.1499999999999999944...: exact digits decide, not a shorter decimal guess.
  EXPECT_EQ(formatGeneral(0.15, kComma), "0,15");
  EXPECT_EQ(formatGeneral(5e-324 * 3, kComma), "1,48219693752374E-323");
}

TEST(FormatGeneral, NonFiniteValues) {
  EXPECT_EQ(formatGeneral(std::numeric_limits<double>::quiet_NaN(), kComma), "NAN");
  EXPECT_EQ(formatGeneral(std::numeric_limits<double>::infinity(), kComma), "INF");
  EXPECT_EQ(formatGeneral(-std::numeric_limits<double>::infinity(), kComma), "-INF");
}

TEST(ParseDecimal, AcceptsEitherSeparatorSignExponentAndBlanks) {
  EXPECT_EQ(parseDecimal("12,5"), 12.5);
  EXPECT_EQ(parseDecimal("12.5"), 12.5);
  EXPECT_EQ(parseDecimal("0,05"), 0.05);
  EXPECT_EQ(parseDecimal("-1,2345"), -1.2345);
  EXPECT_EQ(parseDecimal("+3"), 3.0);
  EXPECT_EQ(parseDecimal("  7 "), 7.0);
  EXPECT_EQ(parseDecimal("1E16"), 1e16);
  EXPECT_EQ(parseDecimal("1E-6"), 1e-6);
  EXPECT_EQ(parseDecimal("1,5E-7"), 1.5e-7);
  EXPECT_EQ(parseDecimal("1,5e+7"), 1.5e7);
  EXPECT_EQ(parseDecimal("5,"), 5.0);
  EXPECT_EQ(parseDecimal(",5"), 0.5);
}

TEST(ParseDecimal, RejectsEverythingElse) {
  for (const char* text :
       {"", " ", "12abc", "1,2,3", "1.2,3", "inf", "nan", "-", ",", "E5", "1E", "1E+", "0x10",
        "1 2", "--1", "1e999", "1,79769313486233E308", "-1E-999"}) {
    EXPECT_FALSE(parseDecimal(text).has_value()) << text;
  }
}

TEST(ParseDecimal, ReadsBackWhatFormatGeneralWrote) {
  for (const double value :
       {20.8333339691162, 0.0500000007450581, -1234.5678, 1e16, 1.5e-7, 123456789012345.0,
        0.000012345, std::numeric_limits<double>::max(), -std::numeric_limits<double>::max()}) {
    const auto back = parseDecimal(formatGeneral(value, kComma));
    ASSERT_TRUE(back.has_value()) << value;
    EXPECT_DOUBLE_EQ(*back, value);
  }
}

// Seven significant digits, what single precision holds, and never fewer than two decimals.
TEST(FormatMoney, DropsSinglePrecisionNoiseButKeepsHundredths) {
  EXPECT_EQ(formatMoney(80.0f * 1200 / 3600, kComma), "26,66667");
  EXPECT_EQ(formatMoney(33.333332 + 66.666664, kComma), "100");
  // A long sum in a statistics file keeps its hundredths.
  EXPECT_EQ(formatMoney(12345678.4 + 26.666666030883789, kComma), "12345705,07");
  EXPECT_EQ(formatMoney(1.5e-7, kDot), "1.5E-7");
}

TEST(CutToSix, CutsNotRounds) {
  EXPECT_EQ(cutToSix("123,456789"), "123,45");
  EXPECT_EQ(cutToSix("0"), "0");
  EXPECT_EQ(cutToSix("ёжикин-кот"), "ёжикин");
}

}  // namespace
}  // namespace tarvik
