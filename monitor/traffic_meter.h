#pragma once

#include <cstdint>
#include <optional>

#include "platform/traffic.h"

namespace tarvik {

// Turns the interface counters the probe reads once a second into the volume of the metered
// connection. Only the growth between two readings of the same connection is counted, so a
// second half after a virtual reconnect starts from where the first half stopped instead of
// counting the bytes again. A counter that goes back either wrapped at 32 bits (the growth
// past the wrap is counted) or started again with a new interface (its new value is
// counted); the volume never shrinks.
class TrafficMeter {
 public:
  // A reading of the probe: the connection's handle and its counters, or nullopt when no
  // connection (or no counter) was seen, which ends the run of readings.
  void sample(std::uint64_t handle, const std::optional<TrafficBytes>& counters);
  void sampleNothing();

  // A new count starts at 0 (metering started, or the second half of a split); the last
  // reading stays the base of the next growth.
  void restartCount() { volume_ = {}; }

  const TrafficBytes& volume() const { return volume_; }
  // The line reports counters for the connection (or did for a part of this count).
  bool counting() const { return last_.has_value() || volume_ != TrafficBytes{}; }

 private:
  TrafficBytes volume_;
  std::optional<TrafficBytes> last_;
  std::uint64_t lastHandle_ = 0;
};

// The growth of one counter from `before` to `after`, by the rules above.
std::uint64_t counterGrowth(std::uint64_t before, std::uint64_t after);

}  // namespace tarvik
