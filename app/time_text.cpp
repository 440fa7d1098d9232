#include "app/time_text.h"

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

std::string stampText(const LocalTime& t) {
  return dateTimeText(t, ':');
}

std::string journalTimeText(const LocalTime& t) {
  return dateTimeText(t, '.');
}

std::string durationText(std::int64_t seconds) {
  const bool negative = seconds < 0;
  // Work in unsigned so that the most negative value does not overflow.
  std::uint64_t s =
      negative ? 0 - static_cast<std::uint64_t>(seconds) : static_cast<std::uint64_t>(seconds);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%s%02llu:%02llu:%02llu", negative ? "-" : "",
                static_cast<unsigned long long>(s / 3600),
                static_cast<unsigned long long>(s / 60 % 60),
                static_cast<unsigned long long>(s % 60));
  return buf;
}

}  // namespace tarvik
