#include "config/entry_section.h"
#include "stats/accounts.h"
#include "stats/statistics.h"
#include "stats/stats_fixture.h"

namespace tarvik {
namespace {

class BookConnection : public test::StatsFixture {
 protected:
  Statistics stats{dir.files(), comma, log};
};

TEST_F(BookConnection, NinetySecondsOnATuesday) {
  dir.writeStatistics(
      "[Inet]\nTimeTC=40\nMoneyTC=7.25\nTimeTD=100\nTimeTT=1000\nMoneyTD=1.5\nMoneyTT=10\n"
      "CountTD=2\nGr2t=10\nGr2f=3\nGr2c=1\nUndoX=1\n");
  stats.bookConnection("Inet", 2, 90, 12.5f);
  const std::pair<const char*, const char*> expected[] = {
      {"CountTD", "3"},  {"CountTW", "1"},    {"CountTM", "1"},    {"CountTT", "1"},
      {"TimePC", "40"},  {"TimeTC", "90"},    {"TimeTD", "190"},   {"TimeTW", "90"},
      {"TimeTM", "90"},  {"TimeTT", "1090"},  {"MoneyPC", "7.25"}, {"MoneyTC", "12,5"},
      {"MoneyTD", "14"}, {"MoneyTW", "12,5"}, {"MoneyTM", "12,5"}, {"MoneyTT", "22,5"},
      {"Gr2t", "100"},   {"Gr2f", "15"},      {"Gr2c", "2"},       {"Undo", "1"},
      {"UndoX", "0"},    {"UndoWD", "2"},     {"UndoLos", "12,5"}, {"UndoTim", "90"},
  };
  for (auto [key, value] : expected) EXPECT_EQ(stat("Inet", key), value) << key;
  EXPECT_EQ(stat("Inet", "Gr3t"), "<missing>");
  EXPECT_EQ(stat("Inet", "CountTC"), "<missing>");
}

TEST_F(BookConnection, FloatCostIsWrittenWithTheDigitsSinglePrecisionHolds) {
  const float cost = static_cast<float>(2500 * 30) * (1.0f / 3600);
  stats.bookConnection("Default", 0, 30, cost);
  EXPECT_EQ(stat("Default", "MoneyTC"), "20,83333");
  EXPECT_EQ(stat("Default", "UndoLos"), "20,83333");
  EXPECT_EQ(stat("Default", "Gr0f"), "20");
}

TEST_F(BookConnection, WeeklyMoneyIsTruncatedTowardZeroAfterAdding) {
  dir.writeStatistics("[Inet]\nGr5f=-20\n");
  stats.bookConnection("Inet", 5, 10, 12.5f);
  EXPECT_EQ(stat("Inet", "Gr5f"), "-7");
}

TEST_F(BookConnection, NegativeFiguresAreBookedAsTheyAre) {
  dir.writeStatistics("[Inet]\nTimeTD=100\nMoneyTD=50\n");
  stats.bookConnection("Inet", 1, -30, -12.5f);
  EXPECT_EQ(stat("Inet", "TimeTC"), "-30");
  EXPECT_EQ(stat("Inet", "TimeTD"), "70");
  EXPECT_EQ(stat("Inet", "MoneyTC"), "-12,5");
  EXPECT_EQ(stat("Inet", "MoneyTD"), "37,5");
  EXPECT_EQ(stat("Inet", "Gr1f"), "-12");
  EXPECT_EQ(stat("Inet", "UndoLos"), "-12,5");
  EXPECT_EQ(stat("Inet", "CountTD"), "1");
}

TEST_F(BookConnection, GarbageValuesAreLeftAloneAndLoggedWhileTheRestIsBooked) {
  dir.writeStatistics("[Inet]\nMoneyTT=lots\nCountTT=12abc\nTimeTD=5\n");
  stats.bookConnection("Inet", 1, 60, 100.0f);
  EXPECT_EQ(stat("Inet", "MoneyTT"), "lots");
  EXPECT_EQ(stat("Inet", "CountTT"), "12abc");
  EXPECT_EQ(stat("Inet", "MoneyTD"), "100");
  EXPECT_EQ(stat("Inet", "TimeTD"), "65");
  EXPECT_EQ(stat("Inet", "CountTD"), "1");
  EXPECT_EQ(logText(),
            " Statistics value «12abc» ([Inet] CountTT) is not a number; left unchanged.\r\n"
            " Statistics value «lots» ([Inet] MoneyTT) is not a number; left unchanged.\r\n");
}

TEST_F(BookConnection, CountersPastTheIntRangeGoOnCounting) {
  dir.writeStatistics("[Inet]\nTimeTT=2147483647\nCountTT=4294967296\nTimeTW=-3000000000\n");
  stats.bookConnection("Inet", 1, 10, 5);
  stats.bookConnection("Inet", 1, 10, 5);
  EXPECT_EQ(stat("Inet", "TimeTT"), "2147483667");
  EXPECT_EQ(stat("Inet", "CountTT"), "4294967298");
  EXPECT_EQ(stat("Inet", "TimeTW"), "-2999999980");
  EXPECT_EQ(logText(), "");
}

TEST_F(BookConnection, EntriesWithOddNamesGetSectionsOfTheirOwn) {
  stats.bookConnection("Inet]\nTimeTT=9", 1, 60, 1.0f);
  stats.bookConnection("Inet", 1, 30, 1.0f);
  EXPECT_EQ(stat("Inet", "TimeTT"), "30");
  EXPECT_EQ(stat(sectionForEntry("Inet]\nTimeTT=9"), "TimeTT"), "60");
}

TEST_F(BookConnection, ClearZeroesCountersButKeepsWeekUndoValuesAndAccount) {
  dir.writeAccounts("[Inet]\nAccount=5\n");
  stats.bookConnection("Inet", 4, 90, 12.5f);
  stats.bookConnection("Inet", 4, 30, 2.0f);
  stats.clear("Inet");
  for (const char* key : {"TimeTC", "TimePC", "TimeTD", "TimePD", "TimeTT", "MoneyTC", "MoneyPC",
                          "MoneyTT", "MoneyPM", "CountTD", "CountPW", "CountTT", "Undo", "UndoX"}) {
    EXPECT_EQ(stat("Inet", key), "0") << key;
  }
  EXPECT_EQ(stat("Inet", "Gr4t"), "120");
  EXPECT_EQ(stat("Inet", "Gr4c"), "2");
  EXPECT_EQ(stat("Inet", "UndoLos"), "2");
  EXPECT_EQ(stat("Inet", "UndoTim"), "30");
  EXPECT_EQ(account("Inet", "Account"), "5");
}

class UndoConnection : public BookConnection {};

TEST_F(UndoConnection, TakesTheLastConnectionBackOneStepDeep) {
  dir.writeAccounts("[Inet]\nAccount=10\n");
  stats.bookConnection("Inet", 3, 100, 50.0f);
  stats.bookConnection("Inet", 3, 60, 12.5f);
  EXPECT_FALSE(stats.undoLastConnection("Inet"));
  const std::pair<const char*, const char*> expected[] = {
      {"CountTD", "1"},  {"CountTT", "1"},  {"TimeTC", "100"}, {"TimePC", "0"},   {"TimeTD", "100"},
      {"TimeTW", "100"}, {"MoneyTC", "50"}, {"MoneyPC", "0"},  {"MoneyTD", "50"}, {"MoneyTT", "50"},
      {"Gr3t", "100"},   {"Gr3f", "49"},    {"Gr3c", "1"},     {"Undo", "0"},     {"UndoX", "0"},
  };
  for (auto [key, value] : expected) EXPECT_EQ(stat("Inet", key), value) << key;
  EXPECT_EQ(account("Inet", "Account"), "10,125");
}

TEST_F(UndoConnection, UndoIsOnlyPossibleOnceAfterABooking) {
  stats.bookConnection("Inet", 3, 60, 10.0f);
  stats.undoLastConnection("Inet");
  EXPECT_FALSE(stats.undoLastConnection("Inet"));
  EXPECT_EQ(stat("Inet", "CountTT"), "0");
  EXPECT_EQ(stat("Inet", "Gr3c"), "0");
  EXPECT_EQ(account("Inet", "Account"), "0,1");
}

TEST_F(UndoConnection, AfterClearCountersStopAtZeroAndTheWeekGoesNegative) {
  dir.writeStatistics("[Inet]\nMoneyTD=3\nTimeTD=20\n");
  stats.bookConnection("Inet", 6, 90, 12.5f);
  stats.clear("Inet");
  // Clear leaves "Undo" at 0; a stored 1 (older file) would still allow the undo.
  IniFile(dir.files().statistics()).writeInt("Inet", "Undo", 1);
  IniFile(dir.files().statistics()).writeString("Inet", "Gr6f", "5");
  EXPECT_TRUE(stats.undoLastConnection("Inet"));
  for (const char* key : {"CountTD", "CountTT", "TimeTD", "TimeTT", "MoneyTD", "MoneyTT"}) {
    EXPECT_EQ(stat("Inet", key), "0") << key;
  }
  EXPECT_EQ(stat("Inet", "Gr6t"), "0");
  EXPECT_EQ(stat("Inet", "Gr6f"), "-7");
  EXPECT_EQ(stat("Inet", "Gr6c"), "0");
  EXPECT_EQ(account("Inet", "Account"), "0,125");
}

TEST_F(UndoConnection, NegativeCostsAndTimesAreTakenBackToo) {
  dir.writeStatistics(
      "[Inet]\nUndo=1\nUndoWD=1\nUndoLos=-2,5\nUndoTim=-10\nTimeTD=5\nMoneyTD=1\nCountTD="
      "1\nCountTW=1\nCountTM=1\n"
      "CountTT=1\n"
      "Gr1t=0\nGr1f=0\n");
  dir.writeAccounts("[Inet]\nAccount=1\n");
  EXPECT_FALSE(stats.undoLastConnection("Inet"));
  EXPECT_EQ(stat("Inet", "TimeTD"), "15");
  EXPECT_EQ(stat("Inet", "MoneyTD"), "3,5");
  EXPECT_EQ(stat("Inet", "Gr1t"), "10");
  EXPECT_EQ(stat("Inet", "Gr1f"), "2");
  EXPECT_EQ(account("Inet", "Account"), "0,975");
}

TEST_F(UndoConnection, AHugeUndoCostKeepsTheWeeklyMoneyAnInteger) {
  dir.writeStatistics("[Inet]\nUndo=1\nUndoWD=2\nUndoLos=1e300\nUndoTim=30\nGr2f=5\n");
  stats.undoLastConnection("Inet");
  EXPECT_EQ(stat("Inet", "Gr2f"), "-2147483648");
  // Still a number the next booking can add to.
  stats.bookConnection("Inet", 2, 30, 10);
  EXPECT_EQ(stat("Inet", "Gr2f"), "-2147483638");
}

TEST_F(UndoConnection, GarbageUndoCostChangesNoMoneyAndNoAccount) {
  dir.writeStatistics(
      "[Inet]\nUndo=1\nUndoWD=2\nUndoLos=abc\nUndoTim=30\nTimeTD=100\nMoneyTD=40\nCountTD=2\n"
      "TimeTW=30\nTimeTM=30\nTimeTT=30\nCountTW=1\nCountTM=1\nCountTT=1\n");
  dir.writeAccounts("[Inet]\nAccount=1\n");
  EXPECT_FALSE(stats.undoLastConnection("Inet"));
  EXPECT_EQ(stat("Inet", "TimeTD"), "70");
  EXPECT_EQ(stat("Inet", "CountTD"), "1");
  EXPECT_EQ(stat("Inet", "MoneyTD"), "40");
  EXPECT_EQ(account("Inet", "Account"), "1");
  EXPECT_NE(logText().find("«abc» ([Inet] UndoLos) is not a number"), std::string::npos);
}

}  // namespace
}  // namespace tarvik
