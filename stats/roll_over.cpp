#include <algorithm>
#include <filesystem>
#include <set>

#include "config/ini_file.h"
#include "config/keys.h"
#include "platform/event_log.h"
#include "stats/counter_section.h"
#include "stats/span_markers.h"
#include "stats/statistics.h"

namespace tarvik {

namespace {

// Section names compare without regard to case; a section listed twice (the phonebook may
// hold an entry named "default") must roll once, or its previous values would become 0.
std::string caseKey(std::string_view section) {
  std::string key(section);
  std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) {
    return c < 0x80 ? static_cast<char>(std::tolower(c)) : static_cast<char>(c);
  });
  return key;
}

template <std::size_t N>
void roll(IniEdit& edit, const Section<Scope::Statistics>& section,
          const std::array<stats_keys::RollPair, N>& pairs) {
  for (const auto& pair : pairs) {
    writeKey(edit, section, pair.previous, readKey(edit, section, pair.current));
    writeKey(edit, section, pair.current, "0");
  }
}

}  // namespace

RolloverResult Statistics::rollOver(const std::vector<std::string>& entries,
                                    const LocalTime& today) {
  IniFile config(files_.config());
  const SpanMarkers now = spanMarkersOf(today);

  // Day, week and month texts repeat every year; the year marker tells a start on the same
  // date a year later from a restart on the same day. Files written without it compare the
  // texts alone, and so does a year that is not a number.
  const auto markerSection = sections::update();
  const int storedYear = readKey(config, markerSection, update_keys::kYear);
  const bool yearChanged = storedYear >= 0 && storedYear != today.year;

  RolloverResult result;
  const auto stored = [&](const TextKey<Scope::Update>& key, const std::string& current) {
    return readKey(config, markerSection, key, current);
  };
  result.day = yearChanged || stored(update_keys::kDay, now.day) != now.day;
  result.week = yearChanged || stored(update_keys::kWeek, now.week) != now.week;
  result.month = yearChanged || stored(update_keys::kMonth, now.month) != now.month;

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
    writeKey(markers, markerSection, update_keys::kDay, now.day);
    writeKey(markers, markerSection, update_keys::kWeek, now.week);
    writeKey(markers, markerSection, update_keys::kMonth, now.month);
    writeKey(markers, markerSection, update_keys::kYear, now.year);
    markers.commit();
  } catch (const IniWriteError&) {
    return failedRollOver(" Failed saving settings.");
  }

  // Cleared only once the new month is on record, so the report of a failed roll stays.
  if (result.month && readSwitch(config, sections::global(), global_keys::kLogClear)) {
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
    const auto section = sections::statistics(entry);
    if (!rolled.insert(caseKey(section.name())).second) continue;
    if (result.day) {
      roll(edit, section, stats_keys::kDayPairs);
      roll(edit, section, stats_keys::kDayVolumePairs);
      writeKey(edit, section, stats_keys::kUndoX, "1");
    }
    if (result.week) {
      roll(edit, section, stats_keys::kWeekPairs);
      for (int d = 0; d <= 6; ++d) {
        writeKey(edit, section, stats_keys::weeklyTime(d), "0");
        writeKey(edit, section, stats_keys::weeklyMoney(d), "0");
        writeKey(edit, section, stats_keys::weeklyCount(d), "0");
      }
      roll(edit, section, stats_keys::kWeekVolumePairs);
      for (int d = 0; d <= 6; ++d) {
        writeKey(edit, section, stats_keys::weeklyReceived(d), "0");
        writeKey(edit, section, stats_keys::weeklySent(d), "0");
      }
    }
    if (result.month) {
      roll(edit, section, stats_keys::kMonthPairs);
      roll(edit, section, stats_keys::kMonthVolumePairs);
    }
  }
  edit.commit();
}

}  // namespace tarvik
