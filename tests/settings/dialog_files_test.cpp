#include "settings/dialog_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "config/ini_file.h"
#include "config/keys.h"
#include "platform/virtual_clock.h"
#include "settings/page_keys.h"
#include "support/program_dir.h"

namespace tarvik {
namespace {

using test::ProgramDir;

// The key names of one section of an INI text, in file order.
std::vector<std::string> keysOf(const IniFile& file, std::string_view section) {
  return file.keyNames(section);
}

class DialogFilesTest : public ::testing::Test {
 protected:
  SettingsFiles files() const {
    return {IniFile(dir_.files().config()), IniFile(dir_.files().accounts())};
  }
  std::string log() const { return ProgramDir::readText(dir_.files().eventLog()); }

  ProgramDir dir_;
  VirtualClock clock_;
  EventLog log_{dir_.files().eventLog(), clock_};
};

// Load -> save into empty files keeps every value, writes the keys in the files' own order,
// puts the program lines where "ExeCount" is and the shared balances into the accounts file.
TEST_F(DialogFilesTest, RoundTripKeepsValuesAndKeyOrder) {
  dir_.writeConfig(
      "[Olm:TK]\nY=300\nX=12\nO=1\nAction=4\nWarnFile=/snd/a b.wav\nBaloon=0\n"
      "[Olm:TK:Skin]\nSkinExternal=1\nSkinName=/skins/blue/\n"
      "[Модем]\nDone=1\nFreeTime=0\nExeCount=3\nExeLine0=first\nExeLine2=\nMonthLimit=900\n");
  dir_.writeAccounts("[Olm:TK]\nAccount=12,5\nAccount2=-3\n");

  SettingsValues values = loadGlobalSettings(files());
  values.merge(loadEntrySettings(files(), "Модем", log_));
  EXPECT_EQ(log(), "") << "an entry with own settings is no fallback";
  EXPECT_EQ(values.text(entry_keys::exeLine(1)), std::string(entry_keys::kDefaultExeLine));

  ProgramDir out;
  {
    const IniFile config(out.files().config()), accounts(out.files().accounts());
    IniEdit c(config), a(accounts);
    saveGlobalSettings(values, c, a);
    saveEntrySettings(values, "Модем", c, a);
    c.commit();
    a.commit();
  }
  const IniFile config(out.files().config()), accounts(out.files().accounts());
  const std::vector<std::string> global = keysOf(config, "Olm:TK");
  const std::vector<std::string> expectedGlobal{
      "O",           "X",           "Y",          "Show",       "Init",        "Pause",
      "Icon",        "Speed",       "Fade",       "Opacity",    "Transparent", "Midnight",
      "Action",      "HelpShow",    "HelpTime",   "DefaultAcc", "AccountOne",  "LogClear",
      "DisplayZero", "DisplayCost", "SecurityII", "WarnTime",   "WarnBeep",    "WarnWave",
      "WarnFile",    "Priority",    "Baloon"};
  EXPECT_EQ(global, expectedGlobal);
  EXPECT_EQ(config.readInt("Olm:TK", "X", 0), 12);
  EXPECT_EQ(config.readInt("Olm:TK", "Action", 0), 4);
  EXPECT_EQ(config.readInt("Olm:TK", "Baloon", 1), 0);
  EXPECT_EQ(config.readString("Olm:TK", "WarnFile"), "/snd/a b.wav");
  EXPECT_EQ(config.readString("Olm:TK:Skin", "SkinName"), "/skins/blue/");

  const std::vector<std::string> entry = keysOf(config, "Модем");
  ASSERT_GE(entry.size(), 30u);
  EXPECT_EQ(entry.front(), "Done");
  const auto at = [&](std::string_view key) {
    return std::find(entry.begin(), entry.end(), key) - entry.begin();
  };
  // The keys the Parts list end with "MonthLimit"; newer keys follow them.
  EXPECT_EQ(entry.back(), "LimitHangUp");
  EXPECT_EQ(at("RiseWarn"), at("MonthLimit") + 1);
  EXPECT_EQ(at("LimitUse"), at("RiseTime") + 1);
  EXPECT_EQ(at("ExeLine0"), at("ExeCount") + 1);
  EXPECT_EQ(at("ExeLine2"), at("ExeCount") + 3);
  EXPECT_EQ(at("OnLineMinute"), at("ExeLine2") + 1);
  EXPECT_LT(at("AccountUse1"), at("AccountVal1"));
  EXPECT_LT(at("AccountVal1"), at("AccountUse2"));
  EXPECT_EQ(config.readString("Модем", "ExeLine0"), "first");
  EXPECT_EQ(config.readString("Модем", "ExeLine1"), std::string(entry_keys::kDefaultExeLine));
  EXPECT_EQ(config.readInt("Модем", "FreeTime", 5), 0);
  EXPECT_EQ(config.readInt("Модем", "MonthLimit", 0), 900);

  EXPECT_EQ(keysOf(accounts, "Olm:TK"),
            (std::vector<std::string>{"Account", "Account1", "Account2", "Account3"}));
  EXPECT_EQ(accounts.readString("Olm:TK", "Account"), "12,5");
  EXPECT_EQ(accounts.readString("Olm:TK", "Account2"), "-3");
}

// An entry without "Done" shows the settings of "Default" and says so in the log; saving
// it gives it own settings ("Done"=1) under its own name.
TEST_F(DialogFilesTest, EntryWithoutOwnSettingsFallsBackAndSavingMakesThemItsOwn) {
  dir_.writeConfig(
      "[Default]\nDone=1\nHangUpTime=600\nExeCount=2147483647\n[ISP]\nHangUpTime=30\n");
  const SettingsValues values = loadEntrySettings(files(), "ISP", log_);
  EXPECT_EQ(values.number(entry_keys::kHangUpTime), 600);
  EXPECT_EQ(values.number(entry_keys::kExeCountDialog), 1000)
      << "a count in the billions must not hang the load";
  EXPECT_NE(log().find(" Failed loading settings for «ISP» entry.\r\n «Default» entry settings "
                       "will be loaded..."),
            std::string::npos)
      << log();

  {
    const IniFile config(dir_.files().config()), accounts(dir_.files().accounts());
    IniEdit c(config), a(accounts);
    saveEntrySettings(values, "ISP", c, a);
    c.commit();
    a.commit();
  }
  const IniFile config(dir_.files().config());
  EXPECT_EQ(config.readInt("ISP", "Done", 0), 1);
  EXPECT_EQ(config.readInt("ISP", "HangUpTime", 0), 600);
  EXPECT_EQ(config.readInt("Default", "HangUpTime", 0), 600);
}

// Every control of the page table is filled by one of the loads and so written by a save: a
// row naming a key the loads do not know would leave its control empty and drop its value.
TEST_F(DialogFilesTest, EveryBoundControlHasItsKeyLoaded) {
  SettingsValues all = loadGlobalSettings(files());
  all.merge(loadEntrySettings(files(), "Default", log_));
  for (PageId page : kAllPages) {
    for (const PageKey& row : pageKeys(page)) {
      EXPECT_TRUE(all.has(row.key)) << row.objectName << " -> " << row.key.view();
      const Range range = row.range();
      if (range.bounded() && range.max != 0) {
        EXPECT_LE(range.min, range.max) << row.objectName;
        // A step need not divide the range: the time limit steps by 15 from 10 and its last
        // step stops at 3600.
        EXPECT_LE(range.step, range.max - range.min) << row.objectName;
      }
    }
  }
}

}  // namespace
}  // namespace tarvik
