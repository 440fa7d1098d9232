#pragma once

#include <vector>

#include "tariff/tariff.h"

namespace tarvik {

// A moment at which another price or tariff name comes into force.
struct TariffChange {
  int minute = 0;  // minutes from the start of today; 1440 and later are tomorrow
  CurrentTariff before;
  CurrentTariff after;
};

// The changes of the tariff in force after minute `from` of today (0..1439) up to and
// including minute `until` (at most 2880), by the same lookup the meter makes, on today's and
// tomorrow's day plans; midnight counts as a change when tomorrow starts with another price
// or name. In time order.
std::vector<TariffChange> tariffChangesAhead(const DayPlan& today, const DayPlan& tomorrow,
                                             int from, int until);

}  // namespace tarvik
