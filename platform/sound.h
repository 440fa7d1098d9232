#pragma once

#include <string>

namespace tarvik {

// Plays one tone and returns when it has ended. Returns false when the tone could not be
// played (no audio device): the caller logs it and stops the tune.
class ToneDevice {
 public:
  virtual ~ToneDevice() = default;
  virtual bool tone(int frequencyHz, int durationMs) = 0;
  // A short pause between tones; blocks for `ms` without running the event loop.
  virtual void wait(int ms) = 0;
  // Whether a tone is still held up in the audio system (the device cannot be closed then).
  virtual bool stuck() const { return false; }
};

// Plays a sound file asynchronously and returns at once. An empty or missing file plays
// nothing.
class SoundPlayer {
 public:
  virtual ~SoundPlayer() = default;
  virtual void play(const std::string& file) = 0;
  // Whether a sound is playing now.
  virtual bool playing() const { return false; }
};

}  // namespace tarvik
