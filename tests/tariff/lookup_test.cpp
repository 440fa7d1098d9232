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

struct Hit {
  int index;
  int cost;
  std::string name;
};

Hit at(const DayPlan& plan, int hour, int minute) {
  CurrentTariff current{.costPerHour = 777, .name = "stale"};
  int index = findPeriod(plan, hour, minute, current);
  return {index, current.costPerHour, current.name};
}

TEST(FindPeriod, AdjacentPeriodsHaveNoGapAndNoOverlap) {
  DayPlan plan{period(0, 0, 8, 0, 50, "Night"), period(8, 0, 24, 0, 100, "Day")};
  Hit h = at(plan, 7, 59);
  EXPECT_EQ(h.index, 0);
  EXPECT_EQ(h.cost, 50);
  EXPECT_EQ(h.name, "Night");
  h = at(plan, 8, 0);
  EXPECT_EQ(h.index, 1);
  EXPECT_EQ(h.cost, 100);
  EXPECT_EQ(h.name, "Day");
  EXPECT_EQ(at(plan, 23, 59).index, 1);
  EXPECT_EQ(at(plan, 0, 0).index, 0);
}

TEST(FindPeriod, TimeOutsideEveryPeriodIsAnErrorAtNoCost) {
  DayPlan plan{period(8, 0, 17, 0, 100, "Day")};
  for (auto [h, m] : {std::pair{17, 0}, std::pair{7, 59}, std::pair{23, 0}}) {
    Hit hit = at(plan, h, m);
    EXPECT_EQ(hit.index, -1) << h << ":" << m;
    EXPECT_EQ(hit.cost, 0);
    EXPECT_EQ(hit.name, "Error!");
  }
  EXPECT_EQ(at(plan, 16, 59).index, 0);
  EXPECT_EQ(at(DayPlan{}, 12, 0).index, -1);
}

TEST(FindPeriod, LastListedOfOverlappingPeriodsWins) {
  DayPlan plan{period(0, 0, 24, 0, 100, "All"), period(12, 0, 13, 0, 0, "Lunch")};
  Hit h = at(plan, 12, 30);
  EXPECT_EQ(h.index, 1);
  EXPECT_EQ(h.name, "Lunch");
  EXPECT_EQ(h.cost, 0);
  EXPECT_EQ(at(plan, 13, 0).index, 0);
  EXPECT_EQ(at(plan, 11, 59).index, 0);
}

TEST(FindPeriod, MinuteBoundsInsideTheStartAndEndHours) {
  DayPlan plan{period(8, 30, 17, 30, 120, "Day")};
  EXPECT_EQ(at(plan, 8, 29).index, -1);
  EXPECT_EQ(at(plan, 8, 30).index, 0);
  EXPECT_EQ(at(plan, 17, 29).index, 0);
  EXPECT_EQ(at(plan, 17, 30).index, -1);
  // A hand-edited period with equal start and end hour: m >= start or m < end.
  DayPlan odd{period(10, 30, 10, 15, 5, "Odd")};
  EXPECT_EQ(at(odd, 10, 10).index, 0);
  EXPECT_EQ(at(odd, 10, 20).index, -1);
  EXPECT_EQ(at(odd, 10, 45).index, 0);
  EXPECT_EQ(at(odd, 11, 0).index, -1);
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

TEST_F(LookupFile, NoFileGivesTheFreeGuestPeriodAllDay) {
  EXPECT_EQ(lookupAt("Inet", 3, 0, 0), 0);
  EXPECT_EQ(current.name, "Guest");
  EXPECT_EQ(current.costPerHour, 0);
  EXPECT_EQ(lookupAt("Inet", 3, 23, 59), 0);
}

TEST_F(LookupFile, EntryWithoutOwnSettingsUsesDefaultPlan) {
  dir.writeConfig(
      "[Default]\nTar1=1\nTar1x0AH=00\nTar1x0ZH=24\nTar1x0Cost=00250\nTar1x0Name=Base\n"
      "[Inet]\nDone=0\nTar1=1\nTar1x0Cost=00999\nTar1x0Name=Own\n"
      "[Done]\nDone=1\nTar1=1\nTar1x0Cost=250\nTar1x0Name=Own\n");
  EXPECT_EQ(lookupAt("Inet", 1, 10, 0), 0);
  EXPECT_EQ(current.name, "Base");
  EXPECT_EQ(current.costPerHour, 250);
  EXPECT_EQ(lookupAt("Done", 1, 10, 0), 0);
  EXPECT_EQ(current.name, "Own");
  EXPECT_EQ(current.costPerHour, 250);  // 250 and 00250 are the same cost
  EXPECT_EQ(lookupAt("Missing", 1, 10, 0), 0);
  EXPECT_EQ(current.name, "Base");
}

TEST_F(LookupFile, WeekdayZeroIsSundayAndCountsDecideThePlan) {
  dir.writeConfig(
      "[Default]\nTar0=1\nTar0x0AH=08\nTar0x0ZH=09\nTar0x0Cost=00010\nTar0x0Name=Sun\n"
      "Tar2=0\nTar2x0Name=Leftover\n"
      "Tar3=2\nTar3x0AH=x\nTar3x0Name=Garbage\n");
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
}

TEST_F(LookupFile, CountAboveTwentyFourReadsOnlyTheFirstTwentyFour) {
  std::string text = "[Default]\nTar4=30\n";
  for (int i = 0; i < 30; ++i) {
    text += "Tar4x" + std::to_string(i) + "Name=P" + std::to_string(i) + "\n";
  }
  dir.writeConfig(text);
  EXPECT_EQ(lookupAt("Default", 4, 12, 0), 23);
  EXPECT_EQ(current.name, "P23");
}

TEST_F(LookupFile, PlanSavedBetweenTwoLookupsAppliesAtOnce) {
  EXPECT_EQ(lookupAt("Default", 5, 12, 0), 0);
  IniFile config(dir.files().config());
  writeDayPlan(config, sections::tariff(kDefaultEntry), 5,
               {period(0, 0, 12, 0, 10, "Am"), period(12, 0, 24, 0, 20, "Pm")});
  EXPECT_EQ(lookupAt("Default", 5, 12, 0), 1);
  EXPECT_EQ(current.name, "Pm");
}

TEST_F(LookupFile, OddEntryNamesNeitherShareNorCorruptPlans) {
  IniFile config(dir.files().config());
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
  EXPECT_EQ(current.name, "Guest");
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
