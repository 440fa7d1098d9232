#include <gtest/gtest.h>

#include "tariff/day_plan_editor.h"
#include "tariff/period_text.h"
#include "tariff/tariff_tester.h"

namespace tarvik {
namespace {

TariffPeriod period(int ah, int am, int zh, int zm, int cost = 0, std::string name = "T") {
  return {ah, am, zh, zm, cost, std::move(name)};
}

TEST(DayPlanEditor, EditsTheListUnderTheChecksAndTheLimit) {
  DayPlanEditor editor;
  EXPECT_FALSE(editor.unsaved());
  EXPECT_EQ(editor.add(period(5, 0, 5, 30)), PlanRefusal::EqualHours);
  EXPECT_EQ(editor.add(period(6, 0, 5, 0)), PlanRefusal::EndBeforeStart);
  EXPECT_TRUE(editor.lines().empty());
  EXPECT_FALSE(editor.unsaved());
  // Minutes are not compared; lines stay in the order they were added.
  EXPECT_EQ(editor.add(period(10, 50, 11, 10, 120, " Day ")), PlanRefusal::None);
  EXPECT_EQ(editor.add(period(0, 0, 8, 5, 7, "Night")), PlanRefusal::None);
  EXPECT_EQ(editor.lines(), (std::vector<std::string>{"10:50 - 11:10 = 00120  Day ",
                                                      "00:00 - 08:05 = 00007 Night"}));
  EXPECT_TRUE(editor.unsaved());
  EXPECT_EQ(editor.plan()[0], period(10, 50, 11, 10, 120, " Day "));

  EXPECT_EQ(editor.replace(-1, period(1, 0, 2, 0)), PlanRefusal::NothingSelected);
  EXPECT_EQ(editor.remove(2), PlanRefusal::NothingSelected);
  EXPECT_EQ(editor.replace(0, period(3, 0, 2, 0)), PlanRefusal::EndBeforeStart);
  EXPECT_EQ(editor.lines()[0], "10:50 - 11:10 = 00120  Day ");

  while (editor.lines().size() < 24) ASSERT_EQ(editor.add(period(1, 0, 2, 0)), PlanRefusal::None);
  EXPECT_EQ(editor.add(period(1, 0, 2, 0)), PlanRefusal::ListFull);
  EXPECT_EQ(editor.lines().size(), 24u);
  // A full list can still be edited in place and shortened.
  EXPECT_EQ(editor.replace(23, period(20, 0, 24, 0, 30000, "Late")), PlanRefusal::None);
  EXPECT_EQ(editor.lines()[23], "20:00 - 24:00 = 30000 Late");
  EXPECT_EQ(editor.remove(0), PlanRefusal::None);
  EXPECT_EQ(editor.lines().size(), 23u);
  EXPECT_EQ(editor.lines()[0], "00:00 - 08:05 = 00007 Night");

  editor.markSaved();
  EXPECT_FALSE(editor.unsaved());
  EXPECT_FALSE(refusalMessage(PlanRefusal::EqualHours).empty());
  EXPECT_TRUE(refusalMessage(PlanRefusal::None).empty());
}

TEST(DayPlanEditor, StoredPlanLoadsThroughTheSameChecks) {
  DayPlanEditor editor;
  editor.add(period(1, 0, 2, 0));
  // A hand-edited plan: a refused period in the middle, values too wide for the columns, and
  // 30 periods of which only 24 fit.
  DayPlan stored{period(0, 0, 12, 0, 50, "Half"), period(9, 0, 9, 30), period(12, 0, 130, 0, -4),
                 period(14, 7, 15, 59, 123456, "Odd")};
  for (int i = 0; i < 26; ++i) stored.push_back(period(23, 0, 24, 0));
  const std::vector<PlanRefusal> refusals = editor.load(stored);
  EXPECT_EQ(refusals, (std::vector<PlanRefusal>{PlanRefusal::EqualHours, PlanRefusal::ListFull,
                                                PlanRefusal::ListFull, PlanRefusal::ListFull,
                                                PlanRefusal::ListFull, PlanRefusal::ListFull}));
  ASSERT_EQ(editor.lines().size(), 24u);
  EXPECT_FALSE(editor.unsaved());
  EXPECT_EQ(editor.lines()[0], "00:00 - 12:00 = 00050 Half");
  EXPECT_EQ(editor.lines()[1], "12:00 - 99:00 = 00000 T");
  EXPECT_EQ(editor.lines()[2], "14:07 - 15:59 = 99999 Odd");
  // What is shown is what would be stored.
  EXPECT_EQ(editor.plan()[2], period(14, 7, 15, 59, 99999, "Odd"));
  for (const std::string& line : editor.lines()) EXPECT_TRUE(parsePeriodText(line)) << line;
}

TEST(TariffTester, ReportsEveryMinuteNoPeriodCovers) {
  const TariffTestResult partial = testDayPlan({"00:00 - 23:00 = 00010 Most"});
  ASSERT_EQ(partial.lines.size(), 1440u);
  EXPECT_TRUE(partial.failed());
  EXPECT_EQ(partial.gaps, 60);
  EXPECT_EQ(partial.lines[0], "00:00 = 10/ч (тариф #0 «Most»)");
  EXPECT_EQ(partial.lines[22 * 60 + 59], "22:59 = 10/ч (тариф #0 «Most»)");
  EXPECT_EQ(partial.lines[23 * 60], "23:00 = 0/ч (тариф #-1 «Error!»)");
  EXPECT_EQ(partial.lines[1439], "23:59 = 0/ч (тариф #-1 «Error!»)");
  for (int m = 0; m < 1440; ++m) EXPECT_EQ(partial.periods[m] < 0, m >= 23 * 60) << m;

  const TariffTestResult halves =
      testDayPlan({"00:00 - 12:00 = 00050 Night", "12:00 - 24:00 = 00100 Day"});
  EXPECT_FALSE(halves.failed());
  EXPECT_EQ(halves.lines[11 * 60 + 59], "11:59 = 50/ч (тариф #0 «Night»)");
  EXPECT_EQ(halves.lines[12 * 60], "12:00 = 100/ч (тариф #1 «Day»)");

  // Overlaps are no fault: the later period wins; an empty list covers nothing.
  const TariffTestResult lunch =
      testDayPlan({std::string(kGuestPeriodText), "12:00 - 13:00 = 00001 Lunch"});
  EXPECT_FALSE(lunch.failed());
  EXPECT_EQ(lunch.lines[12 * 60 + 30], "12:30 = 1/ч (тариф #1 «Lunch»)");
  EXPECT_EQ(lunch.lines[13 * 60], "13:00 = 0/ч (тариф #0 «Guest»)");
  EXPECT_EQ(testDayPlan({}).gaps, 1440);
}

}  // namespace
}  // namespace tarvik
