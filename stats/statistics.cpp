#include "stats/statistics.h"

#include <array>
#include <cmath>

#include "config/entry_section.h"
#include "config/ini_file.h"
#include "config/keys.h"
#include "stats/counter_section.h"
#include "stats/statistics_keys.h"

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
  edit.writeString(kGlobalSection, stats_keys::kBooked, identity);
  edit.commit();
  return true;
}

std::string Statistics::lastBookedIdentity() const {
  return IniFile(files_.statistics()).readString(kGlobalSection, stats_keys::kBooked, "");
}

void Statistics::addConnection(IniEdit& edit, std::string_view entry, int weekday, int seconds,
                               float cost) {
  CounterSection s(edit, sectionForEntry(entry), format_, log_);
  const double costValue = cost;  // widened exactly, so the texts show the float as it is

  for (std::string_view key : stats_keys::kCurrentCounts) s.addInt(key, 1);

  s.writeText("TimePC", s.readText("TimeTC"));
  s.writeInt("TimeTC", seconds);
  for (std::string_view key : stats_keys::kCurrentTimes) s.addInt(key, seconds);

  s.writeText("MoneyPC", s.readText("MoneyTC"));
  s.writeMoney("MoneyTC", costValue);
  for (std::string_view key : stats_keys::kCurrentMoney) {
    if (auto old = s.readMoney(key)) s.writeMoney(key, *old + costValue);
  }

  if (weekday >= 0 && weekday <= 6) {
    const std::string d = std::to_string(weekday);
    s.addInt("Gr" + d + "t", seconds);
    if (auto old = s.readInt("Gr" + d + "f")) {
      s.writeTruncated("Gr" + d + "f", static_cast<double>(*old) + costValue);
    }
    s.addInt("Gr" + d + "c", 1);
  }

  s.writeInt("Undo", 1);
  s.writeInt("UndoX", 0);
  s.writeInt("UndoWD", weekday);
  s.writeMoney("UndoLos", costValue);
  s.writeInt("UndoTim", seconds);
}

void Statistics::clear(std::string_view entry) {
  IniFile file(files_.statistics());
  IniEdit edit(file);
  const std::string section = sectionForEntry(entry);
  for (std::string_view key : stats_keys::kClearedKeys) edit.writeInt(section, key, 0);
  edit.commit();
}

}  // namespace tarvik
