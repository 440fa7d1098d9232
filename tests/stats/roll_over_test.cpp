#include "stats/statistics.h"
#include "stats/stats_fixture.h"

namespace tarvik {
namespace {

class RollOver : public test::StatsFixture {
 protected:
  std::string marker(std::string_view key) const {
    return IniFile(dir.files().config()).readString("UpDate", key, "<missing>");
  }
  RolloverResult rollAt(const LocalTime& day,
                        const std::vector<std::string>& entries = {"Default", "Inet"}) {
    return stats.rollOver(entries, day);
  }
  // Counters of a busy entry; other sections of the file stay as they are.
  void writeSample(std::string_view section) const {
    const std::pair<const char*, const char*> values[] = {
        {"TimeTD", "10"},   {"TimePD", "1"},  {"MoneyTD", "2,5"}, {"CountTD", "1"},
        {"TimeTW", "20"},   {"MoneyTW", "5"}, {"CountTW", "2"},   {"TimeTM", "30"},
        {"MoneyTM", "7.5"}, {"CountTM", "3"}, {"TimeTT", "40"},   {"Gr3t", "20"},
        {"Gr3f", "5"},      {"Gr3c", "2"},    {"UndoX", "0"}};
    IniFile file(dir.files().statistics());
    IniEdit edit(file);
    for (auto [key, value] : values) edit.writeString(section, key, value);
    edit.commit();
  }

