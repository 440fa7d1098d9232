#include "tariff/tariff_tester.h"

#include <cstdio>

namespace tarvik {

std::string testerLine(int hour, int minute, int period, const CurrentTariff& found) {
  char head[64];
  std::snprintf(head, sizeof head, "%02d:%02d = %d/ч (тариф #%d «", hour, minute, found.costPerHour,
                period);
  return head + found.name + "»)";
}

TariffTestResult testDayPlan(const std::vector<std::string>& periodTexts) {
  // Read the texts once; each minute then looks them up as the list form of the lookup does.
  const DayPlan plan = planFromTexts(periodTexts);
  TariffTestResult result;
  result.lines.reserve(kMinutesPerDay);
  result.periods.reserve(kMinutesPerDay);
  CurrentTariff found;
  for (int hour = 0; hour < 24; ++hour) {
    for (int minute = 0; minute < 60; ++minute) {
      const int period = findPeriod(plan, hour, minute, found);
      if (period < 0) ++result.gaps;
      result.periods.push_back(period);
      result.lines.push_back(testerLine(hour, minute, period, found));
    }
  }
  return result;
}

}  // namespace tarvik
