#include "tariff/day_plan_store.h"

#include <algorithm>
#include <cstdio>

#include "config/ini_file.h"
#include "config/keys.h"
#include "platform/time_text.h"

namespace tarvik {

namespace {

std::string fiveDigits(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%05d", value);
  return text;
}

Section<Scope::Tariff> sectionFrom(const IniFile& config, std::string_view entry) {
  return sections::tariff(hasOwnSettings(config, entry) ? entry : kDefaultEntry);
}

template <typename Reader>
DayPlan planFrom(const Reader& file, const Section<Scope::Tariff>& section, int weekday) {
  using namespace tariff_keys;
  int count = std::clamp(readKey(file, section, tariff_keys::count(weekday)), 0, kMaxTariffPeriods);
  DayPlan plan;
  plan.reserve(count);
  for (int i = 0; i < count; ++i) {
    TariffPeriod p;
    p.startHour = readKey(file, section, startHour(weekday, i));
    p.startMinute = readKey(file, section, startMinute(weekday, i));
    p.endHour = readKey(file, section, endHour(weekday, i));
    p.endMinute = readKey(file, section, endMinute(weekday, i));
    p.costPerHour = readKey(file, section, cost(weekday, i));
    p.name = readKey(file, section, name(weekday, i));
    plan.push_back(std::move(p));
  }
  return plan;
}

}  // namespace

Section<Scope::Tariff> tariffSection(const IniFile& config, std::string_view entry) {
  return sectionFrom(config, entry);
}

DayPlan readDayPlan(const IniFile& file, const Section<Scope::Tariff>& section, int weekday) {
  return planFrom(file, section, weekday);
}

int lookupStored(const IniFile& config, std::string_view entry, int hour, int minute, int weekday,
                 CurrentTariff& current) {
  using namespace tariff_keys;
  const auto section = sectionFrom(config, entry);
  const int count =
      std::clamp(readKey(config, section, tariff_keys::count(weekday)), 0, kMaxTariffPeriods);
  // The last period in force wins, so scanning from the end can stop at the first hit and
  // read the cost and name of that period alone.
  for (int k = count - 1; k >= 0; --k) {
    TariffPeriod p;
    p.startHour = readKey(config, section, startHour(weekday, k));
    p.endHour = readKey(config, section, endHour(weekday, k));
    if (p.endHour < hour || p.startHour > hour) continue;
    p.startMinute = readKey(config, section, startMinute(weekday, k));
    p.endMinute = readKey(config, section, endMinute(weekday, k));
    if (!periodInForce(p, hour, minute)) continue;
    current.costPerHour = readKey(config, section, cost(weekday, k));
    current.name = readKey(config, section, name(weekday, k));
    return k;
  }
  current.costPerHour = 0;
  current.name = kNoTariffName;
  return -1;
}

void writeDayPlan(IniEdit& edit, const Section<Scope::Tariff>& section, int weekday,
                  const DayPlan& plan) {
  using namespace tariff_keys;
  const int periods = std::min(static_cast<int>(plan.size()), kMaxTariffPeriods);
  writeKey(edit, section, tariff_keys::count(weekday), std::to_string(periods));
  for (int i = 0; i < periods; ++i) {
    const TariffPeriod& p = plan[i];
    writeKey(edit, section, startHour(weekday, i), twoDigits(p.startHour));
    writeKey(edit, section, startMinute(weekday, i), twoDigits(p.startMinute));
    writeKey(edit, section, endHour(weekday, i), twoDigits(p.endHour));
    writeKey(edit, section, endMinute(weekday, i), twoDigits(p.endMinute));
    writeKey(edit, section, cost(weekday, i), fiveDigits(p.costPerHour));
    writeKey(edit, section, name(weekday, i), p.name);
  }
}

void writeDayPlan(IniFile& file, const Section<Scope::Tariff>& section, int weekday,
                  const DayPlan& plan) {
  IniEdit edit(file);
  writeDayPlan(edit, section, weekday, plan);
  edit.commit();
}

std::string dayFileName(int weekday) {
  return "tariff_day" + std::to_string(weekday) + ".ini";
}

DayPlan readDayFile(const std::filesystem::path& file) {
  return readDayPlan(IniFile(file), sections::tariff(kDefaultEntry), 0);
}

void writeDayFile(const std::filesystem::path& file, const DayPlan& plan) {
  IniFile ini(file);
  writeDayPlan(ini, sections::tariff(kDefaultEntry), 0, plan);
}

}  // namespace tarvik
