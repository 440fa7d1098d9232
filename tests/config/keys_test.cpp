#include "config/keys.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "config/codepage.h"
#include "config/entry_section.h"
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

TEST(KeyAccess, MissingKeysGiveTheTableDefaults) {
  TempDir dir;
  IniFile config(dir / "TarvikC.Kfg");
  EXPECT_EQ(readKey(config, kGlobalSection, global_keys::kPause), 5000);
  EXPECT_EQ(readKey(config, kSkinSection, skin_keys::kSkinName), "Advanced");
  EXPECT_EQ(readKey(config, "Default", entry_keys::kCurrencyDisplayZ), "ц");
  EXPECT_EQ(readKey(config, "Default", entry_keys::kExeCountDialog), 1);
  EXPECT_EQ(readKey(config, "Default", entry_keys::kExeCountRunTime), 0);
  EXPECT_EQ(entry_keys::exeLineKey(12), "ExeLine12");

  writeSwitch(config, kGlobalSection, global_keys::kFade, false);
  writeKey(config, kGlobalSection, global_keys::kX, 120);
  writeKey(config, kSkinSection, skin_keys::kSkinName, "Default");
  EXPECT_FALSE(readSwitch(config, kGlobalSection, global_keys::kFade));
  EXPECT_EQ(readKey(config, kGlobalSection, global_keys::kX), 120);
  EXPECT_EQ(test::readBytes(config.path()),
            "[Olm:TK]\r\nFade=0\r\nX=120\r\n[Olm:TK:Skin]\r\nSkinName=Default\r\n");
}

TEST(KeyAccess, ProgramLinesAreReadByNumberAndMissingOnesAreEmpty) {
  TempDir dir;
  IniFile config(dir / "TarvikC.Kfg");
  config.writeString("Default", "ExeLine1", "/usr/bin/second");
  EXPECT_EQ(entry_keys::readExeLine(config, "Default", 1), "/usr/bin/second");
  EXPECT_EQ(entry_keys::readExeLine(config, "Default", 0), "");
  EXPECT_EQ(entry_keys::readExeLine(config, "Other", 1), "");
}

TEST(KeyTables, NamesAreUniqueWithinEachTable) {
  std::set<std::string_view> names;
  for (const IntKey& key : global_keys::kIntKeys) EXPECT_TRUE(names.insert(key.name).second);
  EXPECT_TRUE(names.insert(global_keys::kWarnFile.name).second);
}

}  // namespace
}  // namespace tarvik
