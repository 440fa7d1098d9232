#pragma once

#include <cstdint>
#include <optional>

namespace tarvik {

// The meter's arithmetic from the seconds counted on the wall clock to the booked seconds,
// the cost and the balance. The tick and the forecast both use it, so a forecast never
// disagrees with what the meter will charge.
struct MeterMoney {
  bool truncate = false;  // "Truncate": booked seconds rounded up to whole minutes
  int freeTime = 5;       // "FreeTime": shorter connections cost nothing
  int costPerHour = 0;    // hundredths of the currency unit
  float startBalance = 0;

  struct Figures {
    std::int32_t bookedSeconds = 0;
    bool withinFreeTime = true;
    float cost = 0;     // hundredths
    float balance = 0;  // currency units
  };
  Figures at(std::int32_t seconds) const;
};

// The first second of the count, from `from` on and at most `horizon` seconds later, at which
// the balance has come down to 0 or below; nullopt when it does not within that time (no
// price, nothing left to spend, or a balance that lasts longer).
std::optional<std::int32_t> secondWhenEmpty(const MeterMoney& money, std::int32_t from,
                                            std::int32_t horizon);

}  // namespace tarvik
