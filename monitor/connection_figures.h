#pragma once

#include <cstdint>
#include <string>

#include "config/keys.h"
#include "platform/traffic.h"

namespace tarvik {

// The figures of one metered connection: what the meter counts, the crash journal saves, the
// kept-bookings queue holds and the close-out books. One struct travels the whole way, so a
// figure added to the meter reaches every file that keeps a connection.
struct ConnectionFigures {
  std::string entry{kDefaultEntry};  // settings entry name ("Entry")
  float cost = 0;                    // hundredths of the currency unit ("Losses")
  float balance = 0;                 // currency units ("Account")
  std::int32_t seconds = 0;          // metered seconds ("Duration")
  int accountKind = 0;               // "AccID"
  TrafficBytes volume;               // bytes moved so far ("Received", "Sent")
  int weekday = 0;                   // the day it is booked on, 0 = Sunday ("WeekDay")
};

}  // namespace tarvik
