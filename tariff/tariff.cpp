#include "tariff/tariff.h"

#include "config/ini_file.h"
#include "tariff/day_plan_store.h"
#include "tariff/period_text.h"

namespace tarvik {

bool periodInForce(const TariffPeriod& p, int hour, int minute) {
  if (p.endHour < hour || p.startHour > hour) return false;
  // Start minute inclusive, end minute exclusive; hours strictly inside the period count whole.
  return (hour == p.startHour && minute >= p.startMinute) ||
         (hour == p.endHour && minute < p.endMinute) || (hour != p.startHour && hour != p.endHour);
}

int findPeriod(const DayPlan& plan, int hour, int minute, CurrentTariff& current) {
  int found = -1;
  // No early exit: among overlapping periods the one listed last is in force.
  for (int k = 0; k < static_cast<int>(plan.size()); ++k) {
    if (periodInForce(plan[k], hour, minute)) found = k;
  }
  if (found < 0) {
    current.costPerHour = 0;
    current.name = kNoTariffName;
  } else {
    current.costPerHour = plan[found].costPerHour;
    current.name = plan[found].name;
  }
  return found;
}

int lookup(const IniFile& config, std::string_view entry, int hour, int minute, int weekday,
           CurrentTariff& current) {
  return lookupStored(config, entry, hour, minute, weekday, current);
}

DayPlan planFromTexts(const std::vector<std::string>& periodTexts) {
  DayPlan plan;
  plan.reserve(periodTexts.size());
  for (const std::string& text : periodTexts) {
    if (auto period = parsePeriodText(text)) {
      plan.push_back(std::move(*period));
    } else {
      // Keeps the numbering of the list; an end before the start is never in force.
      plan.push_back(TariffPeriod{.startHour = 1, .endHour = 0});
    }
  }
  return plan;
}

int lookupInList(const std::vector<std::string>& periodTexts, int hour, int minute,
                 CurrentTariff& current) {
  return findPeriod(planFromTexts(periodTexts), hour, minute, current);
}

}  // namespace tarvik
