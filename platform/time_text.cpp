#include "platform/time_text.h"

#include <cstdio>

namespace tarvik {
namespace {

std::string dateTimeText(const LocalTime& t, char timeSeparator) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%02d.%02d.%04d %02d%c%02d%c%02d", t.day, t.month, t.year, t.hour,
                timeSeparator, t.minute, timeSeparator, t.second);
  return buf;
}

}  // namespace

std::string twoDigits(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

std::string stampText(const LocalTime& t) {
  return dateTimeText(t, ':');
}

std::string journalTimeText(const LocalTime& t) {
  return dateTimeText(t, '.');
}

std::string durationText(std::int64_t seconds) {
  const bool negative = seconds < 0;
  const std::uint64_t s =
      negative ? 0 - static_cast<std::uint64_t>(seconds) : static_cast<std::uint64_t>(seconds);
  std::string hours = std::to_string(s / 3600);
  if (hours.size() < 2) hours.insert(0, "0");
  auto two = [](std::uint64_t v) {
    return std::string(1, static_cast<char>('0' + v / 10)) + static_cast<char>('0' + v % 10);
  };
  return (negative ? "-" : "") + hours + ":" + two(s / 60 % 60) + ":" + two(s % 60);
}

}  // namespace tarvik
