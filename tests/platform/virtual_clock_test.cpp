#include "platform/virtual_clock.h"

#include <gtest/gtest.h>

namespace tarvik {
namespace {

TEST(LocalTimeTest, CalendarRoundTripsWeekdaysAndWeekNumbers) {
  const LocalTime t = makeLocalTime(2026, 12, 7, 23, 59, 58, 250);
  EXPECT_EQ(t.weekday, 1);  // a Monday
  EXPECT_EQ(fromLocalMs(toLocalMs(t)), t);
  EXPECT_EQ(makeLocalTime(2026, 1, 1).weekday, 4);
  EXPECT_EQ(makeLocalTime(1969, 12, 31).weekday, 3);
  EXPECT_EQ(fromLocalMs(toLocalMs(makeLocalTime(2024, 2, 28, 23, 59, 59)) + 1000),
            makeLocalTime(2024, 2, 29));
  // Week numbers count from the year's first Monday.
  EXPECT_EQ(weekNumberMondayFirst(makeLocalTime(2026, 1, 1)), 0);  // Thursday before Monday 5th
  EXPECT_EQ(weekNumberMondayFirst(makeLocalTime(2026, 1, 4)), 0);  // Sunday
  EXPECT_EQ(weekNumberMondayFirst(makeLocalTime(2026, 1, 5)), 1);  // first Monday
  EXPECT_EQ(weekNumberMondayFirst(makeLocalTime(2024, 1, 1)), 1);  // year starting on Monday
  EXPECT_EQ(weekNumberMondayFirst(makeLocalTime(2026, 12, 31)), 52);
}

TEST(VirtualClockTest, FiresDueTimersInOrderOfDueTimeThenCreationAndCrossesMidnight) {
  VirtualClock clock(makeLocalTime(2026, 12, 7, 12, 0, 0));
  auto a = clock.createTimer("a");
  auto b = clock.createTimer("b");
  a->setInterval(750);
  b->setInterval(1000);
  std::vector<int> seconds;
  a->onFire([&] { seconds.push_back(clock.now().second * 1000 + clock.now().millisecond); });
  b->onFire([&] { seconds.push_back(-(clock.now().second * 1000 + clock.now().millisecond)); });
  a->setEnabled(true);
  b->setEnabled(true);
  clock.advance(3000);
  EXPECT_EQ(clock.fired(), (std::vector<std::string>{"a", "b", "a", "b", "a", "a", "b"}));
  EXPECT_EQ(seconds, (std::vector<int>{750, -1000, 1500, -2000, 2250, 3000, -3000}));
  EXPECT_EQ(clock.now(), makeLocalTime(2026, 12, 7, 12, 0, 3));

  // Midnight and the year's end are crossed in milliseconds; setting the time is no tick.
  a->setEnabled(false);
  b->setEnabled(false);
  clock.setNow(makeLocalTime(2026, 12, 31, 23, 59, 59));
  clock.advance(2000);
  EXPECT_EQ(clock.now(), makeLocalTime(2027, 1, 1, 0, 0, 1));
  clock.setNow(makeLocalTime(2027, 3, 1));
  EXPECT_EQ(clock.ticks(), 5000);
  EXPECT_EQ(clock.fired().size(), 7u);
}

TEST(VirtualClockTest, EnablingAndIntervalChangesRestartTheCountdown) {
  VirtualClock clock;
  auto t = clock.createTimer("t");
  int count = 0;
  t->onFire([&] { ++count; });
  t->setInterval(1000);
  t->setEnabled(true);
  clock.advance(600);
  t->setEnabled(true);  // already enabled: no restart
  clock.advance(400);
  EXPECT_EQ(count, 1);
  clock.advance(600);
  t->setInterval(1000);  // unchanged: no restart
  t->setInterval(500);   // changed: restarts from now
  clock.advance(499);
  EXPECT_EQ(count, 1);
  clock.advance(1);
  EXPECT_EQ(count, 2);
  t->setEnabled(false);
  clock.advance(5000);
  EXPECT_EQ(count, 2);
  t->setInterval(0);
  t->setEnabled(true);
  clock.advance(5000);
  EXPECT_EQ(count, 2);
}

TEST(VirtualClockTest, HandlersMayStopAndStartTimers) {
  VirtualClock clock;
  auto once = clock.createTimer("once");
  auto other = clock.createTimer("other");
  once->setInterval(100);
  other->setInterval(50);
  once->onFire([&] {
    once->setEnabled(false);
    other->setEnabled(true);
  });
  once->setEnabled(true);
  clock.advance(220);
  EXPECT_EQ(clock.fired(), (std::vector<std::string>{"once", "other", "other"}));
  EXPECT_EQ(clock.timer("other"), other.get());
  other.reset();
  EXPECT_EQ(clock.timer("other"), nullptr);
}

}  // namespace
}  // namespace tarvik
