#include "app/engine.h"

#include <gtest/gtest.h>

#include "config/ini_file.h"
#include "platform/virtual_clock.h"
#include "support/temp_dir.h"
#include "tests/support/fake_platform.h"
#include "tests/support/fake_user.h"

namespace tarvik {
namespace {

// Remote access that is not there: the start-up must not depend on it.
class NoRas : public RasService {
 public:
  bool available() override { return false; }
  std::vector<RasConnection> activeConnections() override { return {}; }
  std::optional<std::int32_t> connectionState(std::uint64_t) override { return std::nullopt; }
  void hangUp(std::uint64_t) override {}
  // Empty unless a test fills it (a failed listing would be logged by the probe).
  std::vector<std::string> entries;
  std::optional<std::vector<std::string>> phonebookEntries() override { return entries; }
};

// Records the calls that make up the end of a delayed start, in order.
class RecordingUser : public test::FakeUser {
 public:
  std::vector<std::string> calls;
  std::string trayHint;
  bool inert = false;
  test::FakeProcess* process = nullptr;

  void setTrayHint(std::string_view hint) override { trayHint = hint; }
  void makeInert() override { inert = true; }
  void hideTrayIcon() override { calls.push_back("hideTray"); }
  void showStatusWindow() override {
    FakeUser::showStatusWindow();
    calls.push_back("show");
  }
  void bringStatusWindowToFront() override {
    FakeUser::bringStatusWindowToFront();
    calls.push_back("front");
  }
  void terminate() override {
    FakeUser::terminate();
    calls.push_back("terminate:" + (process && !process->instances.empty()
                                        ? process->instances.back()
                                        : std::string("none")));
  }
};

class EngineTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  ProgramFiles files{dir.path()};
  VirtualClock clock{makeLocalTime(2026, 12, 7, 12, 0, 0)};
  NoRas ras;
  RecordingUser user;
  test::FakeTone tone;
  test::FakeSound sound;
  test::FakeProcess process;
  EventLog log{files.eventLog(), clock};
  std::unique_ptr<Engine> engine;

