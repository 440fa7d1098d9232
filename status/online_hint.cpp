#include "status/online_hint.h"

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
