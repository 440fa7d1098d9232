// The meter's figures, the tariff change and the balance warnings.
#include <gtest/gtest.h>

#include "monitor/monitor_rig.h"

namespace tarvik {
namespace {

using test::MonitorRig;

// Connects on "Home" at the first poll (12:00:01 unless the rig starts elsewhere).
void connectAtFirstPoll(MonitorRig& rig) {
  rig.ras.dial("Home", kRasConnected);
  rig.advance(1000);
  ASSERT_EQ(rig.stateCode(), "on");
}

// Runs the meter until `seconds` have passed since metering began (mid-second).
void runFor(MonitorRig& rig, int seconds) {
  rig.advance(static_cast<std::int64_t>(seconds) * 1000 + 500);
}

TEST(MeterFigures, FreeTimeIsAThresholdNotADeduction) {
  MonitorRig rig;
  rig.dir.writeConfig("[Default]\n" + MonitorRig::uniformTariff(3600, "Sec"));
  rig.build();
  connectAtFirstPoll(rig);
  runFor(rig, 4);
  EXPECT_EQ(rig.meter().meteredSeconds(), 4);
  EXPECT_EQ(rig.meter().cost(), 0.0f);
  rig.advance(1000);  // 5 s: the whole duration is charged
  EXPECT_EQ(rig.meter().meteredSeconds(), 5);
  EXPECT_EQ(rig.meter().cost(), 5.0f);
}

TEST(MeterFigures, TruncateRoundsUpToWholeMinutesOutsideTheFreeTime) {
  MonitorRig rig;
  rig.dir.writeConfig("[Default]\nTruncate=1\nFreeTime=5\n" +
                      MonitorRig::uniformTariff(3600, "Sec"));
  rig.build();
  connectAtFirstPoll(rig);
  runFor(rig, 4);
  EXPECT_EQ(rig.meter().meteredSeconds(), 4);  // within the free time: no rounding
  rig.advance(1000);
  EXPECT_EQ(rig.meter().meteredSeconds(), 60);
  EXPECT_EQ(rig.user.field(DisplayField::Time), "00:00:05");  // the display is not rounded
  rig.advance(55 * 1000);
  EXPECT_EQ(rig.meter().meteredSeconds(), 60);
  rig.advance(1000);
  EXPECT_EQ(rig.meter().meteredSeconds(), 120);  // 61 s
  EXPECT_EQ(rig.meter().cost(), 120.0f);
}

TEST(MeterFigures, TheQuickLogExampleWithADecimalPoint) {
  MonitorRig rig(makeLocalTime(2026, 12, 6, 21, 10, 40), NumberFormat{'.'});
  rig.dir.writeConfig("[Default]\n" + MonitorRig::uniformTariff(2500, "Day"));
  rig.dir.writeAccounts("[Default]\nAccount=100\n");
  rig.build();
  connectAtFirstPoll(rig);
  runFor(rig, 30);
  EXPECT_EQ(formatGeneral(rig.meter().cost(), NumberFormat{'.'}), "20.8333339691162");
  EXPECT_NEAR(100.0 - rig.meter().balance(), 0.208333, 1e-5);
  rig.ras.drop();
  rig.advance(500);
  EXPECT_EQ(rig.quickLines(),
            "06.12.2026 21:10:41 = 00:00:30 + [$ | ~0.2083 | =99.791 ] <Default>\r\n");
}

TEST(MeterFigures, CommaBalanceReadsUnderAPointLocale) {
  MonitorRig rig(makeLocalTime(2026, 12, 7, 12, 0, 0), NumberFormat{'.'});
  rig.dir.writeAccounts("[Default]\nAccount=12,5\n");
  rig.build();
  connectAtFirstPoll(rig);
  EXPECT_EQ(rig.meter().balance(), 12.5f);
}

TEST(MeterFigures, AcrossMidnightWithMidnightOffIsOneConnection) {
  MonitorRig rig(makeLocalTime(2026, 12, 7, 23, 59, 49));  // a Monday
  rig.dir.writeConfig("[Olm:TK]\nMidnight=0\n[Default]\n" + MonitorRig::uniformTariff(3600, "Sec"));
  rig.build();
  connectAtFirstPoll(rig);  // 23:59:50
  rig.clock.advanceTo(makeLocalTime(2026, 12, 8, 0, 0, 10, 500));
  EXPECT_EQ(rig.meter().meteredSeconds(), 20);
  rig.ras.drop();
  rig.advance(500);
  EXPECT_EQ(rig.quickLines(),
            "07.12.2026 23:59:50 = 00:00:20 + [$ | ~0,2    | =-0,2   ] <Default>\r\n");
  EXPECT_EQ(rig.stat("Default", "CountTT"), "1");
  EXPECT_EQ(rig.stat("Default", "Gr2t"), "20");  // booked on the Tuesday it ended
  EXPECT_EQ(rig.stat("Default", "Gr1t"), "<none>");
}

// Monday's and Tuesday's plans both have one period numbered 0, at another price and name:
// midnight is a tariff change all the same, and each half is charged at its own day's price.
TEST(MeterTariff, AnotherPriceUnderTheSamePeriodNumberAtMidnightSplitsTheConnection) {
  MonitorRig rig(makeLocalTime(2026, 12, 7, 23, 59, 49));  // a Monday
  std::string plan = MonitorRig::uniformTariff(3600, "Mon");
  plan.insert(0, "Tar2x0Cost=07200\nTar2x0Name=Tue\n");  // the first of a key counts
  rig.dir.writeConfig("[Olm:TK]\nMidnight=0\n[Default]\nFreeTime=0\n" + plan);
  rig.dir.writeAccounts("[Default]\nAccount=10\n");
  rig.build();
  connectAtFirstPoll(rig);  // 23:59:50
  EXPECT_EQ(rig.user.field(DisplayField::Tariff), "Mon");
  rig.clock.advanceTo(makeLocalTime(2026, 12, 7, 23, 59, 59, 900));
  const std::size_t mark = rig.logMark();
  rig.clock.advanceTo(makeLocalTime(2026, 12, 8, 0, 0, 0, 900));
  EXPECT_EQ(rig.logSince(mark).rfind("\r\n08.12.2026 00:00:00\r\n"
                                     " Virtual reconnect (tariff changed).\r\n"
                                     " Disconnected (virtually).\r\n",
                                     0),
            0u);
  EXPECT_EQ(rig.user.field(DisplayField::Tariff), "Tue");
  EXPECT_EQ(rig.meter().costPerHour(), 7200);

  rig.clock.advanceTo(makeLocalTime(2026, 12, 8, 0, 0, 10, 500));
  rig.ras.drop();
  rig.advance(500);
  // 9 s at one hundredth a second before midnight, 10 s at two after it.
  EXPECT_EQ(rig.quickLines(),
            "07.12.2026 23:59:50 = 00:00:09 + [$ | ~0,09   | =9,91   ] <Default>\r\n"
            "08.12.2026 00:00:00 = 00:00:10 + [$ | ~0,2    | =9,71   ] <Default>\r\n");
  EXPECT_EQ(rig.stat("Default", "CountTT"), "2");
  EXPECT_EQ(rig.account("Default"), "9,71");
}

TEST(MeterTariff, ABoundaryPassedOnlineSplitsTheConnection) {
  MonitorRig rig(makeLocalTime(2026, 12, 7, 11, 59, 0));
  std::string plan;
  for (int d = 0; d < 7; ++d) {
    const std::string p = "Tar" + std::to_string(d);
    plan += p + "=2\n" + p + "x0AH=00\n" + p + "x0ZH=12\n" + p + "x0Cost=00100\n" + p +
            "x0Name=Night\n" + p + "x1AH=12\n" + p + "x1ZH=24\n" + p + "x1Cost=00200\n" + p +
            "x1Name=Day\n";
  }
  rig.dir.writeConfig("[Default]\nFreeTime=0\n" + plan);
  rig.dir.writeAccounts("[Default]\nAccount=10\n");
  rig.build();
  connectAtFirstPoll(rig);  // 11:59:01
  rig.advanceTo(11, 59, 59, 900);
  const std::size_t mark = rig.logMark();
  rig.advanceTo(12, 0, 0, 800);  // the tick at 12:00:00.x sees the Day period

  EXPECT_EQ(rig.logSince(mark),
            "\r\n07.12.2026 12:00:00\r\n"
            " Virtual reconnect (tariff changed).\r\n"
            " Disconnected (virtually).\r\n"
            " Time spent online: 00:00:58\r\n"
            " Financial expences: 1,611111 ц\r\n"
            " Account value: $ 9,983889\r\n"
            "\r\n07.12.2026 12:00:00\r\n"
            " RAS or VPN activity detected.\r\n"
            " Device in use: Modem\r\n"
            " Entry in use: Home\r\n"
            " Entry settings: Default\r\n"
            " Tariff in use: «Day», 200/h\r\n"
            " Connected (virtually).\r\n");
  ASSERT_EQ(rig.user.balloons.size(), 2u);
  EXPECT_EQ(rig.user.balloons[1].title, "Default");
  EXPECT_EQ(rig.user.balloons[1].text,
            "Сменился тариф.\nТекущее соединение было разделено\nна «до» и «после» этого "
            "события.\nНовый тариф: «Day», 200 ц/час.");
  EXPECT_FALSE(rig.user.balloons[1].optional);
  EXPECT_EQ(rig.stateCode(), "on");
  EXPECT_TRUE(rig.meter().running());
  EXPECT_EQ(rig.user.field(DisplayField::Tariff), "Day");

  rig.advanceTo(12, 0, 30, 500);
  rig.ras.drop();
  rig.advance(500);
  EXPECT_EQ(rig.quickLines(),
            "07.12.2026 11:59:01 = 00:00:58 + [$ | ~0,0161 | =9,9838 ] <Default>\r\n"
            "07.12.2026 12:00:00 = 00:00:30 + [$ | ~0,0166 | =9,9672 ] <Default>\r\n");
  EXPECT_EQ(rig.stat("Default", "CountTD"), "2");
  // One set of connect actions: the virtual half runs none.
  EXPECT_EQ(std::count(rig.hooks.calls.begin(), rig.hooks.calls.end(), "connect Default"), 1);
}

class MeterWarnings : public ::testing::Test {
 protected:
  // All four levels on with their default thresholds 1, 10, 25, 50 hundredths; 36 000
  // hundredths per hour is 10 hundredths a second.
  void build(const std::string& balance, const std::string& extra = "") {
    rig.dir.writeConfig(
        "[Default]\nFreeTime=0\nAccountUse1=1\nAccountUse2=1\nAccountUse3=1\n"
        "AccountUse4=1\nZeroFile=zero.wav\n" +
        extra + MonitorRig::uniformTariff(36000, "Fast"));
    rig.dir.writeAccounts("[Default]\nAccount=" + balance + "\n");
    rig.build();
  }
  int levelBalloons() const {
    int n = 0;
    for (const auto& b : rig.user.balloons)
      n += b.text.rfind("Внимание!\nСостояние счёта ниже", 0) == 0;
    return n;
  }
  int zeroBalloons() const {
    int n = 0;
    for (const auto& b : rig.user.balloons) n += b.text.find("нулю!") != std::string::npos;
    return n;
  }

