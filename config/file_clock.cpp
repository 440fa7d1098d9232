#include "config/file_clock.h"

namespace tarvik {
namespace {

constexpr long long kNsPerSecond = 1'000'000'000;
constexpr long long kCoarseStampNs = 10'000'000;
constexpr long long kCoarseStampGrainNs = 2 * kNsPerSecond;

long long nanoseconds(const timespec& t) {
  return static_cast<long long>(t.tv_sec) * kNsPerSecond + t.tv_nsec;
}

}  // namespace

long long fileClockNs() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME_COARSE, &now);
  return nanoseconds(now);
}

bool stampProvesCopy(const timespec& changed, long long takenAtNs) {
  const long long grain = changed.tv_nsec % kCoarseStampNs == 0 ? kCoarseStampGrainNs : 0;
  return nanoseconds(changed) + grain < takenAtNs;
}

}  // namespace tarvik