  void writeConfig(const std::string& globalKeys) {
    test::writeBytes(files.config(), "[Olm:TK]\r\n" + globalKeys);
  }
  void start(const std::string& argument) {
    user.process = &process;
    engine = std::make_unique<Engine>(Services{clock, clock, ras, user, user, user, tone, sound,
                                               process, files, NumberFormat{}, log, argument});
    engine->start();
  }
  std::string logText() const { return test::readBytes(files.eventLog()); }
};

TEST_F(EngineTest, OrdinaryStartWithoutSettingsFile) {
  start("");
  EXPECT_EQ(logText(),
            " Loading parameters...\r\n Failed. File not found.\r\n"
            " Default parameters will be loaded.\r\n"
            " Loading parameters...\r\n StandBy.\r\n");
  EXPECT_TRUE(std::filesystem::exists(files.quickLog()));
  EXPECT_EQ(user.stateCodes, (std::vector<std::string>{"di", "of"}));
  EXPECT_EQ(engine->stateCode(), "of");
  EXPECT_FALSE(engine->creating());
  EXPECT_FALSE(engine->delayedStart());
  EXPECT_TRUE(engine->timer(TimerId::Online).enabled());
  EXPECT_EQ(engine->timer(TimerId::Online).interval(), 1000);
  EXPECT_EQ(engine->crashJournalPath(), "NULL");

  // The window appears about a second later, once; the program keeps running.
  clock.advance(999);
  EXPECT_FALSE(user.windowVisible);
  clock.advance(1);
  EXPECT_TRUE(user.windowVisible);
  EXPECT_FALSE(engine->timer(TimerId::Reboot).enabled());
  clock.advance(10'000);
  EXPECT_EQ(user.calls, (std::vector<std::string>{"show"}));
  EXPECT_TRUE(process.instances.empty());
  EXPECT_EQ(user.terminated, 0);
}

// A new user learns once where the settings are; the tooltip says it until an entry is set up.
TEST_F(EngineTest, FirstStartTellsWhereTheSettingsAreOnce) {
  const std::string setupHint =
      "Tarvik v4.0\nПравый щелчок → Настройки: тариф, валюта и счёт записи";
  start("");
  // The reminder of a new month comes first and gives way to it.
  ASSERT_FALSE(user.balloons.empty());
  EXPECT_EQ(user.balloons.back().title, "Первый запуск");
  EXPECT_EQ(user.balloons.back().text,
            "Правый щелчок по значку → «Настройки».\nТам задаются тариф, валюта\n"
            "и счёт записи соединения.");
  EXPECT_FALSE(user.balloons.back().optional);
  EXPECT_EQ(user.trayHint, setupHint);

  // The next start finds the settings file the first one left: no balloon, the same hint.
  ASSERT_TRUE(IniFile(files.config()).exists());
  engine.reset();
  user.balloons.clear();
  user.trayHint.clear();
  start("");
  EXPECT_TRUE(user.balloons.empty());
  EXPECT_EQ(user.trayHint, setupHint);

  // Saving an entry's settings gives the tooltip its usual text.
  IniFile(files.config()).writeInt("Default", "Done", 1);
  engine->reloadGlobalParameters(false);
  EXPECT_EQ(user.trayHint, "Tarvik v4.0");
}

// The phonebook of another remote-access service decides the hint afresh, both ways.
TEST_F(EngineTest, ServiceSwitchDecidesTheTrayHintAfresh) {
  writeConfig("\r\n[Inet]\r\nDone=1\r\n");
  start("");
  EXPECT_EQ(user.trayHint, "Tarvik v4.0\nПравый щелчок → Настройки: тариф, валюта и счёт записи");
  ras.entries = {"Inet"};
  engine->serviceSwitched();
  EXPECT_EQ(user.trayHint, "Tarvik v4.0");
  ras.entries = {"Мобильный"};
  engine->serviceSwitched();
  EXPECT_EQ(user.trayHint, "Tarvik v4.0\nПравый щелчок → Настройки: тариф, валюта и счёт записи");
}

TEST_F(EngineTest, ExistingSettingsFileIsNotReportedMissing) {
  writeConfig("Show=0\r\n");
  start("/reboot");
  EXPECT_EQ(logText(), " Loading parameters...\r\n StandBy.\r\n");
  clock.advance(1000);
  EXPECT_FALSE(user.windowVisible);  // "Show" off
  EXPECT_TRUE(user.calls.empty());
}

TEST_F(EngineTest, DelayedAutoStartWaitsInertThenRestartsItself) {
  writeConfig("Pause=2000\r\n");
  start("/auto");
  EXPECT_TRUE(engine->delayedStart());
  EXPECT_TRUE(user.inert);
  EXPECT_FALSE(engine->timer(TimerId::Online).enabled());
  EXPECT_EQ(engine->stateCode(), "di");
  EXPECT_EQ(user.lastStateCode(), "di");
  EXPECT_EQ(engine->timer(TimerId::Reboot).interval(), 2000);

  clock.advance(1999);
  EXPECT_TRUE(process.instances.empty());
  clock.advance(1);
  // Shown ("Show" on), then the hand-over: the new instance exists before this one ends.
  EXPECT_EQ(user.calls, (std::vector<std::string>{"show", "hideTray", "show", "front",
                                                  "terminate:/reinitialize"}));
  EXPECT_EQ(process.instances, (std::vector<std::string>{"/reinitialize"}));
}

TEST_F(EngineTest, ShortPauseIsReplacedByFiveSeconds) {
  writeConfig("Pause=500\r\n");
  start("/auto");
  EXPECT_EQ(engine->timer(TimerId::Reboot).interval(), 5000);
  clock.advance(4999);
  EXPECT_EQ(user.terminated, 0);
  clock.advance(1);
  EXPECT_EQ(user.terminated, 1);
}

TEST_F(EngineTest, FirstStartOfAMonthWaitsFiveSecondsAndReminds) {
  writeConfig(
      "Pause=2000\r\nLogClear=1\r\n[UpDate]\r\nDay=30.11\r\nWeek=00\r\nMonth=11\r\n"
      "Year=2026\r\n");
  test::writeBytes(files.eventLog(), "old banner\r\n");
  start("/auto");
  EXPECT_EQ(engine->timer(TimerId::Reboot).interval(), 5000);
  // The log of the old month is gone; the new one starts with the clearing line.
  const std::string text = logText();
  EXPECT_EQ(text.rfind(" Log-file cleared.\r\n", 0), 0u) << text;
  const auto week = text.find(" Week statistics updated.\r\n");
  const auto month = text.find(" Month statistics updated.\r\n");
  ASSERT_NE(week, std::string::npos);
  ASSERT_NE(month, std::string::npos);
  EXPECT_LT(week, month);
  ASSERT_EQ(user.balloons.size(), 1u);
  EXPECT_EQ(user.balloons[0].title, "Напоминание...");
  EXPECT_EQ(user.balloons[0].text,
            "Рекомендуется сверить\nтекущие состояния счетов\nпрограммы и провайдера(ов)...");
  EXPECT_TRUE(user.balloons[0].optional);
  clock.advance(4999);
  EXPECT_TRUE(process.instances.empty());
  clock.advance(1);
  EXPECT_EQ(process.instances, (std::vector<std::string>{"/reinitialize"}));
}

TEST_F(EngineTest, AutoWithInitOffOrOtherSpellingIsAnOrdinaryStart) {
  writeConfig("Init=0\r\nPause=3000\r\n");
  start("/auto");
  EXPECT_FALSE(engine->delayedStart());
  EXPECT_TRUE(engine->timer(TimerId::Online).enabled());
  EXPECT_EQ(engine->timer(TimerId::Reboot).interval(), 1000);
  clock.advance(5000);
  EXPECT_TRUE(process.instances.empty());

  writeConfig("Init=1\r\n");
  start("/AUTO");
  EXPECT_FALSE(engine->delayedStart());
  EXPECT_FALSE(user.inert);
}

TEST_F(EngineTest, ReloadFromTheDialogIsSilentAndAppliesTimerSettings) {
  start("");
  const std::string before = logText();
  EXPECT_FALSE(engine->timer(TimerId::Midnight).enabled());
  const int placedAtStart = user.placed;
  EXPECT_EQ(placedAtStart, 1);
  writeConfig("Midnight=1\r\nWarnTime=3\r\nX=10\r\nY=20\r\nO=1\r\nShow=0\r\nFade=0\r\n");
  engine->reloadGlobalParameters(false);
  EXPECT_EQ(logText(), before);
  EXPECT_TRUE(engine->timer(TimerId::Midnight).enabled());
  EXPECT_EQ(engine->timer(TimerId::Midnight).interval(), 888);
  EXPECT_EQ(engine->timer(TimerId::FlashAnti).interval(), 3000);
  // The window re-reads its placement keys when asked to place itself.
  EXPECT_EQ(user.placed, placedAtStart + 1);
  // "Show" read again: the window that would have appeared a second after the start stays
  // hidden.
  clock.advance(1000);
  EXPECT_FALSE(user.windowVisible);
}

TEST_F(EngineTest, TimersExistUnderTheirNamesAndStayOffUntilUsed) {
  start("");
  const std::pair<const char*, int> expected[] = {
      {"t_general", 750},     {"t_security_a", 5000}, {"t_security_z", 5555}, {"t_remind", 60000},
      {"t_minute", 59995},    {"t_second", 14995},    {"t_hangup", 15000},    {"t_flash", 250},
      {"t_flash_anti", 5000}, {"t_midnight", 888},    {"t_hide", 10000},      {"t_baloon", 8000}};
  for (const auto& [name, interval] : expected) {
    Timer* timer = clock.timer(name);
    ASSERT_NE(timer, nullptr) << name;
    EXPECT_EQ(timer->interval(), interval) << name;
    EXPECT_FALSE(timer->enabled()) << name;
  }
  EXPECT_EQ(clock.timer("t_online"), &engine->timer(TimerId::Online));
  EXPECT_EQ(clock.timer("t_reboot"), &engine->timer(TimerId::Reboot));
}

// Yesterday's markers and one booked day, so that this start rolls the day.
constexpr const char* kYesterday =
    "[Olm:TK]\r\nLogClear=1\r\n[UpDate]\r\nDay=30.11\r\nWeek=48\r\nMonth=11\r\nYear=2026\r\n";
constexpr const char* kBookedDay = "[Default]\r\nTimeTD=120\r\nTimePD=7\r\n";

void makeReadOnly(const std::filesystem::path& file) {
  std::filesystem::permissions(file, std::filesystem::perms::owner_read |
                                         std::filesystem::perms::group_read |
                                         std::filesystem::perms::others_read);
}

TEST_F(EngineTest, ReadOnlySettingsFileLeavesTheStatisticsAndGoesOn) {
  test::writeBytes(files.config(), kYesterday);
  test::writeBytes(files.statistics(), kBookedDay);
  makeReadOnly(files.config());
  ASSERT_NO_THROW(start(""));
  const std::string text = logText();
  EXPECT_NE(text.find(" Failed saving settings.\r\n"), std::string::npos) << text;
  EXPECT_EQ(text.find(" Month statistics updated."), std::string::npos) << text;
  // Markers that cannot be stored would roll the day again at every start.
  EXPECT_EQ(test::readBytes(files.statistics()), kBookedDay);
  EXPECT_EQ(test::readBytes(files.config()), kYesterday);
  EXPECT_TRUE(user.balloons.empty());
  EXPECT_EQ(engine->stateCode(), "of");
  EXPECT_TRUE(engine->timer(TimerId::Online).enabled());
  clock.advance(1000);
  EXPECT_TRUE(user.windowVisible);
}

TEST_F(EngineTest, ReadOnlyStatisticsAreRolledAtTheNextStart) {
  test::writeBytes(files.config(), kYesterday);
  test::writeBytes(files.statistics(), kBookedDay);
  test::writeBytes(files.eventLog(), "old month\r\n");
  makeReadOnly(files.statistics());
  ASSERT_NO_THROW(start(""));
  std::string text = logText();
  // The log of the old month stays with the report, since the month is not on record yet.
  EXPECT_EQ(text.rfind("old month\r\n", 0), 0u) << text;
  EXPECT_NE(text.find(" Failed saving statistics.\r\n"), std::string::npos) << text;
  EXPECT_EQ(text.find(" Week statistics updated."), std::string::npos) << text;
  EXPECT_EQ(IniFile(files.config()).readString("UpDate", "Day"), "30.11");
  EXPECT_TRUE(engine->timer(TimerId::Online).enabled());

  std::filesystem::permissions(files.statistics(), std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add);
  start("/reboot");
  text = logText();
  EXPECT_EQ(text.rfind(" Log-file cleared.\r\n", 0), 0u) << text;
  EXPECT_NE(text.find(" Month statistics updated."), std::string::npos) << text;
  const IniFile statistics(files.statistics());
  EXPECT_EQ(statistics.readString("Default", "TimePD"), "120");
  EXPECT_EQ(statistics.readString("Default", "TimeTD"), "0");
  EXPECT_EQ(IniFile(files.config()).readString("UpDate", "Day"), "07.12");
}

}  // namespace
}  // namespace tarvik
