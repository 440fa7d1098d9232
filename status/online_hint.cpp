#include "status/online_hint.h"

#include <array>
#include <cstdio>

namespace tarvik {

namespace {

std::string twoDigits(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

std::string clockText(int minuteOfDay) {
  return twoDigits(minuteOfDay / 60 % 24) + ":" + twoDigits(minuteOfDay % 60);
}

}  // namespace

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

std::string emptyAccountText(const LocalTime& when, const LocalTime& now) {
  const bool today = when.year == now.year && when.month == now.month && when.day == now.day;
  const std::string date = today ? "" : twoDigits(when.day) + "." + twoDigits(when.month) + " ";
  return "счёт исчерпается ≈ " + date + "в " + clockText(when.hour * 60 + when.minute);
}

std::string tariffChangeText(int minute, int costPerHour, std::string_view currencyZ) {
  return "с " + clockText(minute) + ": " + std::to_string(costPerHour) + " " +
         std::string(currencyZ) + "/час";
}

}  // namespace tarvik
