#include "monitor/tunes.h"

namespace tarvik {

namespace {

constexpr TuneStep pause{0, kTunePauseMs};

const std::vector<std::vector<TuneStep>>& allTunes() {
  static const std::vector<std::vector<TuneStep>> tunes = {
      {{2500, 100}},                                          // 0 warning flash
      {{1000, 100}, pause, {1500, 100}, pause, {2000, 500}},  // 1 tariff test passed
      {{100, 1000}},                                          // 2 tariff test failed
      {{1500, 100}, {1750, 100}, {2000, 250}},                // 3 connected
      {{100, 250}, pause, {100, 500}},                        // 4 disconnected
      {{2500, 200}},                                          // 5 every minute
      {{2500, 75}, pause, {2500, 75}},                        // 6 every N seconds
      {{1000, 750}},                                          // 7 zero balance
  };
  return tunes;
}

}  // namespace

const std::vector<TuneStep>& tuneSteps(int n) {
  static const std::vector<TuneStep> none;
  if (n < 0 || n >= kTuneCount) return none;
  return allTunes()[static_cast<std::size_t>(n)];
}

bool TunePlayer::play(int n) {
  for (const TuneStep& step : tuneSteps(n)) {
    if (step.isPause()) {
      device_.wait(step.durationMs);
      continue;
    }
    if (!device_.tone(step.frequencyHz, step.durationMs)) {
      log_.append(" Failed beeping...", true);
      return false;
    }
  }
  return true;
}

}  // namespace tarvik
