// Whole connections from the first sign to the booking, on the virtual clock: the event log,
// the quick-log line and the changed statistics and balance keys, byte for byte.
#include <gtest/gtest.h>

#include "monitor/monitor_rig.h"

namespace tarvik {
namespace {

using test::MonitorRig;

constexpr std::string_view kAuthBalloon = "Идёт опознание пользователя...";

class Journey : public ::testing::Test {
 protected:
  // 2500 hundredths per hour, start balance 100 in the "Default" account.
  void SetUp() override {
    rig.dir.writeConfig("[Default]\n" + MonitorRig::uniformTariff(2500, "Day"));
    rig.dir.writeAccounts("[Default]\nAccount=100\n");
    rig.build();
  }

  MonitorRig rig;
};

TEST_F(Journey, AuthenticationMetered) {
  rig.ras.dial("Home", kRasAuthenticate);
  rig.advanceTo(12, 0, 1);  // first poll: authentication
  EXPECT_EQ(rig.stateCode(), "au");
  EXPECT_TRUE(rig.meter().running());
  rig.ras.setState(kRasAuthProject);
  rig.advanceTo(12, 0, 2);
  rig.ras.setState(kRasConnected);
  rig.advanceTo(12, 0, 3);
  EXPECT_EQ(rig.stateCode(), "on");
  rig.advanceTo(12, 0, 31, 500);
  rig.ras.drop();
  rig.advanceTo(12, 0, 32);
  EXPECT_EQ(rig.stateCode(), "of");
  EXPECT_FALSE(rig.meter().running());

  EXPECT_EQ(rig.eventLog(),
            "\r\n07.12.2026 12:00:01\r\n"
            " RAS or VPN activity detected.\r\n"
            " Device in use: Modem\r\n"
            " Entry in use: Home\r\n"
            " Entry settings: Default\r\n"
            " Tariff in use: «Day», 2500/h\r\n"
            " Authentification...\r\n"
            "\r\n07.12.2026 12:00:03\r\n"
            " Authentification successful.\r\n"
            " Connection established.\r\n"
            "\r\n07.12.2026 12:00:32\r\n"
            " Disconnected.\r\n"
            " Time spent online: 00:00:30\r\n"
            " Financial expences: 20,83333 ц\r\n"
            " Account value: $ 99,79166\r\n");
  EXPECT_EQ(rig.quickLines(),
            "07.12.2026 12:00:01 = 00:00:30 + [$ | ~0,2083 | =99,791 ] <Default>\r\n");

  EXPECT_EQ(rig.stat("Default", "TimeTC"), "30");
  EXPECT_EQ(rig.stat("Default", "MoneyTC"), "20,83333");
  EXPECT_EQ(rig.stat("Default", "CountTD"), "1");
  EXPECT_EQ(rig.stat("Default", "Gr1t"), "30");  // a Monday
  EXPECT_EQ(rig.stat("Default", "Gr1f"), "20");
  EXPECT_EQ(rig.stat("Default", "UndoLos"), "20,83333");
  EXPECT_EQ(rig.account("Default"), "99,79166");

  ASSERT_EQ(rig.user.balloons.size(), 3u);
  EXPECT_EQ(rig.user.balloons[0].text, kAuthBalloon);
  EXPECT_TRUE(rig.user.balloons[0].optional);
  EXPECT_EQ(rig.user.balloons[1].text,
            "Соединение с интернетом установлено.\nТекущий тариф: «Day», 2500 ц/час.");
  EXPECT_EQ(rig.user.balloons[2].title, "Default");
  EXPECT_EQ(rig.user.balloons[2].text,
            "Соединение с интернетом завершено.\nВремя online: 00:00:30\nФинансовые затраты "
            "(ц): 20,833\nСостояние счёта ($): 99,791");
  EXPECT_FALSE(rig.user.balloons[2].optional);
  EXPECT_EQ(rig.hooks.calls, (std::vector<std::string>{"connect Default", "disconnect Default",
                                                       "dialog Default 1"}));
  EXPECT_EQ(rig.user.field(DisplayField::Time), "00:00:30");
  EXPECT_EQ(rig.user.field(DisplayField::Money), "20,833");
  EXPECT_EQ(rig.user.field(DisplayField::Currency), "ц");
  EXPECT_EQ(rig.user.field(DisplayField::Tariff), "Day");
  EXPECT_TRUE(rig.timer("t_hide").enabled());
  EXPECT_EQ(rig.timer("t_hide").interval(), 10000);
}

TEST_F(Journey, AuthenticationNotMeteredStartsTheCountAtTheConnection) {
  rig.dir.writeConfig("[Default]\nAuthentification=0\n" + MonitorRig::uniformTariff(2500, "Day"));
  rig.ras.dial("Home", kRasAuthenticate);
  rig.advanceTo(12, 0, 1);
  EXPECT_EQ(rig.stateCode(), "au");
  EXPECT_FALSE(rig.meter().running());
  rig.advanceTo(12, 0, 2, 500);
  rig.ras.setState(kRasConnected);
  rig.advanceTo(12, 0, 3);
  rig.advanceTo(12, 0, 33, 500);
  rig.ras.drop();
  rig.advanceTo(12, 0, 34);

  EXPECT_EQ(rig.eventLog(),
            "\r\n07.12.2026 12:00:01\r\n"
            " RAS or VPN activity detected.\r\n"
            " Device in use: Modem\r\n"
            " Entry in use: Home\r\n"
            " Entry settings: Default\r\n"
            " Tariff in use: «Day», 2500/h\r\n"
            "\r\n07.12.2026 12:00:03\r\n"
            " Connection established.\r\n"
            "\r\n07.12.2026 12:00:34\r\n"
            " Disconnected.\r\n"
            " Time spent online: 00:00:30\r\n"
            " Financial expences: 20,83333 ц\r\n"
            " Account value: $ 99,79166\r\n");
  EXPECT_EQ(rig.quickLines(),
            "07.12.2026 12:00:01 = 00:00:30 + [$ | ~0,2083 | =99,791 ] <Default>\r\n");
  EXPECT_EQ(rig.stat("Default", "TimeTT"), "30");
}

TEST_F(Journey, AuthenticationFailingWhileMetered) {
  rig.ras.dial("Home", kRasAuthenticate);
  rig.advanceTo(12, 0, 1);
  rig.advanceTo(12, 0, 3, 500);
  const std::size_t mark = rig.logMark();
  rig.ras.drop();
  rig.advanceTo(12, 0, 4);
  EXPECT_EQ(rig.stateCode(), "of");
  EXPECT_EQ(rig.logSince(mark), "\r\n07.12.2026 12:00:04\r\n Authentification failed.\r\n");
  EXPECT_EQ(rig.quickLines(),
            "07.12.2026 12:00:01 = 00:00:00 - [  | ~       | =100    ] <Default>\r\n");
  EXPECT_FALSE(std::filesystem::exists(rig.dir.files().statistics()));
  EXPECT_EQ(rig.account("Default"), "100");
  // The display is cleared (zeros, the currency of "Default").
  EXPECT_EQ(rig.user.field(DisplayField::Time), "00:00:00");
  EXPECT_EQ(rig.user.field(DisplayField::Money), "0,0000");
  EXPECT_EQ(rig.user.field(DisplayField::Currency), "$");
  EXPECT_EQ(rig.user.field(DisplayField::Entry), "-");
  EXPECT_EQ(rig.hooks.calls, (std::vector<std::string>{"dialog Default 1"}));
}

TEST_F(Journey, AuthenticationFailingWhileNotMetered) {
  rig.dir.writeConfig("[Default]\nAuthentification=0\nDisplayZero=0\n");
  rig.ras.dial("Home", kRasAuthNotify);
  rig.advanceTo(12, 0, 1);
  const std::size_t mark = rig.logMark();
  rig.ras.drop();
  rig.advanceTo(12, 0, 2);
  EXPECT_EQ(rig.logSince(mark), "\r\n07.12.2026 12:00:02\r\n Disconnected.\r\n");
  EXPECT_EQ(rig.quickLines(),
            "07.12.2026 12:00:01 = 00:00:00 - [  | ~       | =0      ] <Default>\r\n");
  EXPECT_FALSE(std::filesystem::exists(rig.dir.files().statistics()));
  EXPECT_TRUE(rig.hooks.calls.size() == 1);  // no disconnect signals for a call never made
}

// PPPoE and VPN calls authenticate over a device that carries none of their traffic (the
// Ethernet device under the session or the tunnel): the device line waits for the interface
// that will, and comes once per connection whatever happens first.
TEST_F(Journey, DeviceLineNamesTheInterfaceThatCarriesTheTraffic) {
  const auto over = [&](const char* device, bool carries) {
    rig.ras.calls.at(0).connection.device = device;
    rig.ras.calls.at(0).connection.deviceCarriesTraffic = carries;
  };
  rig.ras.dial("Home", kRasAuthenticate);
  over("eth0", false);
  rig.advanceTo(12, 0, 1);
  rig.advanceTo(12, 0, 2);
  EXPECT_EQ(rig.eventLog().find(" Device in use:"), std::string::npos);
  over("ppp0", true);
  rig.advanceTo(12, 0, 3);
  rig.ras.setState(kRasConnected);
  rig.advanceTo(12, 0, 4);
  rig.ras.drop();
  rig.advanceTo(12, 0, 10);
  const std::string first = rig.eventLog();
  EXPECT_NE(first.find(" Entry settings: Default\r\n Tariff in use: «Day», 2500/h\r\n"
                       " Authentification...\r\n Device in use: ppp0\r\n\r\n07.12.2026 12:00:04\r\n"
                       " Authentification successful.\r\n"),
            std::string::npos)
      << first;

  // Never past the parent device: named when the connection is established...
  std::size_t mark = rig.logMark();
  rig.ras.dial("Home", kRasAuthenticate);
  over("eth0", false);
  rig.advanceTo(12, 0, 11);
  rig.ras.setState(kRasConnected);
  rig.advanceTo(12, 0, 12);
  rig.ras.drop();
  rig.advanceTo(12, 0, 13);
  std::string log = rig.logSince(mark);
  EXPECT_NE(log.find(" Device in use: eth0\r\n\r\n07.12.2026 12:00:12\r\n"
                     " Authentification successful."),
            std::string::npos)
      << log;

  // ...or when it ends without one.
  mark = rig.logMark();
  rig.ras.dial("Home", kRasAuthenticate);
  over("eth0", false);
  rig.advanceTo(12, 0, 20);
  rig.ras.drop();
  rig.advanceTo(12, 0, 21);
  log = rig.logSince(mark);
  EXPECT_NE(log.find(" Authentification...\r\n Device in use: eth0\r\n\r\n07.12.2026 12:00:21\r\n"
                     " Authentification failed."),
            std::string::npos)
      << log;
  for (const std::string& text : {first, rig.eventLog()}) {
    std::size_t devices = 0, starts = 0;
    for (std::size_t at = 0; (at = text.find(" Device in use:", at)) != std::string::npos; ++at)
      ++devices;
    for (std::size_t at = 0; (at = text.find(" RAS or VPN activity", at)) != std::string::npos;
         ++at)
      ++starts;
    EXPECT_EQ(devices, starts);
  }
}

TEST_F(Journey, ConnectionAlreadyUpAtTheFirstPoll) {
  rig.ras.dial("Home", kRasConnected);
  rig.advanceTo(12, 0, 1);
  EXPECT_EQ(rig.stateCode(), "on");
  EXPECT_EQ(rig.eventLog(),
            "\r\n07.12.2026 12:00:01\r\n"
            " RAS or VPN activity detected.\r\n"
            " Device in use: Modem\r\n"
            " Entry in use: Home\r\n"
            " Entry settings: Default\r\n"
            " Tariff in use: «Day», 2500/h\r\n"
            "\r\n07.12.2026 12:00:01\r\n"
            " Connection established.\r\n");
  EXPECT_EQ(rig.user.stateCodes, (std::vector<std::string>{"on"}));
  rig.advanceTo(12, 0, 11, 500);
  EXPECT_EQ(rig.meter().meteredSeconds(), 10);
}

TEST_F(Journey, TwoConnectionsAtOnce) {
  rig.ras.dial("Home", kRasConnected);
  rig.ras.addSecond("Work");
  rig.advanceTo(12, 0, 5);
  EXPECT_EQ(rig.stateCode(), "of");  // two connections are not a connection
  EXPECT_EQ(rig.eventLog(), "");

  rig.ras.drop();
  rig.ras.dial("Home", kRasConnected);
  rig.advanceTo(12, 0, 6);
  EXPECT_EQ(rig.stateCode(), "on");
  rig.advanceTo(12, 0, 16, 500);
  rig.ras.addSecond("Work");  // a second line comes up: the first is booked
  rig.advanceTo(12, 0, 17);
  EXPECT_EQ(rig.stateCode(), "of");
  EXPECT_EQ(rig.stat("Default", "TimeTC"), "10");
  EXPECT_EQ(rig.stat("Default", "CountTT"), "1");
}

TEST_F(Journey, UserRestartsTheCount) {
  rig.ras.dial("Home", kRasConnected);
  rig.advanceTo(12, 0, 1);
  rig.advanceTo(12, 0, 21, 500);
  const std::size_t mark = rig.logMark();
  rig.machine().userReset();
  EXPECT_EQ(rig.logSince(mark),
            "\r\n07.12.2026 12:00:21\r\n"
            " Virtual reconnect (user request).\r\n"
            " Disconnected (virtually).\r\n"
            " Time spent online: 00:00:20\r\n"
            " Financial expences: 13,88889 ц\r\n"
            " Account value: $ 99,86111\r\n"
            "\r\n07.12.2026 12:00:21\r\n"
            " RAS or VPN activity detected.\r\n"
            " Device in use: Modem\r\n"
            " Entry in use: Home\r\n"
            " Entry settings: Default\r\n"
            " Tariff in use: «Day», 2500/h\r\n"
            " Connected (virtually).\r\n");
  EXPECT_EQ(rig.stateCode(), "on");
  EXPECT_TRUE(rig.meter().running());
  // No signals, no connect actions, no summary balloon for the virtual halves.
  EXPECT_EQ(rig.hooks.calls, (std::vector<std::string>{"connect Default", "dialog Default 1"}));
  EXPECT_EQ(rig.user.balloons.size(), 1u);
  EXPECT_FALSE(rig.timer("t_hide").enabled());
  EXPECT_FALSE(rig.timer("t_hangup").enabled());

  rig.advanceTo(12, 0, 31, 500);
  rig.ras.drop();
  rig.advanceTo(12, 0, 32);
  EXPECT_EQ(rig.quickLines(),
            "07.12.2026 12:00:01 = 00:00:20 + [$ | ~0,1388 | =99,861 ] <Default>\r\n"
            "07.12.2026 12:00:21 = 00:00:10 + [$ | ~0,0694 | =99,791 ] <Default>\r\n");
  EXPECT_EQ(rig.stat("Default", "CountTD"), "2");
  EXPECT_EQ(rig.stat("Default", "TimeTD"), "30");
}

TEST_F(Journey, HandEditedWaitsTooLongForATimerWaitAsLongAsOneCan) {
  rig.dir.writeConfig("[Default]\nStatusWait=3000000\nOnLineSecond=1\nOnLinePeriod=3000000\n" +
                      MonitorRig::uniformTariff(2500, "Day"));
  rig.ras.dial("Home", kRasConnected);
  rig.advanceTo(12, 0, 1);
  EXPECT_EQ(rig.timer("t_second").interval(), 2147482995);
  EXPECT_TRUE(rig.timer("t_second").enabled());
  rig.ras.drop();
  rig.advanceTo(12, 0, 2);
  EXPECT_EQ(rig.timer("t_hide").interval(), 2147483000);
  EXPECT_TRUE(rig.timer("t_hide").enabled());
}

}  // namespace
}  // namespace tarvik
