#include "app/time_text.h"

#include <cstdio>

#include "status/display_text.h"

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
  // The status window's time field has the same form; one rule keeps the two alike.
  return displayTimeText(seconds);
}

}  // namespace tarvik
