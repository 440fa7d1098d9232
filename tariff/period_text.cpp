#include "tariff/period_text.h"

#include <cstdio>

namespace tarvik {

namespace {

// A number column: optional blanks, optional sign, decimal digits, optional blanks.
std::optional<int> columnNumber(std::string_view text, std::size_t from, std::size_t length) {
  std::string_view field = text.substr(from, length);
  while (!field.empty() && field.front() == ' ') field.remove_prefix(1);
  while (!field.empty() && field.back() == ' ') field.remove_suffix(1);
  bool negative = false;
  if (!field.empty() && (field.front() == '-' || field.front() == '+')) {
    negative = field.front() == '-';
    field.remove_prefix(1);
  }
  if (field.empty()) return std::nullopt;
  int value = 0;
  for (char c : field) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return negative ? -value : value;
}

}  // namespace

std::string periodText(const TariffPeriod& p) {
  char numbers[64];
  std::snprintf(numbers, sizeof numbers, "%02d:%02d - %02d:%02d = %05d ", p.startHour,
                p.startMinute, p.endHour, p.endMinute, p.costPerHour);
  return numbers + p.name;
}

std::optional<TariffPeriod> parsePeriodText(std::string_view text) {
  constexpr std::size_t kCostEnd = 21;
  if (text.size() < kCostEnd) return std::nullopt;
  auto startHour = columnNumber(text, 0, 2);
  auto startMinute = columnNumber(text, 3, 2);
  auto endHour = columnNumber(text, 8, 2);
  auto endMinute = columnNumber(text, 11, 2);
  auto cost = columnNumber(text, 16, 5);
  if (!startHour || !startMinute || !endHour || !endMinute || !cost) return std::nullopt;
  TariffPeriod period{.startHour = *startHour,
                      .startMinute = *startMinute,
                      .endHour = *endHour,
                      .endMinute = *endMinute,
                      .costPerHour = *cost};
  period.name = text.size() > 22 ? std::string(text.substr(22)) : std::string();
  return period;
}

}  // namespace tarvik