  MonitorRig rig;
};

TEST_F(MeterWarnings, EachLevelOnceThenZero) {
  build("0,5");
  connectAtFirstPoll(rig);
  const auto flashes = [&] {
    return std::count(rig.hooks.calls.begin(), rig.hooks.calls.end(), "flash");
  };
  rig.advance(750);  // 0 s: balance 0.50, not below 50 hundredths
  EXPECT_EQ(levelBalloons(), 0);
  rig.advance(1000);  // 1 s: 0.40 < 0.50
  EXPECT_EQ(levelBalloons(), 1);
  EXPECT_EQ(flashes(), 1);
  rig.advance(1000);  // 2 s: 0.30, no new level
  EXPECT_EQ(levelBalloons(), 1);
  rig.advance(1000);  // 3 s: 0.20 < 0.25
  EXPECT_EQ(levelBalloons(), 2);
  EXPECT_EQ(flashes(), 2);
  rig.advance(1000);  // 4 s: 0.10 is not below 0.10
  EXPECT_EQ(levelBalloons(), 2);
  rig.advance(1000);  // 5 s: 0.00 < 0.10 and < 0.01, and the zero warning
  EXPECT_EQ(levelBalloons(), 4);
  EXPECT_EQ(zeroBalloons(), 1);
  EXPECT_EQ(flashes(), 2);  // the zero warning cancelled the flash of its tick
  EXPECT_EQ(rig.user.lastStateCode(), "xx");
  EXPECT_EQ(rig.user.broughtToFront, 1);
  EXPECT_EQ(rig.sound.played, (std::vector<std::string>{"zero.wav"}));
  EXPECT_EQ(std::count(rig.hooks.calls.begin(), rig.hooks.calls.end(), "tune 7"), 1);
  rig.advance(5000);  // nothing fires twice
  EXPECT_EQ(levelBalloons(), 4);
  EXPECT_EQ(zeroBalloons(), 1);
  for (const auto& b : rig.user.balloons) {
    if (b.text.rfind("Внимание!", 0) != 0) continue;
    const bool zero = b.text.find("нулю!") != std::string::npos;
    EXPECT_EQ(b.optional, !zero);
  }
}

TEST_F(MeterWarnings, ZeroBalanceAtStartFiresEverythingInTheFirstTick) {
  build("0");
  connectAtFirstPoll(rig);
  rig.advance(750);
  EXPECT_EQ(levelBalloons(), 4);
  EXPECT_EQ(zeroBalloons(), 1);
  EXPECT_EQ(std::count(rig.hooks.calls.begin(), rig.hooks.calls.end(), "flash"), 0);
}

TEST_F(MeterWarnings, SwitchedOffWarningsNeverFire) {
  rig.dir.writeConfig("[Default]\nZeroWarn=0\n" + MonitorRig::uniformTariff(36000, "Fast"));
  rig.dir.writeAccounts("[Default]\nAccount=0\n");
  rig.build();
  connectAtFirstPoll(rig);
  rig.advance(10000);
  EXPECT_EQ(levelBalloons() + zeroBalloons(), 0);
}

TEST_F(MeterWarnings, ReloadReArmsAWarningBelowItsThreshold) {
  build("0,3");
  connectAtFirstPoll(rig);
  rig.advance(1750);  // 0.20: levels 4 and 3
  EXPECT_EQ(levelBalloons(), 2);
  rig.meter().reload("Default");
  rig.advance(750);
  EXPECT_EQ(levelBalloons(), 4);
}

TEST_F(MeterWarnings, ABalanceThatIsNoNumberMetersOnWithoutWarnings) {
  build("lots");
  const std::size_t mark = rig.logMark();
  connectAtFirstPoll(rig);
  rig.advance(10000);
  EXPECT_EQ(levelBalloons() + zeroBalloons(), 0);
  EXPECT_TRUE(rig.meter().running());
  EXPECT_GT(rig.meter().cost(), 0.0f);
  EXPECT_NE(rig.logSince(mark).find("lots"), std::string::npos);  // the fallback is logged
  rig.ras.drop();
  rig.advance(1000);
  EXPECT_EQ(rig.account("Default"), "lots");  // the hand-written text is kept
  EXPECT_EQ(rig.stat("Default", "CountTT"), "1");
}

}  // namespace
}  // namespace tarvik

