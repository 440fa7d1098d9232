#include <gtest/gtest.h>

#include "config/ini_file.h"
#include "support/program_dir.h"
#include "tariff/day_plan_store.h"
#include "tariff/period_text.h"

namespace tarvik {
namespace {

TEST(PeriodText, FixedColumnsBothWaysAndLinesThatAreNotPeriods) {
  TariffPeriod day{8, 0, 17, 30, 120, "Day"};
  EXPECT_EQ(periodText(day), "08:00 - 17:30 = 00120 Day");
  EXPECT_EQ(periodText(TariffPeriod{}), kGuestPeriodText);
  EXPECT_EQ(parsePeriodText("08:00 - 17:30 = 00120 Day"), day);
  EXPECT_EQ(parsePeriodText("20:05 - 24:00 = 30000 Late night  "),
            (TariffPeriod{20, 5, 24, 0, 30000, "Late night  "}));
  // No name column at all: an empty name, not a failure.
  EXPECT_EQ(parsePeriodText("00:00 - 24:00 = 00000"), (TariffPeriod{0, 0, 24, 0, 0, ""}));
  for (const char* line :
       {"", "00:00 - 24:00 = 000", "0a:00 - 24:00 = 00000 X", "00:00 - 24:00 = 0x100 X"})
    EXPECT_FALSE(parsePeriodText(line)) << line;
}

// One program directory through the ways a day plan is stored: the entry's section chosen by
// its done marker, the editor's digits, a shorter plan over a longer one, the 24-period cap
// and a single-day file.
TEST(DayPlanStore, WritesTheEditorsDigitsReadsOnlyTheCountAndFollowsTheDoneMarker) {
  test::ProgramDir dir;
  dir.writeConfig("[Own]\nDone=1\n[Half]\nTar1=3\n");
  IniFile config(dir.files().config());
  EXPECT_EQ(tariffSection(config, "Own").name(), "Own");
  EXPECT_EQ(tariffSection(config, "Half").name(), "Default");
  EXPECT_EQ(tariffSection(config, "Nobody").name(), "Default");

  const DayPlan plan{{0, 0, 8, 0, 50, "Ночь"}, {8, 5, 24, 0, 250, "Day"}};
  writeDayPlan(config, sections::tariff(kDefaultEntry), 6, plan);
  EXPECT_EQ(config.readString("Default", "Tar6"), "2");
  EXPECT_EQ(config.readString("Default", "Tar6x1AM"), "05");
  EXPECT_EQ(config.readString("Default", "Tar6x1ZH"), "24");
  EXPECT_EQ(config.readString("Default", "Tar6x1Cost"), "00250");
  EXPECT_EQ(config.readString("Default", "Tar6x0Name"), "Ночь");
  EXPECT_EQ(readDayPlan(config, sections::tariff(kDefaultEntry), 6), plan);

  // A shorter plan leaves the old keys but only the count is read.
  writeDayPlan(config, sections::tariff(kDefaultEntry), 1,
               {{}, {1, 0, 2, 0, 5, "B"}, {2, 0, 3, 0, 5, "C"}});
  writeDayPlan(config, sections::tariff(kDefaultEntry), 1, {{0, 0, 24, 0, 7, "Only"}});
  EXPECT_TRUE(config.hasKey("Default", "Tar1x2Name"));
  EXPECT_EQ(readDayPlan(config, sections::tariff(kDefaultEntry), 1),
            (DayPlan{{0, 0, 24, 0, 7, "Only"}}));
  writeDayPlan(config, sections::tariff(kDefaultEntry), 1, {});
  EXPECT_TRUE(readDayPlan(config, sections::tariff(kDefaultEntry), 1).empty());

  writeDayPlan(config, sections::tariff(kDefaultEntry), 2, DayPlan(30));
  EXPECT_EQ(config.readInt("Default", "Tar2", 0), 24);
  EXPECT_FALSE(config.hasKey("Default", "Tar2x24AH"));
  EXPECT_EQ(readDayPlan(config, sections::tariff(kDefaultEntry), 6), plan);

  // A single-day file holds the plan under Sunday of the default section, alone.
  EXPECT_EQ(dayFileName(3), "tariff_day3.ini");
  const DayPlan work{{7, 0, 19, 0, 90, "Work"}};
  const auto file = dir.path() / dayFileName(3);
  writeDayFile(file, work);
  IniFile ini(file);
  EXPECT_EQ(ini.sectionNames(), std::vector<std::string>{"Default"});
  EXPECT_EQ(ini.readString("Default", "Tar0x0AH"), "07");
  EXPECT_EQ(readDayFile(file), work);
}

}  // namespace
}  // namespace tarvik
