#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/timer.h"

namespace tarvik {

// A clock and timer source that only moves when told to. advance() fires every due timer in
// the order of its due time (timers due at the same moment fire in the order they were
// created), setting the clock to each due time first, so a whole connection, a tariff change
// or midnight runs in milliseconds of real time.
class VirtualClock final : public Clock, public TimerFactory {
 public:
  explicit VirtualClock(LocalTime start = makeLocalTime(2026, 12, 7, 12, 0, 0));
  ~VirtualClock() override;

  LocalTime now() const override;
  std::int64_t ticks() const override;
  std::unique_ptr<Timer> createTimer(std::string name) override;

  // Moves time forward by `ms`, firing due timers on the way.
  void advance(std::int64_t ms);
  // Moves time forward to `t` (no-op when `t` is not later than now).
  void advanceTo(const LocalTime& t);
  // Jumps the wall clock without firing timers (a changed system time).
  void setNow(const LocalTime& t);

  // The live timer of that name, or nullptr (for assertions in tests).
  Timer* timer(const std::string& name) const;
  // Names of the timers fired so far, in order; cleared by clearFired().
  const std::vector<std::string>& fired() const { return fired_; }
  void clearFired() { fired_.clear(); }

 private:
  class VirtualTimer;
  friend class VirtualTimer;

  std::int64_t nowMs_;
  std::int64_t ticks_ = 0;
  std::uint64_t nextSequence_ = 0;
  std::vector<VirtualTimer*> timers_;
  std::vector<std::string> fired_;
};

}  // namespace tarvik
