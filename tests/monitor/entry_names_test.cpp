// Phonebook names the INI sections cannot tell apart by themselves (names that differ only
// in case) and names longer than a live connection's name may be, metered from the listed
// phonebook through the probe, the state machine and the meter to the statistics file.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "config/codepage.h"

#include "config/entry_section.h"
#include "config/keys.h"
#include "monitor/monitor_rig.h"
#include "monitor/probe.h"
#include "tariff/day_plan_store.h"

namespace tarvik {
namespace {

using test::MonitorRig;

TEST(EntryNames, NamesThatDifferOnlyInCaseAndOverlongNamesAreMeteredAsThemselves) {
  const std::string longName = "Провайдер " + std::string(300, 'x');
  const std::vector<std::string> phonebook{"Work",    "WORK", "Провайдер", "ПРОВАЙДЕР",
                                           "default", "Home", longName};
  // Cost per hour of each entry's all-day tariff; "Home" collides with nothing.
  const std::vector<std::pair<std::string, int>> costs{
      {"Work", 600},     {"WORK", 1200}, {"Провайдер", 1800}, {"ПРОВАЙДЕР", 2400},
      {"default", 3000}, {"Home", 3600}, {longName, 4200},    {"Default", 9900}};

  MonitorRig rig;
  rig.ras.phonebook = phonebook;
  rig.build();
  rig.assembly->probe.listEntries();
  rig.assembly->entries = rig.assembly->probe.entries();
  const std::string cutName = cutToChars(longName, Probe::kMaxEntryName);
  EXPECT_EQ(rig.assembly->entries.back(), cutName) << "the list is cut as a live name is";

  IniFile config(rig.dir.files().config());
  for (const auto& [entry, cost] : costs) {
    writeKey(config, sections::entry(entry == longName ? cutName : entry), entry_keys::kDone, 1);
    for (int day = 0; day < 7; ++day) {
      writeDayPlan(config, sections::tariff(entry == longName ? cutName : entry), day,
                   {{0, 0, 24, 0, cost, entry.substr(0, 9)}});
    }
  }

  for (const auto& [entry, cost] : costs) {
    if (entry == kDefaultEntry) continue;
    rig.ras.dial(entry, kRasConnected);
    rig.advance(1000);
    ASSERT_EQ(rig.stateCode(), "on") << entry;
    rig.advance(60000);
    rig.ras.drop();
    rig.advance(1000);
    ASSERT_EQ(rig.stateCode(), "of") << entry;
  }

  // Each entry booked one minute at its own tariff into its own section.
  std::set<std::string> folded;
  for (const auto& [entry, cost] : costs) {
    if (entry == kDefaultEntry) continue;
    const std::string section = sectionForEntry(entry == longName ? cutName : entry);
    EXPECT_TRUE(folded.insert(cp1251Fold(utf8ToCp1251(section))).second) << entry;
    EXPECT_EQ(rig.stat(section, "CountTT"), "1") << entry;
    EXPECT_EQ(rig.stat(section, "TimeTT"), "60") << entry;
    EXPECT_EQ(rig.stat(section, "MoneyTT"), std::to_string(cost / 60)) << entry;
  }
  EXPECT_EQ(rig.stat("Default", "CountTT"), "<none>") << "nothing falls back to Default";
  // A name that collides with nothing keeps the section it always had.
  EXPECT_EQ(sectionForEntry("Home"), "Home");
  EXPECT_NE(rig.eventLog().find(" Entry settings: WORK\r\n"), std::string::npos);
}

}  // namespace
}  // namespace tarvik
