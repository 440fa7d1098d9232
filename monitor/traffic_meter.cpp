#include "monitor/traffic_meter.h"

namespace tarvik {

namespace {

constexpr std::uint64_t k32BitRange = std::uint64_t{1} << 32;
// More than any line moves between two readings a second apart: a wrap that claims more
// growth than this is a restarted counter whose old value happened to be high.
constexpr std::uint64_t kMostPlausibleGrowth = std::uint64_t{1} << 30;

std::uint64_t addCapped(std::uint64_t a, std::uint64_t b) {
  const std::uint64_t sum = a + b;
  return sum < a ? UINT64_MAX : sum;
}

}  // namespace

std::uint64_t counterGrowth(std::uint64_t before, std::uint64_t after) {
  if (after >= before) return after - before;
  if (before < k32BitRange) {
    const std::uint64_t wrapped = k32BitRange - before + after;
    if (wrapped <= kMostPlausibleGrowth) return wrapped;
  }
  return after;
}

void TrafficMeter::sample(std::uint64_t handle, const std::optional<TrafficBytes>& counters) {
  if (!counters) {
    sampleNothing();
    return;
  }
  // Another connection's counters have nothing to do with the last reading.
  if (last_ && handle == lastHandle_) {
    volume_.received =
        addCapped(volume_.received, counterGrowth(last_->received, counters->received));
    volume_.sent = addCapped(volume_.sent, counterGrowth(last_->sent, counters->sent));
  }
  last_ = counters;
  lastHandle_ = handle;
}

void TrafficMeter::sampleNothing() {
  last_.reset();
}

}  // namespace tarvik