namespace tarvik {
namespace {

TEST(MeterTariff, APlanSavedDuringTheConnectionAppliesAtTheNextTick) {
  test::MonitorRig rig;
  rig.dir.writeConfig("[Default]\n" + test::MonitorRig::uniformTariff(100, "Old"));
  rig.build();
  rig.ras.dial("Home", kRasConnected);
  rig.advanceTo(12, 0, 1);
  rig.advanceTo(12, 0, 5, 500);
  EXPECT_EQ(rig.meter().tariffName(), "Old");
  // The editor saves a plan whose period 0 now has another cost and name: the period number
  // stays the same, so the meter just goes on at the new cost.
  rig.dir.writeConfig("[Default]\n" + test::MonitorRig::uniformTariff(200, "Newer"));
  rig.advance(750);
  EXPECT_EQ(rig.meter().tariffName(), "Newer");
  EXPECT_EQ(rig.meter().costPerHour(), 200);
  // The file removed mid-connection (deleted, or its folder renamed away) is no plan of
  // nothing: the meter goes on at the tariff it read last.
  const float cost = rig.meter().cost();
  std::filesystem::remove(rig.dir.files().config());
  rig.advance(3000);
  EXPECT_EQ(rig.meter().tariffName(), "Newer");
  EXPECT_EQ(rig.meter().costPerHour(), 200);
  EXPECT_GT(rig.meter().cost(), cost);
  // A plan with a second period covering now changes the period: the connection is split.
  std::string plan;
  for (int d = 0; d < 7; ++d) {
    const std::string p = "Tar" + std::to_string(d);
    plan += p + "=2\n" + p + "x1AH=12\n" + p + "x1ZH=13\n" + p + "x1Name=Lunch\n";
  }
  rig.dir.writeConfig("[Default]\n" + plan);
  const std::size_t mark = rig.logMark();
  rig.advance(750);
  EXPECT_NE(rig.logSince(mark).find(" Virtual reconnect (tariff changed)."), std::string::npos);
  EXPECT_EQ(rig.meter().tariffName(), "Lunch");
}

}  // namespace
}  // namespace tarvik

