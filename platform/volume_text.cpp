#include "platform/volume_text.h"

#include <array>
#include <cstdio>

namespace tarvik {

std::string byteText(std::uint64_t bytes, const NumberFormat& format) {
  static constexpr std::array<const char*, 5> kUnits{"КБ", "МБ", "ГБ", "ТБ", "ПБ"};
  if (bytes < 1024) return std::to_string(bytes) + " Б";
  double value = static_cast<double>(bytes) / 1024;
  std::size_t unit = 0;
  // 1023,96 КБ would read "1024,0 КБ": the next unit takes over where the rounding gets there.
  while (value >= 1023.95 && unit + 1 < kUnits.size()) {
    value /= 1024;
    ++unit;
  }
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  std::string figure = text;
  if (const auto dot = figure.find('.'); dot != std::string::npos) {
    figure[dot] = format.decimalSeparator;
  }
  return figure + " " + kUnits[unit];
}

std::string volumeText(const TrafficBytes& volume, const NumberFormat& format) {
  return "↓ " + byteText(volume.received, format) + "  ↑ " + byteText(volume.sent, format);
}

}  // namespace tarvik
