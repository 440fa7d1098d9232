#include "stats/statistics.h"

#include <array>
#include <cmath>

#include "config/ini_file.h"
#include "config/keys.h"
#include "stats/counter_section.h"

namespace tarvik {

Statistics::Statistics(ProgramFiles files, NumberFormat format, EventLog& log)
    : files_(std::move(files)), format_(format), log_(log) {}

void Statistics::bookConnection(std::string_view entry, int weekday, int seconds, float cost) {
  IniEdit edit(IniFile(files_.statistics()));
  addConnection(edit, entry, weekday, seconds, cost);
  edit.commit();
}

bool Statistics::bookConnectionOnce(std::string_view identity, std::string_view entry, int weekday,
                                    int seconds, float cost) {
  if (lastBookedIdentity() == identity) return false;
  IniEdit edit(IniFile(files_.statistics()));
  addConnection(edit, entry, weekday, seconds, cost);
  writeKey(edit, sections::sharedStatistics(), stats_keys::kBooked, identity);
  edit.commit();
  return true;
}

std::string Statistics::lastBookedIdentity() const {
  return readKey(IniFile(files_.statistics()), sections::sharedStatistics(), stats_keys::kBooked);
}

void Statistics::addConnection(IniEdit& edit, std::string_view entry, int weekday, int seconds,
                               float cost) {
  CounterSection s(edit, sections::statistics(entry), format_, log_);
  const double costValue = cost;  // widened exactly, so the texts show the float as it is

  for (const auto& key : stats_keys::kCurrentCounts) s.addInt(key, 1);

  s.writeText(stats_keys::kTimePC, s.readText(stats_keys::kTimeTC));
  s.writeInt(stats_keys::kTimeTC, seconds);
  for (const auto& key : stats_keys::kCurrentTimes) s.addInt(key, seconds);

  s.writeText(stats_keys::kMoneyPC, s.readText(stats_keys::kMoneyTC));
  s.writeMoney(stats_keys::kMoneyTC, costValue);
  for (const auto& key : stats_keys::kCurrentMoney) {
    if (auto old = s.readMoney(key)) s.writeMoney(key, *old + costValue);
  }

  if (weekday >= 0 && weekday <= 6) {
    s.addInt(stats_keys::weeklyTime(weekday), seconds);
    if (auto old = s.readInt(stats_keys::weeklyMoney(weekday))) {
      s.writeTruncated(stats_keys::weeklyMoney(weekday), static_cast<double>(*old) + costValue);
    }
    s.addInt(stats_keys::weeklyCount(weekday), 1);
  }

  s.writeInt(stats_keys::kUndo, 1);
  s.writeInt(stats_keys::kUndoX, 0);
  s.writeInt(stats_keys::kUndoWD, weekday);
  s.writeMoney(stats_keys::kUndoLos, costValue);
  s.writeInt(stats_keys::kUndoTim, seconds);
}

void Statistics::clear(std::string_view entry) {
  IniFile file(files_.statistics());
  IniEdit edit(file);
  const auto section = sections::statistics(entry);
  for (const auto& key : stats_keys::kClearedKeys) writeKey(edit, section, key, "0");
  edit.commit();
}

}  // namespace tarvik
