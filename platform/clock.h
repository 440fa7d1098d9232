#pragma once

#include <cstdint>

namespace tarvik {

// A local calendar date and time, as the user's wall clock shows it.
struct LocalTime {
  int year = 2000;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
  int weekday = 6;  // 0 = Sunday .. 6 = Saturday

  bool operator==(const LocalTime&) const = default;
};

// Builds a LocalTime from calendar fields, computing the weekday.
LocalTime makeLocalTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                        int millisecond = 0);

// Milliseconds since 01.01.1970 00:00:00 of the local calendar (no time zones: the program
// only ever deals in local wall-clock time), and back.
std::int64_t toLocalMs(const LocalTime& t);
LocalTime fromLocalMs(std::int64_t ms);

// The year's week number with Monday as the first day of the week ("%W"): days before the
// first Monday of the year are in week 0.
int weekNumberMondayFirst(const LocalTime& t);

// Wall-clock time and a monotonic millisecond counter.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime now() const = 0;
  virtual std::int64_t ticks() const = 0;
};

}  // namespace tarvik
