// The data limit of an entry driven by the real connection monitor, notifications and crash
// journal on the virtual clock: warned once per span even across a crash, the line dropped at
// the limit by the automatic hang-up's path, and a new span counting afresh.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/program_fixture.h"

namespace tarvik {
namespace {

constexpr std::uint64_t kMB = 1 << 20;

struct DataLimitJourney : Wiring {
  // A day limit of 10 MB counting both ways, warning at 80 %, hanging up at the limit. The
  // statistics rolled over today and hold 4 MB received and 1 MB sent.
  void SetUp() override {
    dir.writeConfig("[UpDate]\nDay=07.12\nWeek=49\nMonth=12\nYear=2026\n[Default]\n" +
                    MonitorRig::uniformTariff(3600, "Day") +
                    "LimitUse=1\nLimitSize=10\nLimitUnit=0\nLimitSpan=0\nLimitShare=80\n"
                    "LimitHangUp=1\n");
    dir.writeAccounts("[Default]\nAccount=100\n");
    ProgramDir::writeText(dir.files().statistics(), "[Default]\nRxTD=" + std::to_string(4 * kMB) +
                                                        "\nTxTD=" + std::to_string(kMB) + "\n");
  }
  static int balloonsWith(const FakeUser& user, std::string_view text) {
    return static_cast<int>(
        std::count_if(user.balloons.begin(), user.balloons.end(),
                      [&](const auto& b) { return b.text.find(text) != std::string::npos; }));
  }
  static std::size_t occurrences(const std::string& text, std::string_view what) {
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
  }
  // The volume and the limit; the balance's forecast follows them.
  static std::string twoLines(const std::string& hint) {
    const auto first = hint.find('\n');
    return hint.substr(0, first == std::string::npos ? first : hint.find('\n', first + 1));
  }
  std::string stat(const std::string& key) const {
    return IniFile(dir.files().statistics()).readString("Default", key, "");
  }
};

TEST_F(DataLimitJourney, WarnsOncePerSpanThroughACrashHangsUpAtTheLimitAndStartsAfreshNextDay) {
  {
    auto p = program();
    ras.counters = TrafficBytes{0, 0};
    ras.dial("Home", kRasConnected);
    advanceTo(12, 0, 2);
    EXPECT_EQ(twoLines(p->user.onlineHint), "↓ 0 Б  ↑ 0 Б\nосталось 5,0 МБ из 10 МБ до 08.12");

    ras.counters = TrafficBytes{3 * kMB - 1, 0};  // one byte short of the share
    advanceTo(12, 0, 4);
    EXPECT_EQ(balloonsWith(p->user, "лимита трафика"), 0);
    ras.counters = TrafficBytes{3 * kMB, kMB / 2};  // 8,5 MB: past 80 %
    advanceTo(12, 0, 6);
    ASSERT_EQ(balloonsWith(p->user,
                           "Внимание!\nИспользовано 85 % лимита трафика\n(10 МБ в день)."
                           "\nОсталось 1,5 МБ до 08.12."),
              1);
    EXPECT_NE(std::find(p->tone.played.begin(), p->tone.played.end(), "2500/100"),
              p->tone.played.end());  // the warning beep of the flash
    EXPECT_NE(logText().find("\r\n Data limit warning: 85% of 10 MB per day used.\r\n"),
              std::string::npos)
        << logText();
    EXPECT_EQ(stat("LimitMark"), "D07.12.2026");
    EXPECT_EQ(stat("LimitWarned"), "1");
    advanceTo(12, 0, 14);  // a journal with the volume is written meanwhile
    EXPECT_EQ(balloonsWith(p->user, "лимита трафика"), 1);
  }  // killed between the warning and the limit

  // The next start books the interrupted connection with its volume and gives no second
  // warning at the share: the span's mark survived.
  ras.drop();
  auto next = std::make_unique<Program>(dir, clock, ras);
  next->user.recoveryAnswers = {RecoveryAnswer::Book};
  next->start();
  EXPECT_EQ(stat("RxTD"), std::to_string(7 * kMB));
  EXPECT_EQ(stat("TxTD"), std::to_string(kMB + kMB / 2));
  ras.counters = TrafficBytes{0, 0};
  ras.dial("Home", kRasConnected);
  advanceTo(12, 1, 1);
  EXPECT_EQ(twoLines(next->user.onlineHint), "↓ 0 Б  ↑ 0 Б\nосталось 1,5 МБ из 10 МБ до 08.12");
  ras.counters = TrafficBytes{kMB, 0};
  advanceTo(12, 1, 3);
  EXPECT_EQ(balloonsWith(next->user, "лимита трафика"), 0);
  EXPECT_EQ(ras.hangUps, 0);

  // The limit: warned, then the line is dropped by the automatic hang-up's path.
  ras.counters = TrafficBytes{kMB, kMB / 2};
  advanceTo(12, 1, 5);
  EXPECT_EQ(balloonsWith(next->user,
                         "Внимание!\nЛимит трафика исчерпан\n(10 МБ в день).\n"
                         "Соединение будет разорвано."),
            1);
  EXPECT_EQ(ras.hangUps, 1);
  const std::string log = logText();
  const auto reached = log.find(" Data limit reached: 10 MB per day.\r\n");
  ASSERT_NE(reached, std::string::npos) << log;
  EXPECT_NE(log.find(" Hanging up...\r\n", reached), std::string::npos);
  advanceTo(12, 1, 8);
  EXPECT_EQ(next->stateCode, "of");
  EXPECT_EQ(stat("RxTD"), std::to_string(8 * kMB));
  EXPECT_EQ(stat("LimitWarned"), "2");

  // A new connection the same day is dropped at once, without a second balloon.
  ras.counters = TrafficBytes{0, 0};
  ras.dial("Home", kRasConnected);
  advanceTo(12, 2, 2);
  EXPECT_EQ(ras.hangUps, 2);
  EXPECT_EQ(balloonsWith(next->user, "Лимит трафика"), 1);
  EXPECT_EQ(occurrences(logText(), " Data limit reached: "), 2u);
  advanceTo(12, 2, 5);
  EXPECT_EQ(next->stateCode, "of");

  // The next day counts afresh although the statistics roll over only at the next start.
  clock.setNow(makeLocalTime(2026, 12, 8, 9, 0, 0));  // a night asleep
  ras.counters = TrafficBytes{0, 0};
  ras.dial("Home", kRasConnected);
  advanceTo(9, 0, 2);
  EXPECT_EQ(ras.hangUps, 2);
  EXPECT_EQ(twoLines(next->user.onlineHint), "↓ 0 Б  ↑ 0 Б\nосталось 10,0 МБ из 10 МБ до 09.12");
  ras.counters = TrafficBytes{8 * kMB, 0};
  advanceTo(9, 0, 4);
  EXPECT_EQ(balloonsWith(next->user, "Использовано 80 % лимита трафика"), 1);
  EXPECT_EQ(stat("LimitMark"), "D08.12.2026");
}

TEST_F(DataLimitJourney, AConnectionOverTheSpansEndCountsOnlyWhatFollowsIt) {
  dir.writeConfig("[UpDate]\nDay=07.12\nWeek=49\nMonth=12\nYear=2026\n[Default]\n" +
                  MonitorRig::uniformTariff(3600, "Day") +
                  "LimitUse=1\nLimitSize=10\nLimitUnit=0\nLimitSpan=0\nLimitCount=1\n");
  clock.setNow(makeLocalTime(2026, 12, 7, 23, 59, 0));
  auto p = program();
  ras.counters = TrafficBytes{0, 0};
  ras.dial("Home", kRasConnected);
  ras.counters = TrafficBytes{0, 0};
  advanceTo(23, 59, 2);
  ras.counters = TrafficBytes{4 * kMB, 50 * kMB};  // received only: 8 MB with the 4 booked
  advanceTo(23, 59, 30);
  EXPECT_EQ(balloonsWith(p->user, "Использовано 80 % лимита трафика"), 1);

  // Past midnight the day is new; its count starts with the bytes that follow.
  clock.advanceTo(makeLocalTime(2026, 12, 8, 0, 0, 2));
  EXPECT_EQ(twoLines(p->user.onlineHint),
            "↓ 4,0 МБ  ↑ 50,0 МБ\nосталось 10,0 МБ из 10 МБ до 09.12");
  ras.counters = TrafficBytes{5 * kMB, 50 * kMB};
  advanceTo(0, 0, 4);
  EXPECT_EQ(twoLines(p->user.onlineHint), "↓ 5,0 МБ  ↑ 50,0 МБ\nосталось 9,0 МБ из 10 МБ до 09.12");
  ras.drop();
  advanceTo(0, 0, 6);
  ASSERT_EQ(p->stateCode, "of");

  // The whole connection was booked into the counters, which still hold yesterday too: the
  // next connection today counts only the megabyte after midnight.
  EXPECT_EQ(stat("RxTD"), std::to_string(9 * kMB));
  ras.counters = TrafficBytes{0, 0};
  ras.dial("Home", kRasConnected);
  advanceTo(0, 1, 2);
  EXPECT_EQ(twoLines(p->user.onlineHint), "↓ 0 Б  ↑ 0 Б\nосталось 9,0 МБ из 10 МБ до 09.12");
  EXPECT_EQ(balloonsWith(p->user, "лимита трафика"), 1);
}

TEST_F(DataLimitJourney, ALineWithoutCountersStillShowsWhatTheStatisticsLeave) {
  // Free of charge, so no forecast line comes to write the tooltip either.
  dir.writeConfig("[Default]\n" + MonitorRig::uniformTariff(0, "Free") +
                  "LimitUse=1\nLimitSize=10\nLimitUnit=0\nLimitSpan=0\nLimitCount=1\n");
  auto p = program();
  ras.counters.reset();  // the service cannot tell the bytes
  ras.dial("Home", kRasConnected);
  advanceTo(12, 0, 3);
  EXPECT_EQ(p->user.onlineHint, "осталось 6,0 МБ из 10 МБ до 08.12");
}

}  // namespace
}  // namespace tarvik
