#include "platform/tone_synth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace tarvik {
namespace {

int zeroCrossings(const std::vector<std::int16_t>& s, std::size_t from, std::size_t to) {
  int crossings = 0;
  int lastSign = 0;
  for (std::size_t i = from; i < to; ++i) {
    const int sign = (s[i] > 0) - (s[i] < 0);
    if (sign == 0) continue;
    if (lastSign != 0 && sign != lastSign) ++crossings;
    lastSign = sign;
  }
  return crossings;
}

int peak(const std::vector<std::int16_t>& s, std::size_t from, std::size_t to) {
  int result = 0;
  for (std::size_t i = from; i < to; ++i) result = std::max(result, std::abs(int{s[i]}));
  return result;
}

// Every tone of the tunes: the pitch is right, measured by the zero crossings over the
// whole tone (two per period).
TEST(ToneSynthTest, FrequencyOfTheTuneTones) {
  for (int hz : {100, 1000, 1500, 1750, 2000, 2500}) {
    for (int ms : {75, 100, 250, 1000}) {
      const auto s = synthesizeTone({.frequencyHz = hz, .durationMs = ms});
      const double expected = 2.0 * hz * ms / 1000.0;
      EXPECT_NEAR(zeroCrossings(s, 0, s.size()), expected, 2.0) << hz << " Hz, " << ms << " ms";
    }
  }
}

// Each row: a tone, how many samples it lasts, and whether it is heard at all; every
// tone that has samples starts and ends in silence.
TEST(ToneSynthTest, LengthIsTheSampleCountAndUnplayableTonesAreSilent) {
  struct Row {
    const char* what;
    ToneSpec tone;
    std::size_t samples;
    bool heard;
  };
  const Row rows[] = {
      {"100 ms", {.frequencyHz = 1000, .durationMs = 100}, 4800, true},
      {"44.1 kHz", {.frequencyHz = 1000, .durationMs = 250, .sampleRate = 44100}, 11025, true},
      {"one second", {.frequencyHz = 100, .durationMs = 1000}, 48000, true},
      {"shorter than two fades", {.frequencyHz = 2500, .durationMs = 4}, 192, true},
      {"no time", {.frequencyHz = 1000, .durationMs = 0}, 0, false},
      // Negative durations play nothing (and never an endless tone).
      {"-1 ms", {.frequencyHz = 1000, .durationMs = -1}, 0, false},
      {"-500 ms", {.frequencyHz = 1000, .durationMs = -500}, 0, false},
      {"0 Hz", {.frequencyHz = 0, .durationMs = 50}, 2400, false},
      {"-100 Hz", {.frequencyHz = -100, .durationMs = 50}, 2400, false},
      {"24 kHz", {.frequencyHz = 24000, .durationMs = 50}, 2400, false},
      {"30 kHz", {.frequencyHz = 30000, .durationMs = 50}, 2400, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const auto s = synthesizeTone(row.tone);
    ASSERT_EQ(s.size(), row.samples);
    // Heard tones reach at least half their loudness, even when shorter than two fades.
    const int loudest = peak(s, 0, s.size());
    if (row.heard) {
      EXPECT_GE(loudest, row.tone.amplitude / 2);
    } else {
      EXPECT_EQ(loudest, 0);
    }
    if (!s.empty()) {
      EXPECT_EQ(s.front(), 0);
      EXPECT_EQ(s.back(), 0);
    }
  }
}

// A tone that starts or stops at full swing clicks: the ends must rise from and fall to
// silence, and no step between neighbouring samples may exceed what the sine itself plus the
// fade ramp can produce; between the fades the tone is at full loudness.
TEST(ToneSynthTest, FullLoudnessBetweenFadesWithoutClicksAtTheEnds) {
  for (int hz : {100, 1000, 2500}) {
    SCOPED_TRACE(hz);
    const ToneSpec tone{.frequencyHz = hz, .durationMs = 100};
    const auto s = synthesizeTone(tone);
    ASSERT_FALSE(s.empty());
    const std::size_t oneMs = tone.sampleRate / 1000;
    EXPECT_LT(peak(s, 0, oneMs), tone.amplitude / 4);
    EXPECT_LT(peak(s, s.size() - oneMs, s.size()), tone.amplitude / 4);
    const int middle = peak(s, s.size() / 4, 3 * s.size() / 4);
    EXPECT_GE(middle, tone.amplitude * 98 / 100);
    EXPECT_LE(middle, tone.amplitude);

    const double sineSlope = tone.amplitude * 2 * 3.14159265 * hz / tone.sampleRate;
    const double fadeSlope = tone.amplitude / (tone.fadeMs * tone.sampleRate / 1000.0);
    int largestStep = 0;
    for (std::size_t i = 1; i < s.size(); ++i)
      largestStep = std::max(largestStep, std::abs(s[i] - s[i - 1]));
    EXPECT_LE(largestStep, sineSlope + fadeSlope + 2);
  }
}

}  // namespace
}  // namespace tarvik
