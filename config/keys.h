#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "config/ini_file.h"

namespace tarvik {

// Section names shared by every data file.
inline constexpr std::string_view kGlobalSection = "Olm:TK";
inline constexpr std::string_view kSkinSection = "Olm:TK:Skin";
inline constexpr std::string_view kDefaultEntry = "Default";
// Date markers of the statistics rollover, in the settings file.
inline constexpr std::string_view kUpdateSection = "UpDate";

// A key read as an integer (switches included: 0 = off, anything else = on).
struct IntKey {
  std::string_view name;
  int def;
};

// A key read as text (read back cut to 1023 characters).
struct TextKey {
  std::string_view name;
  std::string_view def;
};

// Global keys of the settings file, section kGlobalSection.
namespace global_keys {
inline constexpr IntKey kO{"O", 0};
inline constexpr IntKey kX{"X", 99};
inline constexpr IntKey kY{"Y", 56};
inline constexpr IntKey kShow{"Show", 1};
inline constexpr IntKey kInit{"Init", 1};
inline constexpr IntKey kPause{"Pause", 5000};
inline constexpr IntKey kMidnight{"Midnight", 0};
inline constexpr IntKey kIcon{"Icon", 0};
inline constexpr IntKey kSpeed{"Speed", 20};
inline constexpr IntKey kFade{"Fade", 1};
inline constexpr IntKey kOpacity{"Opacity", 25};
inline constexpr IntKey kTransparent{"Transparent", 0};
inline constexpr IntKey kAction{"Action", 0};
inline constexpr IntKey kHelpShow{"HelpShow", 1};
inline constexpr IntKey kHelpTime{"HelpTime", 8};
inline constexpr IntKey kBaloon{"Baloon", 1};
inline constexpr IntKey kDefaultAcc{"DefaultAcc", 1};
inline constexpr IntKey kAccountOne{"AccountOne", 0};
inline constexpr IntKey kLogClear{"LogClear", 0};
inline constexpr IntKey kDisplayZero{"DisplayZero", 1};
inline constexpr IntKey kDisplayCost{"DisplayCost", 0};
inline constexpr IntKey kSecurityII{"SecurityII", 1};
inline constexpr IntKey kWarnTime{"WarnTime", 5};
inline constexpr IntKey kWarnBeep{"WarnBeep", 1};
inline constexpr IntKey kWarnWave{"WarnWave", 0};
inline constexpr TextKey kWarnFile{"WarnFile", ""};
inline constexpr IntKey kPriority{"Priority", 0};
inline constexpr IntKey kBorders{"Borders", 1};
inline constexpr IntKey kWeekEnd{"WeekEnd", 0};
inline constexpr IntKey kEntry{"Entry", 0};

inline constexpr std::array kIntKeys{
    kO,        kX,           kY,           kShow,       kInit,       kPause,
    kMidnight, kIcon,        kSpeed,       kFade,       kOpacity,    kTransparent,
    kAction,   kHelpShow,    kHelpTime,    kBaloon,     kDefaultAcc, kAccountOne,
    kLogClear, kDisplayZero, kDisplayCost, kSecurityII, kWarnTime,   kWarnBeep,
    kWarnWave, kPriority,    kBorders,     kWeekEnd,    kEntry};
}  // namespace global_keys

// Skin choice, section kSkinSection of the settings file.
namespace skin_keys {
inline constexpr IntKey kSkinExternal{"SkinExternal", 0};
inline constexpr TextKey kSkinName{"SkinName", "Advanced"};
inline constexpr IntKey kSkinSize{"SkinSize", 0};
// The value of "SkinName" that selects the advanced built-in skin; the dialog writes
// kStandardSkinName for the standard one (any other text also means standard).
inline constexpr std::string_view kAdvancedSkinName = "Advanced";
inline constexpr std::string_view kStandardSkinName = "Default";
}  // namespace skin_keys

// Per-entry keys of the settings file: the entry's section or kDefaultEntry.
namespace entry_keys {
inline constexpr IntKey kDone{"Done", 0};
inline constexpr IntKey kCurrencyIndex{"CurrencyIndex", 0};
inline constexpr IntKey kCurrencyDisplay{"CurrencyDisplay", 0};
// Defaults as the status window reads them.
inline constexpr TextKey kCurrencyDisplayA{"CurrencyDisplayA", "$"};
inline constexpr TextKey kCurrencyDisplayZ{"CurrencyDisplayZ", "ц"};
inline constexpr TextKey kCurrencyCustomAA{"CurrencyCustomAA", "НАСТРАИВАЕМАЯ"};
inline constexpr TextKey kCurrencyCustomAZ{"CurrencyCustomAZ", "@"};
inline constexpr TextKey kCurrencyCustomZA{"CurrencyCustomZA", "ТУГРИКИ"};
inline constexpr TextKey kCurrencyCustomZZ{"CurrencyCustomZZ", "т."};
inline constexpr IntKey kAccountDisplay{"AccountDisplay", 0};
inline constexpr IntKey kAccountPersonal{"AccountPersonal", 1};
inline constexpr IntKey kAccountProvider1{"AccountProvider1", 0};
inline constexpr IntKey kAccountProvider2{"AccountProvider2", 0};
inline constexpr IntKey kAccountProvider3{"AccountProvider3", 0};
inline constexpr IntKey kAuthentification{"Authentification", 1};
inline constexpr IntKey kStatusShow{"StatusShow", 1};
inline constexpr IntKey kStatusHide{"StatusHide", 1};
inline constexpr IntKey kStatusWait{"StatusWait", 10};
inline constexpr IntKey kFreeTime{"FreeTime", 5};
inline constexpr IntKey kHangUpAuto{"HangUpAuto", 0};
inline constexpr IntKey kHangUpTime{"HangUpTime", 15};
inline constexpr IntKey kExecute{"Execute", 0};
// "ExeCount" has two defaults: the dialog offers one (browser) line for a fresh entry,
// while at run time a missing count launches nothing.
inline constexpr IntKey kExeCountDialog{"ExeCount", 1};
inline constexpr IntKey kExeCountRunTime{"ExeCount", 0};
// Program lines are "ExeLine0", "ExeLine1", ... (see exeLineKey). At run time a missing
// line is empty; the dialog shows kDefaultExeLine for every missing line.
inline constexpr std::string_view kExeLinePrefix = "ExeLine";
inline constexpr std::string_view kDefaultExeLine =
    "/usr/bin/x-www-browser https://www.example.com/";
inline constexpr IntKey kOnLineMinute{"OnLineMinute", 1};
inline constexpr IntKey kOnLineSecond{"OnLineSecond", 0};
inline constexpr IntKey kOnLinePeriod{"OnLinePeriod", 15};
inline constexpr IntKey kOnLineBeep{"OnLineBeep", 0};
inline constexpr IntKey kOnLineWave{"OnLineWave", 0};
inline constexpr TextKey kOnLineFile{"OnLineFile", ""};
inline constexpr IntKey kOffLineBeep{"OffLineBeep", 0};
inline constexpr IntKey kOffLineWave{"OffLineWave", 0};
inline constexpr TextKey kOffLineFile{"OffLineFile", ""};
inline constexpr IntKey kZeroWarn{"ZeroWarn", 1};
inline constexpr TextKey kZeroFile{"ZeroFile", ""};
// Balance warning levels 1 to 4: index 0 is level 1. Thresholds in hundredths.
inline constexpr std::array<IntKey, 4> kAccountUse{
    {{"AccountUse1", 0}, {"AccountUse2", 0}, {"AccountUse3", 0}, {"AccountUse4", 0}}};
inline constexpr std::array<IntKey, 4> kAccountVal{
    {{"AccountVal1", 1}, {"AccountVal2", 10}, {"AccountVal3", 25}, {"AccountVal4", 50}}};
inline constexpr IntKey kGraphX{"GraphX", 1};
// Remembered scale maxima of the weekly graph's four axes: index 0 is "Graph1".
inline constexpr std::array<IntKey, 4> kGraph{
    {{"Graph1", 60}, {"Graph2", 250}, {"Graph3", 25}, {"Graph4", 10}}};
inline constexpr IntKey kGraphMax{"GraphMax", 25};
inline constexpr IntKey kTruncate{"Truncate", 0};
inline constexpr IntKey kCredit{"Credit", 0};
inline constexpr IntKey kMonthLimit{"MonthLimit", 250};

// "ExeLine" followed by the line number in decimal.
std::string exeLineKey(int line);
// Program line `line` as the monitor reads it: a missing line is empty (nothing to launch).
std::string readExeLine(const IniFile& file, std::string_view section, int line);
}  // namespace entry_keys

// Balance keys of the accounts file. Values are decimal fractions in whole currency units.
namespace balance_keys {
// kGlobalSection: the single shared account; an entry section or kDefaultEntry: that
// entry's own account.
inline constexpr TextKey kAccount{"Account", "0"};
// kGlobalSection: the shared accounts of groups 1 to 3 (index 0 is group 1).
inline constexpr std::array<TextKey, 3> kGroupAccount{
    {{"Account1", "0"}, {"Account2", "0"}, {"Account3", "0"}}};
}  // namespace balance_keys

// Typed access with the table's default.
int readKey(const IniFile& file, std::string_view section, IntKey key);
std::string readKey(const IniFile& file, std::string_view section, TextKey key);
bool readSwitch(const IniFile& file, std::string_view section, IntKey key);
// Switches are stored as 0 or 1.
void writeSwitch(IniFile& file, std::string_view section, IntKey key, bool on);
void writeKey(IniFile& file, std::string_view section, IntKey key, int value);
void writeKey(IniFile& file, std::string_view section, TextKey key, std::string_view value);

// The "Done" rule: a section counts as the entry's own settings only when its "Done" is
// present and not 0; a section holding other keys but no "Done" is treated as absent.
bool hasOwnSettings(const IniFile& config, std::string_view section);

// The entry whose settings and tariff a live connection uses: the phonebook entry itself
// when it is in the phonebook list and its section (sectionForEntry) has own settings, else
// kDefaultEntry. Silent; never fails.
std::string resolveSettingsEntry(std::string_view entry,
                                 std::span<const std::string> phonebookEntries,
                                 const IniFile& config);

}  // namespace tarvik
