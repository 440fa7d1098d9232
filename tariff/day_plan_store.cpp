#include "tariff/day_plan_store.h"

#include <algorithm>
#include <cstdio>

#include "config/entry_section.h"
#include "config/ini_file.h"
#include "config/keys.h"

namespace tarvik {

namespace {

constexpr std::string_view kDefaultSection = "Default";

std::string countKey(int weekday) {
  return "Tar" + std::to_string(weekday);
}

// "Tar" + d + "x" + i + field, e.g. Tar6x12Cost.
std::string periodKey(int weekday, int index, std::string_view field) {
  std::string key = countKey(weekday);
  key += 'x';
  key += std::to_string(index);
  key += field;
  return key;
}

std::string twoDigits(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

std::string fiveDigits(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%05d", value);
  return text;
}

std::string sectionFrom(const IniFile& config, std::string_view entry) {
  std::string own = sectionForEntry(entry);
  if (hasOwnSettings(config, own)) return own;
  return std::string(kDefaultSection);
}

template <typename Reader>
DayPlan planFrom(const Reader& file, std::string_view section, int weekday) {
  int count = std::clamp(file.readInt(section, countKey(weekday), 1), 0, kMaxTariffPeriods);
  DayPlan plan;
  plan.reserve(count);
  for (int i = 0; i < count; ++i) {
    TariffPeriod p;
    p.startHour = file.readInt(section, periodKey(weekday, i, "AH"), 0);
    p.startMinute = file.readInt(section, periodKey(weekday, i, "AM"), 0);
    p.endHour = file.readInt(section, periodKey(weekday, i, "ZH"), 24);
    p.endMinute = file.readInt(section, periodKey(weekday, i, "ZM"), 0);
    p.costPerHour = file.readInt(section, periodKey(weekday, i, "Cost"), 0);
    p.name = file.readString(section, periodKey(weekday, i, "Name"), kGuestTariffName);
    plan.push_back(std::move(p));
  }
  return plan;
}

}  // namespace

std::string tariffSection(const IniFile& config, std::string_view entry) {
  return sectionFrom(config, entry);
}

DayPlan readDayPlan(const IniFile& file, std::string_view section, int weekday) {
  return planFrom(file, section, weekday);
}

int lookupStored(const IniFile& config, std::string_view entry, int hour, int minute, int weekday,
                 CurrentTariff& current) {
  const std::string section = sectionFrom(config, entry);
  const int count = std::clamp(config.readInt(section, countKey(weekday), 1), 0, kMaxTariffPeriods);
  // The last period in force wins, so scanning from the end can stop at the first hit and
  // read the cost and name of that period alone.
  for (int k = count - 1; k >= 0; --k) {
    TariffPeriod p;
    p.startHour = config.readInt(section, periodKey(weekday, k, "AH"), 0);
    p.endHour = config.readInt(section, periodKey(weekday, k, "ZH"), 24);
    if (p.endHour < hour || p.startHour > hour) continue;
    p.startMinute = config.readInt(section, periodKey(weekday, k, "AM"), 0);
    p.endMinute = config.readInt(section, periodKey(weekday, k, "ZM"), 0);
    if (!periodInForce(p, hour, minute)) continue;
    current.costPerHour = config.readInt(section, periodKey(weekday, k, "Cost"), 0);
    current.name = config.readString(section, periodKey(weekday, k, "Name"), kGuestTariffName);
    return k;
  }
  current.costPerHour = 0;
  current.name = kNoTariffName;
  return -1;
}

void writeDayPlan(IniEdit& edit, std::string_view section, int weekday, const DayPlan& plan) {
  int count = std::min(static_cast<int>(plan.size()), kMaxTariffPeriods);
  edit.writeString(section, countKey(weekday), std::to_string(count));
  for (int i = 0; i < count; ++i) {
    const TariffPeriod& p = plan[i];
    edit.writeString(section, periodKey(weekday, i, "AH"), twoDigits(p.startHour));
    edit.writeString(section, periodKey(weekday, i, "AM"), twoDigits(p.startMinute));
    edit.writeString(section, periodKey(weekday, i, "ZH"), twoDigits(p.endHour));
    edit.writeString(section, periodKey(weekday, i, "ZM"), twoDigits(p.endMinute));
    edit.writeString(section, periodKey(weekday, i, "Cost"), fiveDigits(p.costPerHour));
    edit.writeString(section, periodKey(weekday, i, "Name"), p.name);
  }
}

void writeDayPlan(IniFile& file, std::string_view section, int weekday, const DayPlan& plan) {
  IniEdit edit(file);
  writeDayPlan(edit, section, weekday, plan);
  edit.commit();
}

std::string dayFileName(int weekday) {
  return "tariff_day" + std::to_string(weekday) + ".ini";
}

DayPlan readDayFile(const std::filesystem::path& file) {
  return readDayPlan(IniFile(file), kDefaultSection, 0);
}

void writeDayFile(const std::filesystem::path& file, const DayPlan& plan) {
  IniFile ini(file);
  writeDayPlan(ini, kDefaultSection, 0, plan);
}

}  // namespace tarvik
