#pragma once

#include <cstdint>
#include <string>

#include "monitor/monitor_env.h"
#include "platform/clock.h"
#include "platform/traffic.h"
#include "stats/limit_span.h"

namespace tarvik {

// The entry's data limit while a connection is metered: what the statistics booked in the
// limit's span plus what the running connection has moved, a warning at the chosen share and
// one at the limit (each once per span, also across restarts: the mark lives in the
// statistics file), and the hang-up at the limit when it is asked for.
class DataLimit {
 public:
  explicit DataLimit(const MonitorEnv& env) : env_(env) {}

  // Metering of `entry` begins (also the second half of a split, whose first half is booked
  // by now): the limit is read and the span's booked bytes taken from the statistics.
  void start(const std::string& entry, const LocalTime& now);
  // The entry's keys were read again while metering; the connection's count goes on.
  void reload(const std::string& entry, const LocalTime& now);
  // One meter tick with the connection's volume so far. Returns true when the span changed,
  // so the tooltip's line is due even if the volume did not change.
  bool tick(const LocalTime& now, const TrafficBytes& volume);

  bool on() const { return settings_.on; }
  // Bytes used in the span, the running connection's `volume` included.
  std::uint64_t used(const TrafficBytes& volume) const;
  // The tooltip's line ("" while no limit is set).
  std::string hintLine(const TrafficBytes& volume) const;

 private:
  // Takes the span in force at `now`; `runningNow` is what the connection counted so far.
  void settle(const LocalTime& now, std::uint64_t runningNow);
  void warnShare(std::uint64_t used);
  void warnLimit();
  void saveMark();

  const MonitorEnv& env_;
  std::string entry_;
  LimitSettings settings_;
  std::uint64_t limitBytes_ = 0;
  std::uint64_t shareBytes_ = 0;
  LimitPeriod period_;
  LimitMark mark_;
  std::uint64_t booked_ = 0;       // booked in the span before this connection (or half)
  std::uint64_t runningBase_ = 0;  // the connection's count when the span began
  std::int64_t lastHangUp_ = -1;   // clock ticks of the last hang-up asked for
  bool markFailed_ = false;
};

}  // namespace tarvik
