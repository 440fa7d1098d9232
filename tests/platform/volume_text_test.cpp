#include "platform/volume_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>

namespace tarvik {
namespace {

// The figure as printf rounds it, which the texts shown so far were made with.
std::string printfText(std::uint64_t bytes) {
  static const char* const kUnits[] = {"КБ", "МБ", "ГБ", "ТБ", "ПБ"};
  if (bytes < 1024) return std::to_string(bytes) + " Б";
  double value = static_cast<double>(bytes) / 1024;
  int unit = 0;
  while (value >= 1023.95 && unit < 4) {
    value /= 1024;
    ++unit;
  }
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  std::string figure = text;
  figure[figure.find('.')] = ',';
  return figure + " " + kUnits[unit];
}

// Every unit, the exact halves (1280 bytes is 1.25 KB: "1,2", printf rounds half to even) and
// the edges where the next unit takes over.
TEST(VolumeText, ByteFiguresRoundAsPrintfDoes) {
  const NumberFormat comma{','};
  EXPECT_EQ(byteText(1280, comma), "1,2 КБ");
  EXPECT_EQ(byteText(1331, comma), "1,3 КБ");
  EXPECT_EQ(byteText(1023, comma), "1023 Б");
  for (std::uint64_t bytes = 0; bytes < 3'000'000; bytes += 7) {
    ASSERT_EQ(byteText(bytes, comma), printfText(bytes)) << bytes;
  }
  std::mt19937_64 random(21);
  for (int shift = 10; shift <= 58; ++shift) {
    const std::uint64_t base = std::uint64_t{1} << shift;
    for (const std::uint64_t bytes :
         {base - 1, base, base + 1, base / 10 * 5, base + base / 20, base * 1023 / 1024}) {
      ASSERT_EQ(byteText(bytes, comma), printfText(bytes)) << bytes;
    }
    for (int i = 0; i < 200; ++i) {
      const std::uint64_t bytes = random() % (base * 2);
      ASSERT_EQ(byteText(bytes, comma), printfText(bytes)) << bytes;
    }
  }
  EXPECT_EQ(byteText(~std::uint64_t{0}, NumberFormat{'.'}), "16384.0 ПБ");
}

}  // namespace
}  // namespace tarvik
