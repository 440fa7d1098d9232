#include <gtest/gtest.h>

#include "config/entry_section.h"
#include "config/ini_file.h"
#include "support/program_dir.h"
#include "tariff/day_plan_store.h"
#include "tariff/tariff.h"

namespace tarvik {
namespace {

TariffPeriod period(int ah, int am, int zh, int zm, int cost, std::string name) {
  return {ah, am, zh, zm, cost, std::move(name)};
}

// Each row: a plan, a time of day and the period in force then (-1: none, at no cost and
// under the error name); the cost and name must be that period's, never a stale value.
TEST(FindPeriod, StartMinuteCountsEndMinuteDoesNotAndTheLastListedOverlapWins) {
  const DayPlan adjacent{period(0, 0, 8, 0, 50, "Night"), period(8, 0, 24, 0, 100, "Day")};
  const DayPlan day{period(8, 0, 17, 0, 100, "Day")};
  const DayPlan lunch{period(0, 0, 24, 0, 100, "All"), period(12, 0, 13, 0, 0, "Lunch")};
  const DayPlan halfHours{period(8, 30, 17, 30, 120, "Day")};
  // A hand-edited period with equal start and end hour: m >= start or m < end.
  const DayPlan odd{period(10, 30, 10, 15, 5, "Odd")};
  const DayPlan empty;
  struct Row {
    const char* what;
    const DayPlan& plan;
    int hour, minute, index;
  };
  const Row rows[] = {
      {"adjacent, before the seam", adjacent, 7, 59, 0},
      {"adjacent, at the seam", adjacent, 8, 0, 1},
      {"adjacent, last minute", adjacent, 23, 59, 1},
      {"adjacent, midnight", adjacent, 0, 0, 0},
      {"gap, at the end", day, 17, 0, -1},
      {"gap, before the start", day, 7, 59, -1},
      {"gap, late", day, 23, 0, -1},
      {"gap, last minute inside", day, 16, 59, 0},
      {"empty plan", empty, 12, 0, -1},
      {"overlap, inside the later", lunch, 12, 30, 1},
      {"overlap, at the later's end", lunch, 13, 0, 0},
      {"overlap, before the later", lunch, 11, 59, 0},
      {"minutes, before the start", halfHours, 8, 29, -1},
      {"minutes, at the start", halfHours, 8, 30, 0},
      {"minutes, before the end", halfHours, 17, 29, 0},
      {"minutes, at the end", halfHours, 17, 30, -1},
      {"equal hours, before the end minute", odd, 10, 10, 0},
      {"equal hours, between", odd, 10, 20, -1},
      {"equal hours, after the start minute", odd, 10, 45, 0},
      {"equal hours, next hour", odd, 11, 0, -1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    CurrentTariff current{.costPerHour = 777, .name = "stale"};
    EXPECT_EQ(findPeriod(row.plan, row.hour, row.minute, current), row.index);
    EXPECT_EQ(current.costPerHour, row.index < 0 ? 0 : row.plan[row.index].costPerHour);
    EXPECT_EQ(current.name, row.index < 0 ? "Error!" : row.plan[row.index].name);
  }
}

class LookupFile : public ::testing::Test {
 protected:
  int lookupAt(std::string_view entry, int weekday, int hour, int minute) {
    IniFile config(dir.files().config());
    return lookup(config, entry, hour, minute, weekday, current);
  }
  test::ProgramDir dir;
  CurrentTariff current;
};

// From no file at all, through the entry's own section or the default one, weekday by
// weekday, to a plan saved between two lookups and entries with odd names.
TEST_F(LookupFile, PlansComeFromTheEntryOrDefaultSectionForTheWeekdayAndApplyOnceSaved) {
  {
    SCOPED_TRACE("no file: the free guest period all day");
    EXPECT_EQ(lookupAt("Inet", 3, 0, 0), 0);
    EXPECT_EQ(current.name, "Guest");
    EXPECT_EQ(current.costPerHour, 0);
    EXPECT_EQ(lookupAt("Inet", 3, 23, 59), 0);
  }
  std::string text =
      "[Default]\nTar1=1\nTar1x0AH=00\nTar1x0ZH=24\nTar1x0Cost=00250\nTar1x0Name=Base\n"
      "Tar0=1\nTar0x0AH=08\nTar0x0ZH=09\nTar0x0Cost=00010\nTar0x0Name=Sun\n"
      "Tar2=0\nTar2x0Name=Leftover\n"
      "Tar3=2\nTar3x0AH=x\nTar3x0Name=Garbage\n"
      "Tar4=30\n";
  for (int i = 0; i < 30; ++i) {
    text += "Tar4x" + std::to_string(i) + "Name=P" + std::to_string(i) + "\n";
  }
  text +=
      "[Inet]\nDone=0\nTar1=1\nTar1x0Cost=00999\nTar1x0Name=Own\n"
      "[Done]\nDone=1\nTar1=1\nTar1x0Cost=250\nTar1x0Name=Own\n";
  dir.writeConfig(text);
  {
    SCOPED_TRACE("an entry without own settings uses the default plan");
    EXPECT_EQ(lookupAt("Inet", 1, 10, 0), 0);
    EXPECT_EQ(current.name, "Base");
    EXPECT_EQ(current.costPerHour, 250);
    EXPECT_EQ(lookupAt("Done", 1, 10, 0), 0);
    EXPECT_EQ(current.name, "Own");
    EXPECT_EQ(current.costPerHour, 250);  // 250 and 00250 are the same cost
    EXPECT_EQ(lookupAt("Missing", 1, 10, 0), 0);
    EXPECT_EQ(current.name, "Base");
  }
  {
    SCOPED_TRACE("weekday 0 is Sunday and the counts decide the plan");
    EXPECT_EQ(lookupAt("Default", 0, 8, 15), 0);
    EXPECT_EQ(current.name, "Sun");
    EXPECT_EQ(lookupAt("Default", 0, 9, 0), -1);
    EXPECT_EQ(current.name, "Error!");
    // An emptied list: no period at any time of that day.
    EXPECT_EQ(lookupAt("Default", 2, 12, 0), -1);
    EXPECT_EQ(current.costPerHour, 0);
    // A value that is not a number reads as its default; missing period keys too.
    EXPECT_EQ(lookupAt("Default", 3, 5, 0), 1);
    EXPECT_EQ(current.name, "Guest");
    // A count above 24 reads only the first 24.
    EXPECT_EQ(lookupAt("Default", 4, 12, 0), 23);
    EXPECT_EQ(current.name, "P23");
  }
  IniFile config(dir.files().config());
  {
    SCOPED_TRACE("a plan saved between two lookups applies at once");
    EXPECT_EQ(lookupAt("Default", 5, 12, 0), 0);
    writeDayPlan(config, sections::tariff(kDefaultEntry), 5,
                 {period(0, 0, 12, 0, 10, "Am"), period(12, 0, 24, 0, 20, "Pm")});
    EXPECT_EQ(lookupAt("Default", 5, 12, 0), 1);
    EXPECT_EQ(current.name, "Pm");
  }
  {
    SCOPED_TRACE("odd entry names neither share nor corrupt plans");
    const std::string odd = "Net]\nTar1=0";
    config.writeInt(sectionForEntry(odd), "Done", 1);
    config.writeInt("Net", "Done", 1);
    writeDayPlan(config, sections::tariff(odd), 1, {period(0, 0, 24, 0, 300, "Odd")});
    writeDayPlan(config, sections::tariff("Net"), 1, {period(0, 0, 24, 0, 100, "Plain")});
    EXPECT_EQ(lookupAt(odd, 1, 10, 0), 0);
    EXPECT_EQ(current.name, "Odd");
    EXPECT_EQ(lookupAt("Net", 1, 10, 0), 0);
    EXPECT_EQ(current.name, "Plain");
    EXPECT_EQ(lookupAt("Default", 1, 10, 0), 0);
    EXPECT_EQ(current.name, "Base");
  }
}

TEST_F(LookupFile, StoredLookupAgreesWithTheRuleOnTheWholePlan) {
  IniFile config(dir.files().config());
  writeDayPlan(config, sections::tariff(kDefaultEntry), 2,
               {period(0, 0, 24, 0, 100, "All"), period(12, 0, 13, 0, 0, "Lunch"),
                period(10, 30, 10, 15, 5, "Odd"), period(22, 5, 23, 55, 70, "Late"),
                period(13, 0, 12, 0, 9, "Backwards")});
  writeDayPlan(config, sections::tariff(kDefaultEntry), 3, {period(8, 0, 17, 0, 100, "Day")});
  for (int weekday : {2, 3}) {
    const DayPlan plan = readDayPlan(config, sections::tariff(kDefaultEntry), weekday);
    for (int hour = 0; hour < 24; ++hour) {
      for (int minute = 0; minute < 60; minute += 5) {
        CurrentTariff expected;
        const int index = findPeriod(plan, hour, minute, expected);
        ASSERT_EQ(lookupAt("Default", weekday, hour, minute), index) << hour << ":" << minute;
        EXPECT_EQ(current.costPerHour, expected.costPerHour);
        EXPECT_EQ(current.name, expected.name);
      }
    }
  }
}

TEST(LookupInList, ParsesTheEditorLinesAndKeepsNumberingPastBadLines) {
  CurrentTariff current;
  std::vector<std::string> lines{"00:00 - 08:00 = 00050 Night", "garbage",
                                 "08:00 - 24:00 = 00100 Day time"};
  EXPECT_EQ(lookupInList(lines, 9, 0, current), 2);
  EXPECT_EQ(current.name, "Day time");
  EXPECT_EQ(current.costPerHour, 100);
  EXPECT_EQ(lookupInList(lines, 7, 59, current), 0);
  EXPECT_EQ(lookupInList({"08:00 - 17:00 = 00100 Day"}, 17, 0, current), -1);
  EXPECT_EQ(current.name, "Error!");
  EXPECT_EQ(lookupInList({}, 0, 0, current), -1);
}

}  // namespace
}  // namespace tarvik
