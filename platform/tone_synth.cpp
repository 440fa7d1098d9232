#include "platform/tone_synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tarvik {

std::size_t toneSampleCount(int durationMs, int sampleRate) {
  if (durationMs <= 0 || sampleRate <= 0) return 0;
  return static_cast<std::size_t>(static_cast<std::int64_t>(durationMs) * sampleRate / 1000);
}

std::vector<std::int16_t> synthesizeTone(const ToneSpec& tone) {
  const std::size_t count = toneSampleCount(tone.durationMs, tone.sampleRate);
  std::vector<std::int16_t> samples(count, 0);
  if (tone.frequencyHz <= 0 || 2 * tone.frequencyHz >= tone.sampleRate) return samples;

  const double amplitude = std::clamp(tone.amplitude, 0, 32767);
  // The fade never takes more than half the tone, so very short tones still rise and fall.
  const std::size_t fade = std::min(toneSampleCount(tone.fadeMs, tone.sampleRate), count / 2);
  const double step = 2.0 * std::numbers::pi * tone.frequencyHz / tone.sampleRate;
  for (std::size_t i = 0; i < count; ++i) {
    double gain = 1.0;
    const std::size_t fromEnd = count - 1 - i;
    if (fade > 0 && i < fade) gain = static_cast<double>(i) / fade;
    if (fade > 0 && fromEnd < fade) gain = std::min(gain, static_cast<double>(fromEnd) / fade);
    samples[i] = static_cast<std::int16_t>(std::lround(amplitude * gain * std::sin(step * i)));
  }
  return samples;
}

}  // namespace tarvik
