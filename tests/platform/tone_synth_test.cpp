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

TEST(ToneSynthTest, DurationIsTheSampleCount) {
  EXPECT_EQ(synthesizeTone({.frequencyHz = 1000, .durationMs = 100}).size(), 4800u);
  EXPECT_EQ(synthesizeTone({.frequencyHz = 1000, .durationMs = 250, .sampleRate = 44100}).size(),
            11025u);
  EXPECT_EQ(synthesizeTone({.frequencyHz = 100, .durationMs = 1000}).size(), 48000u);
  EXPECT_TRUE(synthesizeTone({.frequencyHz = 1000, .durationMs = 0}).empty());
  // Negative durations play nothing (and never an endless tone).
  EXPECT_TRUE(synthesizeTone({.frequencyHz = 1000, .durationMs = -1}).empty());
  EXPECT_TRUE(synthesizeTone({.frequencyHz = 1000, .durationMs = -500}).empty());
}

TEST(ToneSynthTest, FullLoudnessBetweenTheFades) {
  const ToneSpec tone{.frequencyHz = 1000, .durationMs = 100};
  const auto s = synthesizeTone(tone);
  const int middle = peak(s, s.size() / 4, 3 * s.size() / 4);
  EXPECT_GE(middle, tone.amplitude * 98 / 100);
  EXPECT_LE(middle, tone.amplitude);
}

// A tone that starts or stops at full swing clicks: the ends must rise from and fall to
// silence, and no step between neighbouring samples may exceed what the sine itself plus the
// fade ramp can produce.
TEST(ToneSynthTest, NoClicksAtTheEnds) {
  for (int hz : {100, 1000, 2500}) {
    const ToneSpec tone{.frequencyHz = hz, .durationMs = 100};
    const auto s = synthesizeTone(tone);
    ASSERT_FALSE(s.empty());
    EXPECT_EQ(s.front(), 0);
    EXPECT_EQ(s.back(), 0);
    const std::size_t oneMs = tone.sampleRate / 1000;
    EXPECT_LT(peak(s, 0, oneMs), tone.amplitude / 4) << hz;
    EXPECT_LT(peak(s, s.size() - oneMs, s.size()), tone.amplitude / 4) << hz;

    const double sineSlope = tone.amplitude * 2 * 3.14159265 * hz / tone.sampleRate;
    const double fadeSlope = tone.amplitude / (tone.fadeMs * tone.sampleRate / 1000.0);
    int largestStep = 0;
    for (std::size_t i = 1; i < s.size(); ++i)
      largestStep = std::max(largestStep, std::abs(s[i] - s[i - 1]));
    EXPECT_LE(largestStep, sineSlope + fadeSlope + 2) << hz;
  }
}

TEST(ToneSynthTest, TonesShorterThanTwoFadesStillStartAndEndSilent) {
  const auto s = synthesizeTone({.frequencyHz = 2500, .durationMs = 4});
  ASSERT_EQ(s.size(), 192u);
  EXPECT_EQ(s.front(), 0);
  EXPECT_EQ(s.back(), 0);
  EXPECT_GT(peak(s, 0, s.size()), 0);
}

TEST(ToneSynthTest, UnplayableFrequenciesGiveSilenceOfTheRequestedLength) {
  for (int hz : {0, -100, 24000, 30000}) {
    const auto s = synthesizeTone({.frequencyHz = hz, .durationMs = 50});
    EXPECT_EQ(s.size(), 2400u) << hz;
    EXPECT_EQ(peak(s, 0, s.size()), 0) << hz;
  }
}

}  // namespace
}  // namespace tarvik
