// The look ahead of a metered connection on the virtual clock: when the balance runs out, the
// next tariff change, and the warning before a dearer period, across midnight and the week's
// end.
#include <gtest/gtest.h>

#include "monitor/meter_money.h"
#include "monitor/monitor_rig.h"
#include "tariff/tariff_changes.h"

namespace tarvik {
namespace {

using test::MonitorRig;

TariffPeriod period(int from, int to, int cost, const std::string& name) {
  return TariffPeriod{from / 60, from % 60, to / 60, to % 60, cost, name};
}

TEST(Forecast, ChangesAheadFollowTheLookupIntoTomorrow) {
  const DayPlan today{period(0, 18 * 60, 800, "День"), period(18 * 60, 1440, 1200, "Вечер"),
                      // listed last, so it wins where it overlaps
                      period(18 * 60, 18 * 60 + 30, 1200, "Вечер")};
  const DayPlan sameTomorrow{period(0, 1440, 1200, "Вечер")};
  const DayPlan otherTomorrow{period(0, 30, 1800, "Ночь"), period(30, 1440, 1200, "Вечер")};

  auto changes = tariffChangesAhead(today, sameTomorrow, 17 * 60 + 55, 2 * 1440);
  ASSERT_EQ(changes.size(), 1u);  // the same price and name go on over midnight
  EXPECT_EQ(changes[0].minute, 18 * 60);
  EXPECT_EQ(changes[0].before.costPerHour, 800);
  EXPECT_EQ(changes[0].after.name, "Вечер");

  changes = tariffChangesAhead(today, otherTomorrow, 18 * 60, 2 * 1440);
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_EQ(changes[0].minute, 1440);  // midnight
  EXPECT_EQ(changes[0].after.costPerHour, 1800);
  EXPECT_EQ(changes[1].minute, 1440 + 30);
  EXPECT_EQ(changes[1].after.costPerHour, 1200);

  // A gap in the plan is a change too: no period means no price ("Error!").
  const DayPlan gap{period(0, 60, 500, "A"), period(120, 1440, 500, "A")};
  changes = tariffChangesAhead(gap, gap, 0, 1440);
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_EQ(changes[0].after.name, "Error!");
  EXPECT_EQ(changes[1].minute, 120);
}

TEST(Forecast, EmptyAccountByTheMetersOwnArithmetic) {
  // 3600 hundredths an hour spend one hundredth a second: 1 unit lasts 100 s.
  MeterMoney money{false, 5, 3600, 1.0f};
  EXPECT_EQ(secondWhenEmpty(money, 0, 86400), 100);
  EXPECT_EQ(secondWhenEmpty(money, 40, 86400), 100);
  EXPECT_GT(money.at(99).balance, 0);
  EXPECT_LE(money.at(100).balance, 0);
  money.truncate = true;  // whole minutes: the second minute already books 120 s
  EXPECT_EQ(secondWhenEmpty(money, 0, 86400), 61);
  money.freeTime = 200;  // the free time is a threshold: at 200 s everything is charged
  EXPECT_EQ(secondWhenEmpty(money, 0, 86400), 200);
  EXPECT_EQ(secondWhenEmpty(money, 0, 150), std::nullopt);  // not within the horizon
  EXPECT_EQ(secondWhenEmpty(MeterMoney{false, 5, 0, 1.0f}, 0, 86400), std::nullopt);
  EXPECT_EQ(secondWhenEmpty(MeterMoney{false, 5, 3600, 0.0f}, 0, 86400), std::nullopt);
  EXPECT_EQ(secondWhenEmpty(MeterMoney{false, 5, 3600, -4.0f}, 0, 86400), std::nullopt);
}

// Saturday ends with a cheap hour at 600; Sunday starts dear at 1800 until 00:30, then 900;
// Monday is dear all day at 3000.
std::string weekEndTariff() {
  using namespace tariff_keys;
  std::string s;
  const auto line = [&s](const IntKey<Scope::Tariff>& key, int value) {
    s += key.name.str() + "=" + std::to_string(value) + "\n";
  };
  const auto names = [&s](int day, int p, const std::string& name) {
    s += tariff_keys::name(day, p).name.str() + "=" + name + "\n";
  };
  line(count(6), 2);
  line(endHour(6, 0), 23);
  line(cost(6, 0), 1000);
  names(6, 0, "День");
  line(startHour(6, 1), 23);
  line(cost(6, 1), 600);
  names(6, 1, "Ночь");
  line(count(0), 2);
  line(endMinute(0, 0), 30);
  line(endHour(0, 0), 0);
  line(cost(0, 0), 1800);
  names(0, 0, "Пик");
  line(startMinute(0, 1), 30);
  line(cost(0, 1), 900);
  names(0, 1, "День");
  line(cost(1, 0), 3000);
  names(1, 0, "Будни");
  return s;
}

TEST(Forecast, TooltipAndRiseWarningAcrossMidnightAndTheWeeksEnd) {
  MonitorRig rig(makeLocalTime(2026, 12, 12, 23, 39, 59));  // a Saturday
  rig.dir.writeConfig("[Olm:TK]\nWarnBeep=1\n[Default]\nFreeTime=0\nRiseWarn=1\nRiseTime=10\n" +
                      weekEndTariff());
  rig.dir.writeAccounts("[Default]\nAccount=3\n");
  rig.build();

  rig.ras.counters = TrafficBytes{0, 0};
  rig.ras.dial("Home", kRasConnected);
  rig.advanceTo(23, 40, 0, 800);
  ASSERT_EQ(rig.stateCode(), "on");
  // 600 an hour spend 3 units in 30 minutes: past midnight, so with Sunday's date.
  EXPECT_EQ(rig.user.onlineHint,
            "↓ 0 Б  ↑ 0 Б\nсчёт исчерпается ≈ 13.12 в 00:10\nс 00:00: 1800 ц/час");
  rig.ras.counters = TrafficBytes{13'000'000, 1'200'000};
  rig.advanceTo(23, 45, 0);
  EXPECT_EQ(rig.user.onlineHint,
            "↓ 12,4 МБ  ↑ 1,1 МБ\nсчёт исчерпается ≈ 13.12 в 00:10\nс 00:00: 1800 ц/час");
  EXPECT_TRUE(rig.user.balloons.size() == 1u);  // only the connection's balloon so far

  rig.advanceTo(23, 50, 1);  // ten minutes before the dearer Sunday morning
  ASSERT_EQ(rig.user.balloons.size(), 2u);
  EXPECT_EQ(rig.user.balloons[1].title, "Default");
  EXPECT_EQ(rig.user.balloons[1].text,
            "Внимание!\nЧерез 10 мин. тариф подорожает.\nС 00:00 действует тариф «Пик»,\n1800 "
            "ц/час вместо 600 ц/час.");
  EXPECT_FALSE(rig.user.balloons[1].optional);
  EXPECT_EQ(rig.hooks.calls.back(), "tune 0");
  rig.machine().userReset();  // a new count before the boundary does not warn again
  rig.advanceTo(23, 59, 59);
  EXPECT_EQ(rig.user.balloons.size(), 2u);

  const std::size_t mark = rig.logMark();
  rig.advanceTo(23, 59, 59, 999);
  rig.advance(1000);  // Sunday: the tariff splits the connection
  EXPECT_NE(rig.logSince(mark).find("Virtual reconnect (tariff changed)"), std::string::npos);
  rig.advance(1000);
  // 1 unit is left at 1800 an hour: 200 s. The morning period is cheaper: no warning.
  EXPECT_EQ(rig.user.onlineHint, "↓ 0 Б  ↑ 0 Б\nсчёт исчерпается ≈ в 00:03\nс 00:30: 900 ц/час");
  rig.advance(40 * 60 * 1000);
  EXPECT_EQ(std::count_if(rig.user.balloons.begin(), rig.user.balloons.end(),
                          [](const auto& b) { return b.text.starts_with("Внимание!\nЧерез"); }),
            1);

  rig.ras.drop();
  rig.advance(1000);
  EXPECT_EQ(rig.stateCode(), "of");
  EXPECT_EQ(rig.user.onlineHint, "");

  // A hand-edited RiseTime beyond the hour the dialog offers warns an hour ahead, not at the
  // start of a connection that begins 90 minutes before the dearer Monday.
  rig.dir.writeConfig("[Olm:TK]\nWarnBeep=1\n[Default]\nFreeTime=0\nRiseWarn=1\nRiseTime=500\n" +
                      weekEndTariff());
  rig.advanceTo(22, 30, 0);
  rig.ras.dial("Home", kRasConnected);
  const auto riseWarnings = [&rig] {
    std::vector<std::string> texts;
    for (const auto& b : rig.user.balloons)
      if (b.text.starts_with("Внимание!\nЧерез")) texts.push_back(b.text);
    return texts;
  };
  rig.advanceTo(22, 59, 59);
  EXPECT_EQ(rig.stateCode(), "on");
  EXPECT_EQ(riseWarnings().size(), 1u);
  rig.advanceTo(23, 0, 1);
  ASSERT_EQ(riseWarnings().size(), 2u);
  EXPECT_EQ(riseWarnings().back(),
            "Внимание!\nЧерез 60 мин. тариф подорожает.\nС 00:00 действует тариф «Будни»,\n3000 "
            "ц/час вместо 900 ц/час.");
}

TEST(Forecast, NothingToSayWithoutPriceOrBalance) {
  MonitorRig rig(makeLocalTime(2026, 12, 7, 12, 0, 0));
  rig.dir.writeConfig("[Default]\n" + MonitorRig::uniformTariff(0, "Free"));
  rig.dir.writeAccounts("[Default]\nAccount=50\n");
  rig.build();
  rig.ras.dial("Home", kRasConnected);
  rig.advance(5000);
  ASSERT_EQ(rig.stateCode(), "on");
  // No counters from the line, no price, no change until midnight: no lines at all.
  EXPECT_EQ(rig.user.onlineHint, "");
  EXPECT_EQ(rig.user.onlineHintWrites, 0);
}

}  // namespace
}  // namespace tarvik