namespace tarvik {
namespace {

TEST(MeterFigures, ALongExpensiveConnectionNeverCostsLessThanNothing) {
  test::MonitorRig rig(makeLocalTime(2026, 12, 7, 0, 0, 0));
  rig.dir.writeConfig("[Default]\nFreeTime=0\n" + test::MonitorRig::uniformTariff(30000, "Max"));
  rig.build();
  rig.ras.dial("Home", kRasConnected);
  rig.advance(1000);  // 00:00:01
  rig.clock.setNow(makeLocalTime(2026, 12, 7, 20, 0, 1));
  rig.advance(1000);
  // 72 000 s at 30 000 hundredths an hour: a product past 2^31.
  EXPECT_GE(rig.meter().meteredSeconds(), 72000);
  EXPECT_NEAR(rig.meter().cost(), rig.meter().meteredSeconds() * 30000.0 / 3600, 1.0);
  EXPECT_LT(rig.meter().balance(), -5999.0f);
}

}  // namespace
}  // namespace tarvik

namespace tarvik {
namespace {

// Night before noon at 100, Day from noon at 200, every day.
std::string noonPlan() {
  std::string plan;
  for (int d = 0; d < 7; ++d) {
    const std::string p = "Tar" + std::to_string(d);
    plan += p + "=2\n" + p + "x0AH=00\n" + p + "x0ZH=12\n" + p + "x0Cost=00100\n" + p +
            "x0Name=Night\n" + p + "x1AH=12\n" + p + "x1ZH=24\n" + p + "x1Cost=00200\n" + p +
            "x1Name=Day\n";
  }
  return plan;
}

TEST(MeterTariff, ABoundaryPassedWhileAuthenticatingRestartsTheCountWithoutASplit) {
  test::MonitorRig rig(makeLocalTime(2026, 12, 7, 11, 59, 50));
  rig.dir.writeConfig("[Default]\nFreeTime=0\n" + noonPlan());
  rig.dir.writeAccounts("[Default]\nAccount=10\n");
  rig.build();
  rig.ras.dial("Home", kRasAuthenticate);
  rig.advanceTo(11, 59, 51);
  ASSERT_EQ(rig.stateCode(), "au");
  rig.advanceTo(11, 59, 59, 900);
  const std::size_t mark = rig.logMark();
  rig.advanceTo(12, 0, 0, 800);  // the tick at 12:00:00.x sees the Day period

  // Nothing was booked yet, so there is no half to close: the authentication goes on under
  // the new tariff, with no failed authentication and no "on" while the line authenticates.
  EXPECT_EQ(rig.logSince(mark),
            "\r\n07.12.2026 12:00:00\r\n"
            " Virtual reconnect (tariff changed).\r\n"
            " Tariff in use: «Day», 200/h\r\n");
  EXPECT_EQ(rig.stateCode(), "au");
  EXPECT_TRUE(rig.meter().running());
  EXPECT_EQ(rig.user.lastStateCode(), "au");

  rig.ras.setState(kRasConnected);
  rig.advanceTo(12, 0, 5);
  EXPECT_EQ(rig.stateCode(), "on");
  rig.advanceTo(12, 0, 30, 500);
  rig.ras.drop();
  rig.advanceTo(12, 0, 31);
  EXPECT_EQ(rig.quickLines(),
            "07.12.2026 11:59:51 = 00:00:30 + [$ | ~0,0166 | =9,9833 ] <Default>\r\n");
  EXPECT_EQ(rig.stat("Default", "CountTD"), "1");
  EXPECT_EQ(rig.logSince(mark).find("Authentification failed"), std::string::npos);
}

}  // namespace
}  // namespace tarvik
