#include "monitor/program_timers.h"

#include <string>

namespace tarvik {

ProgramTimers::ProgramTimers(TimerFactory& factory) {
  for (const TimerRow& row : kTimerTable) {
    std::unique_ptr<Timer> timer = factory.createTimer(std::string(row.name));
    timer->setEnabled(false);
    timer->setInterval(row.intervalMs);
    timers_[static_cast<std::size_t>(row.id)] = std::move(timer);
  }
}

MonitorTimers ProgramTimers::forMonitor() const {
  const ProgramTimers& t = *this;
  MonitorTimers m;
  m.online = &t[TimerId::Online];
  m.general = &t[TimerId::General];
  m.securityA = &t[TimerId::SecurityA];
  m.securityZ = &t[TimerId::SecurityZ];
  m.minute = &t[TimerId::Minute];
  m.second = &t[TimerId::Second];
  m.hangup = &t[TimerId::Hangup];
  m.hide = &t[TimerId::Hide];
  return m;
}

}  // namespace tarvik
