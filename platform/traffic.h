#pragma once

#include <cstdint>

namespace tarvik {

// Bytes received and sent: either a connection's raw interface counters as the
// remote-access service reports them, or the volume a connection has moved.
struct TrafficBytes {
  std::uint64_t received = 0;
  std::uint64_t sent = 0;

  bool operator==(const TrafficBytes&) const = default;
};

}  // namespace tarvik
