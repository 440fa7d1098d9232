#include <cmath>

#include "config/entry_section.h"
#include "config/ini_file.h"
#include "stats/accounts.h"
#include "stats/counter_section.h"
#include "stats/statistics.h"
#include "stats/statistics_keys.h"

namespace tarvik {

bool Statistics::undoLastConnection(std::string_view entry) {
  IniFile file(files_.statistics());
  IniEdit edit(file);
  CounterSection s(edit, sectionForEntry(entry), format_, log_);

  // Taking the same connection back twice would subtract it twice.
  if (s.readInt("Undo").value_or(0) == 0) return false;

  const std::optional<double> weekdayValue = s.readMoney("UndoWD");
  const int weekday = weekdayValue ? static_cast<int>(std::trunc(*weekdayValue)) : -1;
  const std::optional<double> loss = s.readMoney("UndoLos");
  const long long seconds = s.readInt("UndoTim").value_or(0);
  bool negatives = false;

  for (std::string_view key : stats_keys::kCurrentCounts) {
    if (auto v = s.readInt(key)) {
      if (*v < 1) {
        *v = 1;
        negatives = true;
      }
      s.writeInt(key, *v - 1);
    }
  }

  s.writeText("TimeTC", s.readText("TimePC"));
  s.writeInt("TimePC", 0);
  for (std::string_view key : stats_keys::kCurrentTimes) {
    if (auto v = s.readInt(key)) {
      if (*v < seconds) {
        *v = seconds;
        negatives = true;
      }
      s.writeInt(key, *v - seconds);
    }
  }

  s.writeText("MoneyTC", s.readText("MoneyPC"));
  s.writeText("MoneyPC", "0");
  if (loss) {
    for (std::string_view key : stats_keys::kCurrentMoney) {
      if (auto v = s.readMoney(key)) {
        if (*v < *loss) {
          *v = *loss;
          negatives = true;
        }
        s.writeMoney(key, *v - *loss);
      }
    }
  }

  // The weekly record has no floor.
  if (weekday >= 0 && weekday <= 6) {
    const std::string d = std::to_string(weekday);
    s.addInt("Gr" + d + "t", -seconds);
    if (loss) {
      if (auto v = s.readInt("Gr" + d + "f")) {
        s.writeTruncated("Gr" + d + "f", static_cast<double>(*v) - *loss);
      }
    }
    s.addInt("Gr" + d + "c", -1);
  }

  // Cleared before the credit is written, so a failed credit cannot be followed by a second
  // undo of the same connection.
  s.writeInt("Undo", 0);
  s.writeInt("UndoX", 0);
  edit.commit();

  if (loss) Accounts(files_, format_, log_).creditEntry(entry, *loss);
  return negatives;
}

}  // namespace tarvik