  Statistics stats{dir.files(), comma, log};
};

TEST_F(RollOver, FirstStartRollsNothingAndWritesTheMarkers) {
  writeSample("Inet");
  EXPECT_EQ(rollAt(makeLocalTime(2026, 12, 6, 9)), RolloverResult{});
  EXPECT_EQ(marker("Day"), "06.12");
  EXPECT_EQ(marker("Week"), "48");
  EXPECT_EQ(marker("Month"), "12");
  EXPECT_EQ(marker("Year"), "2026");
  EXPECT_EQ(stat("Inet", "TimeTD"), "10");
  EXPECT_EQ(stat("Inet", "UndoX"), "0");
}

TEST_F(RollOver, NextDayMovesTodayToThePreviousDay) {
  rollAt(makeLocalTime(2026, 12, 8, 9));  // Tuesday
  writeSample("Inet");
  EXPECT_EQ(rollAt(makeLocalTime(2026, 12, 8, 23)), RolloverResult{});
  EXPECT_EQ(rollAt(makeLocalTime(2026, 12, 9, 0)), (RolloverResult{true, false, false}));
  EXPECT_EQ(stat("Inet", "TimePD"), "10");
  EXPECT_EQ(stat("Inet", "TimeTD"), "0");
  EXPECT_EQ(stat("Inet", "MoneyPD"), "2,5");
  EXPECT_EQ(stat("Inet", "MoneyTD"), "0");
  EXPECT_EQ(stat("Inet", "CountPD"), "1");
  EXPECT_EQ(stat("Inet", "CountTD"), "0");
  EXPECT_EQ(stat("Inet", "UndoX"), "1");
  EXPECT_EQ(stat("Inet", "TimeTW"), "20");
  EXPECT_EQ(stat("Inet", "Gr3t"), "20");
  EXPECT_EQ(stat("Inet", "TimeTT"), "40");
  // "Default" is rolled too, even without a section before.
  EXPECT_EQ(stat("Default", "UndoX"), "1");
  EXPECT_EQ(logText(), "");
}

TEST_F(RollOver, ThursdayFirstJanuaryAfterWednesdayRollsEverySpan) {
  rollAt(makeLocalTime(2025, 12, 31, 20));
  EXPECT_EQ(marker("Week"), "52");
  writeSample("Inet");
  EXPECT_EQ(rollAt(makeLocalTime(2026, 1, 1, 8)), (RolloverResult{true, true, true}));
  EXPECT_EQ(marker("Week"), "00");
  EXPECT_EQ(marker("Day"), "01.01");
  EXPECT_EQ(marker("Month"), "01");
  EXPECT_EQ(stat("Inet", "TimePW"), "20");
  EXPECT_EQ(stat("Inet", "MoneyPW"), "5");
  EXPECT_EQ(stat("Inet", "CountPW"), "2");
  EXPECT_EQ(stat("Inet", "TimeTW"), "0");
  EXPECT_EQ(stat("Inet", "Gr3t"), "0");
  EXPECT_EQ(stat("Inet", "Gr3f"), "0");
  EXPECT_EQ(stat("Inet", "Gr0c"), "0");
  EXPECT_EQ(stat("Inet", "MoneyPM"), "7.5");
  EXPECT_EQ(stat("Inet", "TimeTM"), "0");
  EXPECT_EQ(stat("Inet", "CountPM"), "3");
  EXPECT_EQ(stat("Inet", "TimeTT"), "40");
  // The next Monday starts week 01 in the same month.
  EXPECT_EQ(rollAt(makeLocalTime(2026, 1, 5, 8)), (RolloverResult{true, true, false}));
  EXPECT_EQ(marker("Week"), "01");
}

// The same date a year later rolls every span; markers without a readable year compare the
// day, week and month texts alone, and get this year written.
TEST_F(RollOver, TheYearMarkerTellsTheSameDateAYearLaterAndWithoutItTheTextsDecide) {
  rollAt(makeLocalTime(2025, 12, 6, 9));
  writeSample("Inet");
  EXPECT_EQ(rollAt(makeLocalTime(2026, 12, 6, 9)), (RolloverResult{true, true, true}));
  EXPECT_EQ(stat("Inet", "TimePD"), "10");
  EXPECT_EQ(stat("Inet", "TimePM"), "30");
  EXPECT_EQ(marker("Year"), "2026");
  for (const char* year : {"", "Year=20x6\n"}) {
    SCOPED_TRACE(year);
    dir.writeConfig(std::string("[UpDate]\nDay=06.12\nWeek=48\nMonth=12\n") + year);
    writeSample("Inet");
    EXPECT_EQ(rollAt(makeLocalTime(2026, 12, 6, 9)), RolloverResult{});
    EXPECT_EQ(stat("Inet", "TimeTD"), "10");
    EXPECT_EQ(marker("Year"), "2026");
  }
}

// Which sections roll: entries not listed keep their values until listed, a section listed
// twice in other cases rolls once, and a value that is not a number is moved as text.
TEST_F(RollOver, ListedSectionsRollOnceAndGarbageIsMovedAsTextNeverLost) {
  rollAt(makeLocalTime(2026, 3, 2));
  writeSample("Gone");
  writeSample("Default");
  IniFile(dir.files().statistics()).writeString("Inet", "MoneyTD", "lots");
  EXPECT_TRUE(rollAt(makeLocalTime(2026, 3, 3), {"Default", "default", "DEFAULT", "Inet"}).day);
  EXPECT_EQ(stat("Gone", "TimeTD"), "10");
  EXPECT_EQ(stat("Gone", "UndoX"), "0");
  EXPECT_EQ(stat("Default", "TimePD"), "10");
  EXPECT_EQ(stat("Inet", "MoneyPD"), "lots");
  EXPECT_EQ(stat("Inet", "MoneyTD"), "0");
  EXPECT_TRUE(rollAt(makeLocalTime(2026, 3, 4), {"Default", "Gone"}).day);
  EXPECT_EQ(stat("Gone", "TimePD"), "10");
}

TEST_F(RollOver, NewMonthClearsTheEventLogWhenAsked) {
  rollAt(makeLocalTime(2026, 3, 31));
  log.append("old line");
  IniFile(dir.files().config()).writeInt("Olm:TK", "LogClear", 0);
  rollAt(makeLocalTime(2026, 4, 1));
  EXPECT_EQ(logText(), "old line\r\n");
  IniFile(dir.files().config()).writeInt("Olm:TK", "LogClear", 1);
  rollAt(makeLocalTime(2026, 4, 2));
  EXPECT_EQ(logText(), "old line\r\n");
  rollAt(makeLocalTime(2026, 5, 2));
  EXPECT_EQ(logText(), " Log-file cleared.\r\n");
}

}  // namespace
}  // namespace tarvik
