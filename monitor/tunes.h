#pragma once

#include <vector>

#include "platform/event_log.h"
#include "platform/sound.h"

namespace tarvik {

// One step of a beep tune: a tone, or (frequencyHz == 0) a 25 ms pause between tones.
struct TuneStep {
  int frequencyHz = 0;
  int durationMs = 0;
  bool isPause() const { return frequencyHz == 0; }
};

// The program's eight beep tunes, numbered as the settings dialog and the monitor use them:
// 0 warning flash, 1 tariff test passed, 2 tariff test failed, 3 connected, 4 disconnected,
// 5 every minute, 6 every N seconds, 7 zero balance.
inline constexpr int kTuneCount = 8;
inline constexpr int kTunePauseMs = 25;

// The steps of tune `n`; empty for a number outside 0..7.
const std::vector<TuneStep>& tuneSteps(int n);

// Plays tunes on the tone device. Each tone blocks until it has ended, like the speaker it
// models; a tone that fails is logged once and ends the tune.
class TunePlayer {
 public:
  TunePlayer(ToneDevice& device, EventLog& log) : device_(device), log_(log) {}

  // Returns false when a tone failed (" Failed beeping..." was logged).
  bool play(int n);

 private:
  ToneDevice& device_;
  EventLog& log_;
};

}  // namespace tarvik
