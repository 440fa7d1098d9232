// The data limit's spans are the statistics' own: after a rollover on any day, the span the
// markers name is the calendar span of that day, and a span ends where the next rollover of
// its kind would happen, the year's end included.
#include "stats/limit_span.h"

#include "config/ini_file.h"
#include "stats/statistics.h"
#include "stats/stats_fixture.h"

namespace tarvik {
namespace {

class LimitSpans : public test::StatsFixture {};

TEST_F(LimitSpans, MarkersOfARolloverNameTheCalendarSpanAndSpansEndWhereTheNextOneRolls) {
  Statistics stats{dir.files(), comma, log};
  struct Day {
    LocalTime day;
    const char* dayEnd;
    const char* weekEnd;
    const char* monthEnd;
  };
  const Day days[] = {
      {makeLocalTime(2026, 12, 8, 23, 59), "09.12", "14.12", "01.01"},  // Tuesday
      {makeLocalTime(2026, 12, 31, 9), "01.01", "01.01", "01.01"},      // Thursday, year end
      {makeLocalTime(2027, 1, 1, 0, 0), "02.01", "04.01", "01.02"},     // week 00 until Monday
      {makeLocalTime(2027, 2, 28, 12), "01.03", "01.03", "01.03"},      // Sunday
  };
  for (const Day& d : days) {
    stats.rollOver({"Default"}, d.day);
    const IniFile config(dir.files().config());
    for (const auto& [span, end] :
         {std::pair{LimitSpan::Day, d.dayEnd}, std::pair{LimitSpan::Week, d.weekEnd},
          std::pair{LimitSpan::Month, d.monthEnd}}) {
      const LimitPeriod period = limitPeriodAt(span, d.day);
      EXPECT_EQ(statisticsPeriodId(span, config), period.id) << period.id;
      EXPECT_EQ(period.endText, end) << period.id;
      EXPECT_TRUE(period.contains(d.day)) << period.id;
    }
  }
  EXPECT_EQ(limitPeriodAt(LimitSpan::Week, makeLocalTime(2027, 1, 1)).id, "W00.2027");
  EXPECT_FALSE(limitPeriodAt(LimitSpan::Week, makeLocalTime(2026, 12, 31))
                   .contains(makeLocalTime(2027, 1, 1)));
}

}  // namespace
}  // namespace tarvik
