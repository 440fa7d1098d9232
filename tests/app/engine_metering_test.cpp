// The monitor inside the engine: started by the start-up sequence, polled by t_online, with
// the crash journal and the notifications wired in, a connection goes from the phonebook to
// the booking.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/engine.h"
#include "monitor/monitor_rig.h"

namespace tarvik {
namespace {

using test::MonitorRig;
using test::ProgramDir;

class EngineMetering : public ::testing::Test {
 protected:
  void start(const std::string& config) {
    dir.writeConfig(config);
    dir.writeAccounts("[Home]\nAccount=50\n");
    ras.phonebook = {"Home", "Work"};
    engine = std::make_unique<Engine>(Services{clock, clock, ras, user, user, user, tone, sound,
                                               process, dir.files(), NumberFormat{','}, log, ""});
    engine->start();
  }
  std::string logText() const { return ProgramDir::readText(dir.files().eventLog()); }
  bool exists(const std::filesystem::path& p) const { return std::filesystem::exists(p); }

  ProgramDir dir;
  VirtualClock clock{makeLocalTime(2026, 12, 8, 9, 0, 0)};  // a Tuesday
  EventLog log{dir.files().eventLog(), clock};
  test::FakeUser user;
  test::FakeTone tone;
  test::FakeSound sound;
  test::FakeProcess process;
  test::FakeRas ras;
  std::unique_ptr<Engine> engine;
};

TEST_F(EngineMetering, ASavedEntryIsMeteredOnItsOwnSettingsAndAccount) {
  start("[Home]\nDone=1\nFreeTime=0\nCurrencyDisplayA=p\nCurrencyDisplayZ=k\nOnLineMinute=0\n" +
        MonitorRig::uniformTariff(7200, "Home rate"));
  EXPECT_EQ(engine->stateCode(), "of");
  EXPECT_EQ(engine->phonebookEntries(), (std::vector<std::string>{"Home", "Work"}));
  const std::size_t mark = logText().size();

  ras.dial("Home", kRasAuthenticate);
  clock.advance(1000);
  EXPECT_EQ(engine->stateCode(), "au");
  ras.setState(kRasConnected);
  clock.advance(1000);
  EXPECT_EQ(engine->stateCode(), "on");
  EXPECT_EQ(user.lastStateCode(), "on");
  EXPECT_EQ(user.field(DisplayField::Currency), "k");
  EXPECT_EQ(user.field(DisplayField::Entry), "Home");

  // The crash journal is written while metering (first after 5 s).
  clock.advance(5000);
  EXPECT_TRUE(exists(dir.files().journalPro()));
  clock.advance(14'500);  // 09:00:21.5: 20 s metered at 2 hundredths a second
  EXPECT_EQ(user.field(DisplayField::Time), "00:00:20");
  EXPECT_EQ(user.field(DisplayField::Money), "40");
  ras.drop();
  clock.advance(500);

  EXPECT_EQ(engine->stateCode(), "of");
  const std::string tail = logText().substr(mark);
  EXPECT_NE(tail.find(" Entry settings: Home\r\n Tariff in use: «Home rate», 7200/h\r\n"
                      " Authentification...\r\n"),
            std::string::npos)
      << tail;
  EXPECT_NE(tail.find(" Disconnected.\r\n Time spent online: 00:00:20\r\n Financial expences: 40 "
                      "k\r\n Account value: p 49,6\r\n"),
            std::string::npos)
      << tail;
  const std::string quick = ProgramDir::readText(dir.files().quickLog());
  EXPECT_NE(quick.find("08.12.2026 09:00:01 = 00:00:20 + [p | ~0,4    | =49,6   ] <Home>\r\n"),
            std::string::npos)
      << quick;
  const IniFile stats(dir.files().statistics());
  EXPECT_EQ(stats.readString("Home", "TimeTT"), "20");
  EXPECT_EQ(stats.readString("Home", "Gr2c"), "1");
  EXPECT_FALSE(stats.hasSection("Default"));
  EXPECT_EQ(IniFile(dir.files().accounts()).readString("Home", "Account"), "49,6");
  for (const auto& p :
       {dir.files().journalPro(), dir.files().journalTmp(), dir.files().journalSeq()}) {
    EXPECT_FALSE(exists(p)) << p;
  }
  EXPECT_TRUE(engine->timer(TimerId::Hide).enabled());
}

TEST_F(EngineMetering, TheSettingsReloadWhileOnlineReadsTheEntryAgain) {
  start("[Default]\nFreeTime=0\n" + MonitorRig::uniformTariff(3600, "Std"));
  ras.dial("Work", kRasConnected);
  clock.advance(1000);
  clock.advance(3500);
  EXPECT_EQ(user.field(DisplayField::Money), "3");
  EXPECT_EQ(user.field(DisplayField::Currency), "ц");
  // The dialog saved the money in whole units and the balance display for "Default".
  dir.writeConfig(
      "[Default]\nFreeTime=0\nAccountDisplay=1\nCurrencyDisplay=1\n"
      "CurrencyDisplayA=EUR\n" +
      MonitorRig::uniformTariff(3600, "Std"));
  engine->reloadGlobalParameters(false);
  EXPECT_EQ(user.field(DisplayField::Currency), "EUR");
  // The "Default" balance was 0; -0.03 in single precision is -0.0299999993294477, shown -0,03.
  EXPECT_EQ(user.field(DisplayField::Money), "-0,03");
  EXPECT_TRUE(engine->timer(TimerId::General).enabled());  // the meter runs
}

TEST_F(EngineMetering, ShowingTheWindowReadsTheEntryAgainAndRearmsItsWarnings) {
  // A balance of 50 under a warning at 40: below it after 10 s at 1 a second.
  start("[Home]\nDone=1\nFreeTime=0\nAccountUse2=1\nAccountVal2=4000\nCurrencyDisplayZ=k\n" +
        MonitorRig::uniformTariff(360000, "Fast"));
  ras.dial("Home", kRasConnected);
  clock.advance(12'500);
  const auto warnings = [&] {
    return std::count_if(user.balloons.begin(), user.balloons.end(), [](const auto& b) {
      return b.text.find("ниже одной из 4-ёх границ") != std::string::npos;
    });
  };
  ASSERT_EQ(warnings(), 1);
  clock.advance(5000);
  EXPECT_EQ(warnings(), 1);  // given once per metering start
  EXPECT_EQ(user.field(DisplayField::Currency), "k");

  // Edited by hand while online, then the window is hidden and shown again.
  dir.writeConfig(
      "[Home]\nDone=1\nFreeTime=0\nAccountUse2=1\nAccountVal2=4000\n"
      "CurrencyDisplayZ=m\n" +
      MonitorRig::uniformTariff(360000, "Fast"));
  engine->statusWindowShown();
  EXPECT_EQ(user.field(DisplayField::Currency), "m");
  clock.advance(1000);
  EXPECT_EQ(warnings(), 2);
  EXPECT_TRUE(engine->timer(TimerId::General).enabled());  // the meter runs
}

TEST_F(EngineMetering, OfflineReloadChangesNothingOnTheDisplay) {
  start("");
  const std::size_t writes = user.fieldWrites.size();
  engine->reloadGlobalParameters(false);
  EXPECT_EQ(user.fieldWrites.size(), writes);
  // The start-up cleared the display with zeros.
  EXPECT_EQ(user.field(DisplayField::Time), "00:00:00");
  EXPECT_EQ(user.field(DisplayField::Money), "0,0000");
}

}  // namespace
}  // namespace tarvik
