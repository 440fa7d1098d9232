#include "tariff/tariff_changes.h"

#include <algorithm>

namespace tarvik {

namespace {

constexpr int kMinutesPerDay = 1440;

// The lookup can change its answer only at the full hour or at a minute where a period
// starts or ends within its hour (hand-edited plans included: a period whose end lies before
// its start is in force at both ends of its hour).
void addBoundaries(const DayPlan& plan, int dayStart, std::vector<int>& minutes) {
  for (int hour = 0; hour < 24; ++hour) minutes.push_back(dayStart + hour * 60);
  const auto add = [&](int hour, int minute) {
    if (hour >= 0 && hour < 24 && minute > 0 && minute < 60)
      minutes.push_back(dayStart + hour * 60 + minute);
  };
  for (const TariffPeriod& p : plan) {
    add(p.startHour, p.startMinute);
    add(p.endHour, p.endMinute);
  }
}

CurrentTariff tariffAt(const DayPlan& today, const DayPlan& tomorrow, int minute) {
  const DayPlan& plan = minute < kMinutesPerDay ? today : tomorrow;
  const int ofDay = minute % kMinutesPerDay;
  CurrentTariff t;
  findPeriod(plan, ofDay / 60, ofDay % 60, t);
  return t;
}

bool sameTariff(const CurrentTariff& a, const CurrentTariff& b) {
  return a.costPerHour == b.costPerHour && a.name == b.name;
}

}  // namespace

std::vector<TariffChange> tariffChangesAhead(const DayPlan& today, const DayPlan& tomorrow,
                                             int from, int until) {
  until = std::min(until, 2 * kMinutesPerDay - 1);
  std::vector<int> minutes{kMinutesPerDay};
  addBoundaries(today, 0, minutes);
  addBoundaries(tomorrow, kMinutesPerDay, minutes);
  std::sort(minutes.begin(), minutes.end());
  minutes.erase(std::unique(minutes.begin(), minutes.end()), minutes.end());

  std::vector<TariffChange> changes;
  CurrentTariff current = tariffAt(today, tomorrow, from);
  for (const int minute : minutes) {
    if (minute <= from || minute > until) continue;
    CurrentTariff next = tariffAt(today, tomorrow, minute);
    if (sameTariff(next, current)) continue;
    changes.push_back({minute, current, next});
    current = std::move(next);
  }
  return changes;
}

}  // namespace tarvik
