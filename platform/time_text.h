#pragma once

#include <cstdint>
#include <string>

#include "platform/clock.h"

namespace tarvik {

// A number of at least two digits, with a leading zero below 10 ("07", "31").
std::string twoDigits(int value);
// Event-log stamps: "dd.mm.yyyy hh:nn:ss" (06.12.2026 21:05:09).
std::string stampText(const LocalTime& t);
// Crash-journal times use dots in the time as well: "dd.mm.yyyy hh.nn.ss".
std::string journalTimeText(const LocalTime& t);
// Durations as hours:minutes:seconds with at least two hour digits ("00:00:00", "123:00:00").
// Negative durations are shown with a leading "-".
std::string durationText(std::int64_t seconds);

}  // namespace tarvik
