// The bytes of the connections beside time and money: booked into every span, moved by the
// rollover, cleared and taken back with the rest.
#include "stats/statistics.h"
#include "stats/stats_fixture.h"

namespace tarvik {
namespace {

class VolumeCounters : public test::StatsFixture {
 protected:
  Statistics stats{dir.files(), comma, log};
};

TEST_F(VolumeCounters, BookedRolledUndoneAndClearedWithTheOtherCounters) {
  stats.rollOver({"Default", "Inet"}, makeLocalTime(2026, 12, 7, 9));  // Monday
  // More than 32 bits hold: 5 GB received.
  stats.bookConnection("Inet", 1, 60, 10, {5'000'000'000, 200});
  stats.bookConnection("Inet", 1, 30, 5, {700, 70});
  EXPECT_EQ(stat("Inet", "RxTC"), "700");
  EXPECT_EQ(stat("Inet", "RxPC"), "5000000000");
  EXPECT_EQ(stat("Inet", "TxTC"), "70");
  EXPECT_EQ(stat("Inet", "TxPC"), "200");
  for (const char* span : {"D", "W", "M", "T"}) {
    EXPECT_EQ(stat("Inet", std::string("RxT") + span), "5000000700") << span;
    EXPECT_EQ(stat("Inet", std::string("TxT") + span), "270") << span;
  }
  EXPECT_EQ(stat("Inet", "Gr1rx"), "5000000700");
  EXPECT_EQ(stat("Inet", "Gr1tx"), "270");
  EXPECT_EQ(stat("Inet", "UndoRx"), "700");
  // The time and count keys are as before.
  EXPECT_EQ(stat("Inet", "TimeTD"), "90");
  EXPECT_EQ(stat("Inet", "CountTD"), "2");

  EXPECT_FALSE(stats.undoLastConnection("Inet"));
  EXPECT_EQ(stat("Inet", "RxTC"), "5000000000");
  EXPECT_EQ(stat("Inet", "RxPC"), "0");
  EXPECT_EQ(stat("Inet", "RxTT"), "5000000000");
  EXPECT_EQ(stat("Inet", "TxTD"), "200");
  EXPECT_EQ(stat("Inet", "Gr1rx"), "5000000000");
  EXPECT_EQ(stat("Inet", "Gr1tx"), "200");
  // Undone once only.
  EXPECT_FALSE(stats.undoLastConnection("Inet"));
  EXPECT_EQ(stat("Inet", "RxTT"), "5000000000");

  // Tuesday of the next week, first of January: every span rolls.
  stats.bookConnection("Inet", 2, 10, 1, {100, 10});
  stats.rollOver({"Default", "Inet"}, makeLocalTime(2027, 1, 5, 9));
  EXPECT_EQ(stat("Inet", "RxPD"), "5000000100");
  EXPECT_EQ(stat("Inet", "RxTD"), "0");
  EXPECT_EQ(stat("Inet", "TxPW"), "210");
  EXPECT_EQ(stat("Inet", "TxTW"), "0");
  EXPECT_EQ(stat("Inet", "RxPM"), "5000000100");
  EXPECT_EQ(stat("Inet", "RxTM"), "0");
  EXPECT_EQ(stat("Inet", "Gr1rx"), "0");
  EXPECT_EQ(stat("Inet", "Gr2tx"), "0");
  EXPECT_EQ(stat("Inet", "RxTT"), "5000000100");

  // A day's bytes below the undone connection's are held at 0 and reported.
  stats.bookConnection("Inet", 2, 10, 1, {100, 10});
  IniFile file(dir.files().statistics());
  file.writeString("Inet", "RxTD", "40");
  EXPECT_TRUE(stats.undoLastConnection("Inet"));
  EXPECT_EQ(stat("Inet", "RxTD"), "0");
  EXPECT_EQ(stat("Inet", "TxTD"), "0");

  stats.bookConnection("Inet", 2, 10, 1, {100, 10});
  stats.clear("Inet");
  for (const char* key : {"RxTC", "RxPC", "RxTD", "RxPD", "RxTW", "RxPW", "RxTM", "RxPM", "RxTT",
                          "TxTC", "TxPC", "TxTD", "TxPD", "TxTW", "TxPW", "TxTM", "TxPM", "TxTT"})
    EXPECT_EQ(stat("Inet", key), "0") << key;
  // The weekly record stays, like the other "Gr" keys.
  EXPECT_EQ(stat("Inet", "Gr2rx"), "100");
}

TEST_F(VolumeCounters, FilesWithoutVolumeKeysBookFromZero) {
  IniFile file(dir.files().statistics());
  file.writeString("Inet", "TimeTT", "100");
  stats.bookConnection("Inet", 0, 10, 1);
  EXPECT_EQ(stat("Inet", "RxTT"), "0");
  EXPECT_EQ(stat("Inet", "TimeTT"), "110");
  stats.bookConnection("Inet", 0, 10, 1, {5, 6});
  EXPECT_EQ(stat("Inet", "RxTT"), "5");
  EXPECT_EQ(stat("Inet", "Gr0tx"), "6");
}

}  // namespace
}  // namespace tarvik
