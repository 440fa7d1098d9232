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
  std::string figure;
  // The figure is bytes / 1024^(unit + 1) exactly, so its tenths come from whole numbers: the
  // quotient, rounded half to even as printf rounds such an exact value. (The meter writes the
  // volume at most ticks; this keeps printf out of them.)
  const unsigned shift = 10 * static_cast<unsigned>(unit + 1);
  if (bytes < (std::uint64_t{1} << 59)) {
    const std::uint64_t scaled = bytes * 10;
    std::uint64_t tenths = scaled >> shift;
    const std::uint64_t rest = scaled & ((std::uint64_t{1} << shift) - 1);
    const std::uint64_t half = std::uint64_t{1} << (shift - 1);
    if (rest > half || (rest == half && tenths % 2 == 1)) ++tenths;
    figure = std::to_string(tenths / 10) + format.decimalSeparator + std::to_string(tenths % 10);
  } else {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    figure = text;
    if (const auto dot = figure.find('.'); dot != std::string::npos)
      figure[dot] = format.decimalSeparator;
  }
  return figure + " " + kUnits[unit];
}

std::string volumeText(const TrafficBytes& volume, const NumberFormat& format) {
  return "↓ " + byteText(volume.received, format) + "  ↑ " + byteText(volume.sent, format);
}

}  // namespace tarvik
