#pragma once

#include <cstdint>
#include <vector>

namespace tarvik {

// Mono 16-bit PCM for one tone of the beep tunes.
struct ToneSpec {
  int frequencyHz = 0;
  int durationMs = 0;
  int sampleRate = 48000;
  // Peak amplitude; a little under half of full scale keeps the beeps from being harsh.
  int amplitude = 12000;
  // Length of the linear fade at each end, so the tone starts and stops without a click.
  int fadeMs = 5;
};

// Samples of a sine at `frequencyHz` lasting `durationMs`. A negative duration plays nothing.
// Frequencies at or above half the sample rate cannot be represented and give silence of the
// requested length, as do frequencies of zero or below.
std::vector<std::int16_t> synthesizeTone(const ToneSpec& tone);

// Number of samples a tone of `durationMs` takes at `sampleRate` (negative durations count as 0).
std::size_t toneSampleCount(int durationMs, int sampleRate);

}  // namespace tarvik
