#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>

#include "config/entry_section.h"
#include "config/ini_file.h"
#include "config/keys.h"
#include "platform/event_log.h"
#include "stats/counter_section.h"
#include "stats/statistics.h"
#include "stats/statistics_keys.h"

namespace tarvik {

namespace {

std::string twoDigits(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

// The markers of one start-up.
struct Markers {
  std::string day;    // "dd.mm"
  std::string week;   // "%W", two digits
  std::string month;  // "mm"
  std::string year;   // "yyyy"
};

Markers markersOf(const LocalTime& t) {
  return {twoDigits(t.day) + "." + twoDigits(t.month), twoDigits(weekNumberMondayFirst(t)),
          twoDigits(t.month), std::to_string(t.year)};
}

// Section names compare without regard to case; a section listed twice (the phonebook may
// hold an entry named "default") must roll once, or its previous values would become 0.
std::string caseKey(std::string_view section) {
  std::string key(section);
  std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) {
    return c < 0x80 ? static_cast<char>(std::tolower(c)) : static_cast<char>(c);
  });
  return key;
}

void roll(IniEdit& edit, std::string_view section,
          const std::array<stats_keys::RollPair, 3>& pairs) {
  for (const auto& pair : pairs) {
    edit.writeString(section, pair.previous, edit.readString(section, pair.current, "0"));
    edit.writeString(section, pair.current, "0");
  }
}

}  // namespace

RolloverResult Statistics::rollOver(const std::vector<std::string>& entries,
                                    const LocalTime& today) {
  IniFile config(files_.config());
  const Markers now = markersOf(today);

  // Day, week and month texts repeat every year; the year marker tells a start on the same
  // date a year later from a restart on the same day. Files written without it compare the
  // texts alone, and so does a year that is not a number.
  const int storedYear = config.readInt(kUpdateSection, "Year", -1);
  const bool yearChanged = storedYear >= 0 && storedYear != today.year;

  RolloverResult result;
  result.day = yearChanged || config.readString(kUpdateSection, "Day", now.day) != now.day;
  result.week = yearChanged || config.readString(kUpdateSection, "Week", now.week) != now.week;
  result.month = yearChanged || config.readString(kUpdateSection, "Month", now.month) != now.month;

  // The markers are stored only after the statistics were rolled, so a roll that did not
  // reach the disk is made again at the next start. Settings that cannot take the markers
  // would have the statistics rolled at every start, so nothing is rolled then.
  const bool changed = result.day || result.week || result.month;
  if (changed && !canReplaceFile(config.path())) return failedRollOver(" Failed saving settings.");
  try {
    if (changed) rollEntries(entries, result);
  } catch (const IniWriteError&) {
    return failedRollOver(" Failed saving statistics.");
  }
  try {
    IniEdit markers(config);
    markers.writeString(kUpdateSection, "Day", now.day);
    markers.writeString(kUpdateSection, "Week", now.week);
    markers.writeString(kUpdateSection, "Month", now.month);
    markers.writeString(kUpdateSection, "Year", now.year);
    markers.commit();
  } catch (const IniWriteError&) {
    return failedRollOver(" Failed saving settings.");
  }

  // Cleared only once the new month is on record, so the report of a failed roll stays.
  if (result.month && readSwitch(config, kGlobalSection, global_keys::kLogClear)) {
    std::error_code ignored;
    std::filesystem::remove(log_.path(), ignored);
    log_.append(" Log-file cleared.");
  }
  return result;
}

RolloverResult Statistics::failedRollOver(std::string_view report) {
  log_.append(report);
  return {};
}

void Statistics::rollEntries(const std::vector<std::string>& entries,
                             const RolloverResult& result) {
  IniFile statistics(files_.statistics());
  IniEdit edit(statistics);
  std::set<std::string> rolled;
  for (const std::string& entry : entries) {
    const std::string section = sectionForEntry(entry);
    if (!rolled.insert(caseKey(section)).second) continue;
    if (result.day) {
      roll(edit, section, stats_keys::kDayPairs);
      edit.writeString(section, "UndoX", "1");
    }
    if (result.week) {
      roll(edit, section, stats_keys::kWeekPairs);
      for (int d = 0; d <= 6; ++d) {
        const std::string prefix = "Gr" + std::to_string(d);
        edit.writeString(section, prefix + "t", "0");
        edit.writeString(section, prefix + "f", "0");
        edit.writeString(section, prefix + "c", "0");
      }
    }
    if (result.month) roll(edit, section, stats_keys::kMonthPairs);
  }
  edit.commit();
}

}  // namespace tarvik
