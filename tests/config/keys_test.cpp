#include "config/keys.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <type_traits>
#include <vector>

#include "config/codepage.h"
#include "config/entry_section.h"
#include "config/ini_file.h"
#include "support/temp_dir.h"

namespace tarvik {
namespace {

using test::TempDir;
using test::writeBytes;

TEST(EntrySection, OrdinaryNamesStandAsTheyAre) {
  for (const char* name : {"Default", "Мой провайдер", "ISP #1 (ночь)", "a]b", "[x]", "a=b",
                           ";semi", "Ёлка-2", "x~~"}) {
    EXPECT_EQ(sectionForEntry(name), name);
  }
}

TEST(EntrySection, NamesThatCannotStandAreEscapedStablyAndDistinctly) {
  const std::vector<std::string> names{
      "",       " lead",  "trail ",  "tab\tinside", "line\r\nbreak", "line\nbreak",
      "日本",   "中文",   "emoji 😀", "emoji 😁",     "olm:tk",        "OLM:TK:SKIN",
      "update", "Olm:TK", "~~x",     "~~X",         "bad\xFFutf8",   "x\x7F"};
  std::set<std::string> folded;
  for (const std::string& name : names) {
    const std::string section = sectionForEntry(name);
    EXPECT_TRUE(section.starts_with(kEscapedSectionPrefix)) << name;
    EXPECT_EQ(sectionForEntry(name), section) << "not stable";
    EXPECT_EQ(entryForSection(section), name) << "the section names another entry";
    EXPECT_TRUE(fitsCp1251(section));
    EXPECT_EQ(section.find_first_of("\r\n"), std::string::npos);
    EXPECT_NE(section.back(), ' ');
    // Sections compare without regard to case, so distinct must mean distinct when folded.
    EXPECT_TRUE(folded.insert(cp1251Fold(section)).second) << name << " -> " << section;
  }
}

TEST(EntrySection, EscapedEntriesKeepTheirOwnSettingsInAFile) {
  TempDir dir;
  IniFile ini(dir / "TarvikC.Kfg");
  const std::vector<std::string> entries{"日本", "中文", "Olm:TK", " x",  "x",
                                         "a\nb", "A\nb", "a]b",    "[x]", ";semi"};
  for (std::size_t i = 0; i < entries.size(); ++i) {
    ini.writeInt(sectionForEntry(entries[i]), "Done", 1);
    ini.writeInt(sectionForEntry(entries[i]), "FreeTime", static_cast<int>(i));
  }
  for (std::size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(ini.readInt(sectionForEntry(entries[i]), "FreeTime", -1), static_cast<int>(i))
        << entries[i];
  }
  EXPECT_EQ(ini.sectionNames().size(), entries.size());
  EXPECT_FALSE(ini.hasKey("Olm:TK", "Done"));
}

TEST(EntrySection, OnlyNamesListedBesideACaseTwinLeaveTheirPlainSection) {
  const std::vector<std::string> phonebook{"Work", "WORK", "Home", "default", "日本"};
  usePhonebookNames(phonebook);
  EXPECT_EQ(sectionForEntry("Home"), "Home");
  EXPECT_EQ(sectionForEntry("Default"), "Default");
  EXPECT_EQ(sectionForEntry("wORK"), "wORK") << "not in the list";
  std::set<std::string> folded;
  for (const char* name : {"Work", "WORK", "default"}) {
    EXPECT_TRUE(sectionForEntry(name).starts_with(kEscapedSectionPrefix)) << name;
    EXPECT_TRUE(folded.insert(cp1251Fold(sectionForEntry(name))).second) << name;
    EXPECT_EQ(entryForSection(sectionForEntry(name)), name);
  }
  EXPECT_EQ(entryForSection("Home"), "Home");
  EXPECT_EQ(entryForSection("~~%4"), "~~%4") << "not made by the mapping: left as it is";
  usePhonebookNames({});
  EXPECT_EQ(sectionForEntry("Work"), "Work") << "alone again, the plain section returns";
}

class Resolve : public ::testing::Test {
 protected:
  TempDir dir_;
  IniFile config_{dir_ / "TarvikC.Kfg"};
  std::vector<std::string> phonebook_{"Home", "Work", "Night", "日本"};
};

TEST_F(Resolve, FallsBackToDefaultUnlessListedAndDone) {
  writeBytes(config_.path(),
             "[Default]\r\nFreeTime=5\r\n"
             "[Home]\r\nDone=1\r\n"
             "[Work]\r\nFreeTime=9\r\n"  // keys but no "Done": ignored
             "[Night]\r\nDone=0\r\n"
             "[Away]\r\nDone=1\r\n");  // saved once, no longer in the phonebook
  EXPECT_EQ(resolveSettingsEntry("Home", phonebook_, config_), "Home");
  EXPECT_EQ(resolveSettingsEntry("Work", phonebook_, config_), "Default");
  EXPECT_EQ(resolveSettingsEntry("Night", phonebook_, config_), "Default");
  EXPECT_EQ(resolveSettingsEntry("Away", phonebook_, config_), "Default");
  EXPECT_EQ(resolveSettingsEntry("home", phonebook_, config_), "Default")
      << "phonebook names match exactly";
  EXPECT_EQ(resolveSettingsEntry("Home", {}, config_), "Default");
}

TEST_F(Resolve, LooksForOwnSettingsInTheEntrysSection) {
  EXPECT_EQ(resolveSettingsEntry("日本", phonebook_, config_), "Default");
  config_.writeInt(sectionForEntry("日本"), "Done", 1);
  EXPECT_EQ(resolveSettingsEntry("日本", phonebook_, config_), "日本");
  EXPECT_FALSE(hasOwnSettings(config_, "??"));
}

TEST_F(Resolve, DoneRule) {
  writeBytes(config_.path(),
             "[A]\r\nDone=1\r\n[B]\r\nDone=0\r\n[C]\r\nX=1\r\n[D]\r\nDone=yes\r\n"
             "[E]\r\nDone=-1\r\n[F]\r\nDone=0x10\r\n");
  EXPECT_TRUE(hasOwnSettings(config_, "A"));
  EXPECT_TRUE(hasOwnSettings(config_, "a"));
  EXPECT_FALSE(hasOwnSettings(config_, "B"));
  EXPECT_FALSE(hasOwnSettings(config_, "C"));
  EXPECT_FALSE(hasOwnSettings(config_, "D"));
  EXPECT_TRUE(hasOwnSettings(config_, "E"));
  EXPECT_TRUE(hasOwnSettings(config_, "F"));
  EXPECT_FALSE(hasOwnSettings(config_, "Missing"));
}

// A key goes only with a section of its own scope; anything else must not compile.
template <typename Section, typename Key>
concept Readable = requires(const IniFile& file, const Section& section, const Key& key) {
  readKey(file, section, key);
};
template <typename Section, typename Key>
concept Writable = requires(IniEdit& edit, const Section& section, const Key& key) {
  writeKey(edit, section, key, 1);
};
using GlobalSection = decltype(sections::global());
using EntrySection = decltype(sections::entry(""));
static_assert(Readable<GlobalSection, decltype(global_keys::kPause)>);
static_assert(Readable<EntrySection, decltype(entry_keys::kFreeTime)>);
static_assert(!Readable<GlobalSection, decltype(entry_keys::kFreeTime)>);
static_assert(!Readable<EntrySection, decltype(global_keys::kPause)>);
static_assert(!Readable<EntrySection, decltype(tariff_keys::count(0))>);
static_assert(!Readable<decltype(sections::sharedBalance()), decltype(stats_keys::kTimeTT)>);
static_assert(!Writable<decltype(sections::skin()), decltype(global_keys::kX)>);
static_assert(Writable<decltype(sections::tariff("")), decltype(tariff_keys::cost(1, 2))>);
static_assert(!std::is_convertible_v<std::string, EntrySection>);

// Names built from numbers are made at compile time and spelled as the files have them.
static_assert(entry_keys::exeLine(12).name == KeyName("ExeLine12"));
static_assert(tariff_keys::cost(6, 12).name == KeyName("Tar6x12Cost"));
static_assert(tariff_keys::count(1).name == KeyName("Tar1") && tariff_keys::count(1).def == 1);
static_assert(tariff_keys::endHour(0, 0).def == 24);
static_assert(stats_keys::weeklyMoney(3).name == KeyName("Gr3f"));
static_assert(global_keys::kAction.count() == 6 && global_keys::kIcon.count() == 4);
static_assert(entry_keys::kCurrencyIndex.count() == 3);

TEST(KeyAccess, MissingKeysGiveTheTableDefaultsAndWritesKeepTheFileFormat) {
  TempDir dir;
  IniFile config(dir / "TarvikC.Kfg");
  const auto global = sections::global();
  const auto fallback = sections::entry(kDefaultEntry);
  EXPECT_EQ(readKey(config, global, global_keys::kPause), 5000);
  EXPECT_EQ(readKey(config, global, global_keys::kAction), DoubleClickAction::ShowStatistics);
  EXPECT_EQ(readKey(config, sections::skin(), skin_keys::kSkinName), "Advanced");
  EXPECT_EQ(readKey(config, fallback, entry_keys::kCurrencyDisplayZ), "ц");
  EXPECT_EQ(readKey(config, fallback, entry_keys::kExeCountDialog), 1);
  EXPECT_EQ(readKey(config, fallback, entry_keys::kExeCountRunTime), 0);
  EXPECT_EQ(readKey(config, fallback, entry_keys::exeLine(0)), "");
  EXPECT_EQ(readKey(config, fallback, entry_keys::kGraphX), GraphAxis::Money);

  writeSwitch(config, global, global_keys::kFade, false);
  writeKey(config, global, global_keys::kX, 120);
  writeKey(config, global, global_keys::kAction, DoubleClickAction::HangUp);
  writeKey(config, sections::skin(), skin_keys::kSkinName, skin_keys::kStandardSkinName);
  writeKey(config, fallback, entry_keys::exeLine(1), "/usr/bin/second");
  writeKey(config, sections::tariff(kDefaultEntry), tariff_keys::cost(2, 0), "00250");
  EXPECT_FALSE(readSwitch(config, global, global_keys::kFade));
  EXPECT_EQ(readKey(config, global, global_keys::kX), 120);
  EXPECT_EQ(readKey(config, fallback, entry_keys::exeLine(1)), "/usr/bin/second");
  EXPECT_EQ(readKey(config, sections::tariff(kDefaultEntry), tariff_keys::cost(2, 0)), 250);
  // A stored choice outside the list is passed on as it is, for the reader to ignore.
  config.writeInt(kGlobalSection, "Icon", 9);
  EXPECT_EQ(static_cast<int>(readKey(config, global, global_keys::kIcon)), 9);
  EXPECT_EQ(test::readBytes(config.path()),
            "[Olm:TK]\r\nFade=0\r\nX=120\r\nAction=4\r\nIcon=9\r\n"
            "[Olm:TK:Skin]\r\nSkinName=Default\r\n"
            "[Default]\r\nExeLine1=/usr/bin/second\r\nTar2x0Cost=00250\r\n");
}

// A committed edit starts empty: applying its queue again would repeat its deletions, and
// with a key that stands twice in the file a second delete removes the second line.
TEST(KeyAccess, AnEditAppliesItsChangesOnceEvenWhenCommittedAgain) {
  TempDir dir;
  writeBytes(dir / "TarvikA.Kfg", "[Olm:TK]\r\nAccount=1\r\nAccount=2\r\nAccount1=5\r\n");
  IniFile accounts(dir / "TarvikA.Kfg");
  const auto shared = sections::sharedBalance();
  IniEdit edit(accounts);
  deleteKey(edit, shared, balance_keys::kAccount);
  writeKey(edit, shared, balance_keys::kGroupAccount[0], "6");
  EXPECT_EQ(readKey(edit, shared, balance_keys::kAccount), "2") << "the second line comes to light";
  EXPECT_EQ(readKey(accounts, shared, balance_keys::kGroupAccount[0]), "5") << "not yet on disk";
  edit.commit();
  const std::string once = "[Olm:TK]\r\nAccount=2\r\nAccount1=6\r\n";
  EXPECT_EQ(test::readBytes(accounts.path()), once);
  EXPECT_EQ(readKey(edit, shared, balance_keys::kAccount), "2");
  edit.commit();
  EXPECT_EQ(test::readBytes(accounts.path()), once);

  // After a commit the edit goes on from the file as it is now, changes made meanwhile
  // included.
  accounts.writeString(kGlobalSection, "Account2", "7");
  writeKey(edit, shared, balance_keys::kGroupAccount[2], "8");
  edit.commit();
  EXPECT_EQ(test::readBytes(accounts.path()),
            "[Olm:TK]\r\nAccount=2\r\nAccount1=6\r\nAccount2=7\r\nAccount3=8\r\n");
}

// The ranges are what the dialog's controls enforce: each default must be one of them.
TEST(KeyTables, NamesAreUniqueAndDefaultsLieInTheirRanges) {
  std::set<std::string> global;
  for (const auto& key : global_keys::kIntKeys) {
    EXPECT_TRUE(global.emplace(key.name.view()).second) << key.name.view();
    EXPECT_TRUE(key.range.contains(key.def)) << key.name.view();
  }
  for (std::string_view name :
       {global_keys::kWarnFile.name.view(), global_keys::kIcon.name.view(),
        global_keys::kAction.name.view(), global_keys::kWeekEnd.name.view()})
    EXPECT_TRUE(global.emplace(name).second) << name;

  using namespace entry_keys;
  std::set<std::string> entry;
  for (const auto& key : {kDone,
                          kCurrencyDisplay,
                          kAccountDisplay,
                          kAccountPersonal,
                          kAccountProvider1,
                          kAccountProvider2,
                          kAccountProvider3,
                          kAuthentification,
                          kStatusShow,
                          kStatusHide,
                          kStatusWait,
                          kFreeTime,
                          kHangUpAuto,
                          kHangUpTime,
                          kExecute,
                          kExeCountDialog,
                          kOnLineMinute,
                          kOnLineSecond,
                          kOnLinePeriod,
                          kOnLineBeep,
                          kOnLineWave,
                          kOffLineBeep,
                          kOffLineWave,
                          kZeroWarn,
                          kAccountUse[0],
                          kAccountUse[1],
                          kAccountUse[2],
                          kAccountUse[3],
                          kAccountVal[0],
                          kAccountVal[1],
                          kAccountVal[2],
                          kAccountVal[3],
                          kGraph[0],
                          kGraph[1],
                          kGraph[2],
                          kGraph[3],
                          kGraph[4],
                          kGraphMax,
                          kTruncate,
                          kCredit,
                          kMonthLimit,
                          kLimitUse,
                          kLimitSize,
                          kLimitWarn,
                          kLimitShare,
                          kLimitHangUp}) {
    EXPECT_TRUE(entry.emplace(key.name.view()).second) << key.name.view();
    EXPECT_TRUE(key.range.contains(key.def)) << key.name.view();
  }
  for (const auto& key :
       {kCurrencyDisplayA, kCurrencyDisplayZ, kCurrencyCustomAA, kCurrencyCustomAZ,
        kCurrencyCustomZA, kCurrencyCustomZZ, kOnLineFile, kOffLineFile, kZeroFile, exeLine(0)}) {
    EXPECT_TRUE(entry.emplace(key.name.view()).second) << key.name.view();
  }
  for (std::string_view name :
       {kCurrencyIndex.name.view(), kGraphX.name.view(), kLimitUnit.name.view(),
        kLimitSpan.name.view(), kLimitCount.name.view()})
    EXPECT_TRUE(entry.emplace(name).second) << name;
}

}  // namespace
}  // namespace tarvik
