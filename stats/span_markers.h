#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/clock.h"

namespace tarvik {

// What the statistics stamp their spans with at a rollover: the day "dd.mm", the week number
// counted from Monday ("%W", two digits), the month "mm" and the year. Whatever follows the
// statistics' spans (the data limit) takes its names from here, so the two cannot drift.
struct SpanMarkers {
  std::string day;
  std::string week;
  std::string month;
  std::string year;
};
SpanMarkers spanMarkersOf(const LocalTime& t);

// A stored byte count: byte counts go past the int range the other keys keep to, and a text
// that is not a whole number of bytes counts as none.
std::uint64_t storedBytes(std::string_view text);

}  // namespace tarvik
