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

// Three entries booked side by side: a cost with the digits single precision holds, the weekly
// money truncated toward zero after adding, and negative figures booked as they are.
TEST_F(BookConnection, CostsKeepTheirSinglePrecisionDigitsAndNegativeFiguresAreBookedAsTheyAre) {
  dir.writeStatistics("[Inet]\nGr5f=-20\n[Back]\nTimeTD=100\nMoneyTD=50\n");
  const float cost = static_cast<float>(2500 * 30) * (1.0f / 3600);
  stats.bookConnection("Default", 0, 30, cost);
  stats.bookConnection("Inet", 5, 10, 12.5f);
  stats.bookConnection("Back", 1, -30, -12.5f);
  EXPECT_EQ(stat("Default", "MoneyTC"), "20,83333");
  EXPECT_EQ(stat("Default", "UndoLos"), "20,83333");
  EXPECT_EQ(stat("Default", "Gr0f"), "20");
  EXPECT_EQ(stat("Inet", "Gr5f"), "-7");
  EXPECT_EQ(stat("Back", "TimeTC"), "-30");
  EXPECT_EQ(stat("Back", "TimeTD"), "70");
  EXPECT_EQ(stat("Back", "MoneyTC"), "-12,5");
  EXPECT_EQ(stat("Back", "MoneyTD"), "37,5");
  EXPECT_EQ(stat("Back", "Gr1f"), "-12");
  EXPECT_EQ(stat("Back", "UndoLos"), "-12,5");
  EXPECT_EQ(stat("Back", "CountTD"), "1");
}

// Values that are not numbers are left alone and logged while the rest is booked; counters
// past the int range go on counting without a word in the log.
TEST_F(BookConnection, GarbageIsLeftAloneAndLoggedWhileCountersPastTheIntRangeGoOn) {
  dir.writeStatistics(
      "[Inet]\nMoneyTT=lots\nCountTT=12abc\nTimeTD=5\n"
      "[Big]\nTimeTT=2147483647\nCountTT=4294967296\nTimeTW=-3000000000\n");
  stats.bookConnection("Inet", 1, 60, 100.0f);
  stats.bookConnection("Big", 1, 10, 5);
  stats.bookConnection("Big", 1, 10, 5);
  EXPECT_EQ(stat("Inet", "MoneyTT"), "lots");
  EXPECT_EQ(stat("Inet", "CountTT"), "12abc");
  EXPECT_EQ(stat("Inet", "MoneyTD"), "100");
  EXPECT_EQ(stat("Inet", "TimeTD"), "65");
  EXPECT_EQ(stat("Inet", "CountTD"), "1");
  EXPECT_EQ(stat("Big", "TimeTT"), "2147483667");
  EXPECT_EQ(stat("Big", "CountTT"), "4294967298");
  EXPECT_EQ(stat("Big", "TimeTW"), "-2999999980");
  EXPECT_EQ(logText(),
            " Statistics value «12abc» ([Inet] CountTT) is not a number; left unchanged.\r\n"
            " Statistics value «lots» ([Inet] MoneyTT) is not a number; left unchanged.\r\n");
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

TEST_F(UndoConnection, TakesTheLastConnectionBackOneStepDeepAndOnlyOnce) {
  dir.writeAccounts("[Inet]\nAccount=10\n");
  stats.bookConnection("Inet", 3, 100, 50.0f);
  stats.bookConnection("Inet", 3, 60, 12.5f);
  const std::pair<const char*, const char*> expected[] = {
      {"CountTD", "1"},  {"CountTT", "1"},  {"TimeTC", "100"}, {"TimePC", "0"},   {"TimeTD", "100"},
      {"TimeTW", "100"}, {"MoneyTC", "50"}, {"MoneyPC", "0"},  {"MoneyTD", "50"}, {"MoneyTT", "50"},
      {"Gr3t", "100"},   {"Gr3f", "49"},    {"Gr3c", "1"},     {"Undo", "0"},     {"UndoX", "0"},
  };
  for (const char* attempt : {"first undo", "second undo"}) {
    SCOPED_TRACE(attempt);
    EXPECT_FALSE(stats.undoLastConnection("Inet"));
    for (auto [key, value] : expected) EXPECT_EQ(stat("Inet", key), value) << key;
    EXPECT_EQ(account("Inet", "Account"), "10,125");
  }
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

// Hand-made undo values, one entry each: negative cost and time, a cost too huge for the weekly
// money, and a cost that is not a number.
TEST_F(UndoConnection, NegativeHugeAndGarbageUndoValuesAreTakenBackWithoutBreakingAFigure) {
  dir.writeStatistics(
      "[Back]\nUndo=1\nUndoWD=1\nUndoLos=-2,5\nUndoTim=-10\nTimeTD=5\nMoneyTD=1\n"
      "CountTD=1\nCountTW=1\nCountTM=1\nCountTT=1\nGr1t=0\nGr1f=0\n"
      "[Huge]\nUndo=1\nUndoWD=2\nUndoLos=1e300\nUndoTim=30\nGr2f=5\n"
      "[Text]\nUndo=1\nUndoWD=2\nUndoLos=abc\nUndoTim=30\nTimeTD=100\nMoneyTD=40\n"
      "CountTD=2\nTimeTW=30\nTimeTM=30\nTimeTT=30\nCountTW=1\nCountTM=1\nCountTT=1\n");
  dir.writeAccounts("[Back]\nAccount=1\n[Text]\nAccount=1\n");
  EXPECT_FALSE(stats.undoLastConnection("Back"));
  EXPECT_EQ(stat("Back", "TimeTD"), "15");
  EXPECT_EQ(stat("Back", "MoneyTD"), "3,5");
  EXPECT_EQ(stat("Back", "Gr1t"), "10");
  EXPECT_EQ(stat("Back", "Gr1f"), "2");
  EXPECT_EQ(account("Back", "Account"), "0,975");

  stats.undoLastConnection("Huge");
  EXPECT_EQ(stat("Huge", "Gr2f"), "-2147483648");
  // Still a number the next booking can add to.
  stats.bookConnection("Huge", 2, 30, 10);
  EXPECT_EQ(stat("Huge", "Gr2f"), "-2147483638");

  EXPECT_FALSE(stats.undoLastConnection("Text"));
  EXPECT_EQ(stat("Text", "TimeTD"), "70");
  EXPECT_EQ(stat("Text", "CountTD"), "1");
  EXPECT_EQ(stat("Text", "MoneyTD"), "40");
  EXPECT_EQ(account("Text", "Account"), "1");
  EXPECT_NE(logText().find("«abc» ([Text] UndoLos) is not a number"), std::string::npos);
}

}  // namespace
}  // namespace tarvik
