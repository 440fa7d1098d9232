#include "config/file_clock.h"

#include <gtest/gtest.h>

namespace tarvik {
namespace {

constexpr long long kSecond = 1'000'000'000;

long long at(const timespec& t) {
  return t.tv_sec * kSecond + t.tv_nsec;
}

TEST(FileClock, CopyIsProvedOnlyOnceTheClockMovedPastTheChange) {
  const timespec changed{1000, 123'456'789};
  EXPECT_FALSE(stampProvesCopy(changed, at(changed) - 4'000'000));  // read before the change
  EXPECT_FALSE(stampProvesCopy(changed, at(changed)));  // same tick: a later edit could match
  EXPECT_TRUE(stampProvesCopy(changed, at(changed) + 1));
  EXPECT_TRUE(stampProvesCopy(changed, at(changed) + 4'000'000));
}

TEST(FileClock, StampsInWholeHundredthsWaitTwoSeconds) {
  for (const timespec changed : {timespec{1000, 0}, timespec{1000, 990'000'000}}) {
    EXPECT_FALSE(stampProvesCopy(changed, at(changed) + 1));
    EXPECT_FALSE(stampProvesCopy(changed, at(changed) + 2 * kSecond));
    EXPECT_TRUE(stampProvesCopy(changed, at(changed) + 2 * kSecond + 1));
  }
}

TEST(FileClock, ReadsTheClockFileTimesComeFrom) {
  timespec coarse{};
  ASSERT_EQ(clock_gettime(CLOCK_REALTIME_COARSE, &coarse), 0);
  const long long before = at(coarse);
  const long long now = fileClockNs();
  ASSERT_EQ(clock_gettime(CLOCK_REALTIME_COARSE, &coarse), 0);
  EXPECT_GE(now, before);
  EXPECT_LE(now, at(coarse));
}

}  // namespace
}  // namespace tarvik
