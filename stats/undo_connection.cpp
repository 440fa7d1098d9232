#include <algorithm>
#include <cmath>

#include "config/ini_file.h"
#include "config/keys.h"
#include "stats/accounts.h"
#include "stats/counter_section.h"
#include "stats/statistics.h"

namespace tarvik {

namespace {

// Takes one direction's bytes of the last connection back: the connection values step back
// like the time, the spans are held at 0 like the others; returns whether one was held.
bool undoDirection(CounterSection& s, long long bytes, const stats_keys::K& thisConnection,
                   const stats_keys::K& previousConnection,
                   const std::array<stats_keys::K, 4>& spans,
                   const std::optional<stats_keys::K>& weekly) {
  bool negatives = false;
  s.writeText(thisConnection, s.readText(previousConnection));
  s.writeInt(previousConnection, 0);
  for (const auto& key : spans) {
    if (auto v = s.readInt(key)) {
      if (*v < bytes) {
        *v = bytes;
        negatives = true;
      }
      s.writeInt(key, *v - bytes);
    }
  }
  // The weekly record has no floor, as for time and money.
  if (weekly) s.addInt(*weekly, -bytes);
  return negatives;
}

bool undoVolume(CounterSection& s) {
  namespace k = stats_keys;
  const std::optional<double> weekdayValue = s.readMoney(k::kUndoWD);
  const int weekday = weekdayValue ? static_cast<int>(std::trunc(*weekdayValue)) : -1;
  const long long rx = std::max(0LL, s.readInt(k::kUndoRx).value_or(0));
  const long long tx = std::max(0LL, s.readInt(k::kUndoTx).value_or(0));
  const bool validDay = weekday >= 0 && weekday <= 6;
  const auto weekly = [&](const stats_keys::K& key) {
    return validDay ? std::optional<stats_keys::K>(key) : std::nullopt;
  };
  const bool rxHeld = undoDirection(s, rx, k::kRxTC, k::kRxPC, k::kCurrentReceived,
                                    weekly(k::weeklyReceived(validDay ? weekday : 0)));
  const bool txHeld = undoDirection(s, tx, k::kTxTC, k::kTxPC, k::kCurrentSent,
                                    weekly(k::weeklySent(validDay ? weekday : 0)));
  return rxHeld || txHeld;
}

}  // namespace

bool Statistics::undoLastConnection(std::string_view entry) {
  IniFile file(files_.statistics());
  IniEdit edit(file);
  CounterSection s(edit, sections::statistics(entry), format_, log_);
  namespace k = stats_keys;

  // Taking the same connection back twice would subtract it twice.
  if (s.readInt(k::kUndo).value_or(0) == 0) return false;

  const std::optional<double> weekdayValue = s.readMoney(k::kUndoWD);
  const int weekday = weekdayValue ? static_cast<int>(std::trunc(*weekdayValue)) : -1;
  const std::optional<double> loss = s.readMoney(k::kUndoLos);
  const long long seconds = s.readInt(k::kUndoTim).value_or(0);
  bool negatives = false;

  for (const auto& key : stats_keys::kCurrentCounts) {
    if (auto v = s.readInt(key)) {
      if (*v < 1) {
        *v = 1;
        negatives = true;
      }
      s.writeInt(key, *v - 1);
    }
  }

  s.writeText(k::kTimeTC, s.readText(k::kTimePC));
  s.writeInt(k::kTimePC, 0);
  for (const auto& key : stats_keys::kCurrentTimes) {
    if (auto v = s.readInt(key)) {
      if (*v < seconds) {
        *v = seconds;
        negatives = true;
      }
      s.writeInt(key, *v - seconds);
    }
  }

  s.writeText(k::kMoneyTC, s.readText(k::kMoneyPC));
  s.writeText(k::kMoneyPC, "0");
  if (loss) {
    for (const auto& key : stats_keys::kCurrentMoney) {
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
    s.addInt(k::weeklyTime(weekday), -seconds);
    if (loss) {
      if (auto v = s.readInt(k::weeklyMoney(weekday))) {
        s.writeTruncated(k::weeklyMoney(weekday), static_cast<double>(*v) - *loss);
      }
    }
    s.addInt(k::weeklyCount(weekday), -1);
  }

  if (undoVolume(s)) negatives = true;

  // Cleared before the credit is written, so a failed credit cannot be followed by a second
  // undo of the same connection.
  s.writeInt(k::kUndo, 0);
  s.writeInt(k::kUndoX, 0);
  edit.commit();

  if (loss) Accounts(files_, format_, log_).creditEntry(entry, *loss);
  return negatives;
}

}  // namespace tarvik
