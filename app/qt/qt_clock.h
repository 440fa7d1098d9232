#pragma once

#include <QElapsedTimer>
#include <memory>

#include "platform/clock.h"
#include "platform/timer.h"

namespace tarvik {

// The local wall clock and a monotonic tick counter, from Qt.
class QtClock final : public Clock {
 public:
  QtClock();
  LocalTime now() const override;
  std::int64_t ticks() const override;

 private:
  QElapsedTimer elapsed_;
};

// Timers on the Qt event loop of the user-interface thread, all driven by one kernel timer.
class QtTimerFactory final : public TimerFactory {
 public:
  QtTimerFactory();
  ~QtTimerFactory() override;
  std::unique_ptr<Timer> createTimer(std::string name) override;
  // While both run with the same interval, `follower` fires in `leader`'s wake-ups: started, it
  // takes the leader's next event instead of a countdown of its own, and it keeps the leader's
  // rhythm when the leader starts afresh. Both must come from this factory.
  void pace(Timer& follower, const Timer& leader);

  class Scheduler;

 private:
  // Shared with the timers, which may outlive the factory.
  std::shared_ptr<Scheduler> scheduler_;
};

}  // namespace tarvik
