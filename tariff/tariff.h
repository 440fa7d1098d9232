#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "config/keys.h"

namespace tarvik {

class IniFile;

// A day plan never holds more periods than this; longer counts in a hand-edited file are cut.
inline constexpr int kMaxTariffPeriods = tariff_keys::kMaxPeriods;
// The tariff name shown when no period of the day plan covers the current time.
inline constexpr std::string_view kNoTariffName = "Error!";
// The name of a period whose "Name" key is missing.
inline constexpr std::string_view kGuestTariffName = tariff_keys::kGuestName;

// One row of a day plan. Start is inclusive, end exclusive; end hour 24 is the end of the day.
// The defaults are those of a period whose keys are all missing: the whole day free.
struct TariffPeriod {
  int startHour = 0;
  int startMinute = 0;
  int endHour = 24;
  int endMinute = 0;
  int costPerHour = 0;  // hundredths of the currency unit per hour
  std::string name{kGuestTariffName};

  bool operator==(const TariffPeriod&) const = default;
};

// The periods of one weekday in list order (0 = Sunday ... 6 = Saturday).
using DayPlan = std::vector<TariffPeriod>;

// What the meter charges at the moment: set by every lookup.
struct CurrentTariff {
  int costPerHour = 0;
  std::string name{kNoTariffName};
};

// True when the period covers hour:minute.
bool periodInForce(const TariffPeriod& period, int hour, int minute);

// The period in force at hour:minute: where periods overlap the one listed last wins.
// -1 when none applies. Sets `current` to that period's cost and name, or 0 and "Error!".
int findPeriod(const DayPlan& plan, int hour, int minute, CurrentTariff& current);

// The period of `entry`'s weekly tariff in force at weekday/hour:minute, read afresh from the
// settings file (TarvikC.Kfg) so that a plan saved a moment ago applies at once. `entry` is
// the entry's name ("Default" for the fallback entry), not a section name: its own plan is
// used when its section has own settings ("Done"), else the plan of "Default".
int lookup(const IniFile& config, std::string_view entry, int hour, int minute, int weekday,
           CurrentTariff& current);

// The editor's period texts ("08:00 - 17:30 = 00120 Day"), one per line in list order, as a
// day plan. A line that cannot be read as a period keeps its place but is never in force.
DayPlan planFromTexts(const std::vector<std::string>& periodTexts);

// The same rule on the editor's period texts ("08:00 - 17:30 = 00120 Day"), one per line in
// list order. A line that cannot be read as a period keeps its place but is never in force.
int lookupInList(const std::vector<std::string>& periodTexts, int hour, int minute,
                 CurrentTariff& current);

}  // namespace tarvik
