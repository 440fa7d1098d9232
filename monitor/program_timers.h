#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string_view>

#include "config/keys.h"
#include "monitor/monitor_env.h"
#include "platform/timer.h"

namespace tarvik {

// The program's timers. They are created once, all at the same time, so that every part of
// the program attaches its handler to the same one.
enum class TimerId {
  Online,
  General,
  SecurityA,
  SecurityZ,
  Remind,
  Minute,
  Second,
  Hangup,
  Flash,
  FlashAnti,
  Midnight,
  Reboot,
  Hide,
  Baloon,
};

struct TimerRow {
  TimerId id;
  std::string_view name;
  int intervalMs;  // an interval that follows a setting starts at the key's default
};

inline constexpr std::array kTimerTable{
    TimerRow{TimerId::Online, "t_online", 1000},         // the connection poller
    TimerRow{TimerId::General, "t_general", 750},        // the meter tick
    TimerRow{TimerId::SecurityA, "t_security_a", 5000},  // crash journal, level 1
    TimerRow{TimerId::SecurityZ, "t_security_z", 5555},  // crash journal, level 2
    TimerRow{TimerId::Remind, "t_remind", 60000},        // the recovery question again
    TimerRow{TimerId::Minute, "t_minute", 59995},        // the beep every minute
    TimerRow{TimerId::Second, "t_second", entry_keys::kOnLinePeriod.def * 1000 - 5},
    TimerRow{TimerId::Hangup, "t_hangup", entry_keys::kHangUpTime.def * 1000},
    TimerRow{TimerId::Flash, "t_flash", 250},  // the steps of a warning flash
    TimerRow{TimerId::FlashAnti, "t_flash_anti", global_keys::kWarnTime.def * 1000},
    TimerRow{TimerId::Midnight, "t_midnight", 888},                  // looks for midnight
    TimerRow{TimerId::Reboot, "t_reboot", global_keys::kPause.def},  // the start-up pause
    TimerRow{TimerId::Hide, "t_hide", entry_keys::kStatusWait.def * 1000},
    TimerRow{TimerId::Baloon, "t_baloon", global_keys::kHelpTime.def * 1000},
};

constexpr bool timerTableInIdOrder() {
  for (std::size_t i = 0; i < kTimerTable.size(); ++i)
    if (static_cast<std::size_t>(kTimerTable[i].id) != i) return false;
  return true;
}
static_assert(timerTableInIdOrder());

constexpr const TimerRow& timerRow(TimerId id) {
  return kTimerTable[static_cast<std::size_t>(id)];
}
constexpr int intervalOf(TimerId id) {
  return timerRow(id).intervalMs;
}

// Every timer of the table, created switched off with its first interval.
class ProgramTimers {
 public:
  explicit ProgramTimers(TimerFactory& factory);

  Timer& operator[](TimerId id) const { return *timers_[static_cast<std::size_t>(id)]; }
  // The ones the connection monitor switches.
  MonitorTimers forMonitor() const;

 private:
  std::array<std::unique_ptr<Timer>, kTimerTable.size()> timers_;
};

}  // namespace tarvik
