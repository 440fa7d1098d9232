#pragma once

// The one table of every key the program reads or writes, with its scope, default and the
// range a control may set. Readers, writers and the settings dialog's pages all take their
// keys from here; the typed access at the end of this file only pairs a key with a section of
// the same scope.

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "config/key_types.h"

namespace tarvik {

// Section names, each spelled here only.
inline constexpr std::string_view kGlobalSection = "Olm:TK";
inline constexpr std::string_view kSkinSection = "Olm:TK:Skin";
// The fallback entry, and the section its settings, tariff, balance and statistics use.
inline constexpr std::string_view kDefaultEntry = "Default";
// Date markers of the statistics rollover, in the settings file.
inline constexpr std::string_view kUpdateSection = "UpDate";

// The typed sections. Entry names are mapped to section names by sectionForEntry.
namespace sections {
Section<Scope::Global> global();
Section<Scope::Skin> skin();
Section<Scope::Update> update();
Section<Scope::Entry> entry(std::string_view entryName);
Section<Scope::Tariff> tariff(std::string_view entryName);
// The shared balances ("Account" as the single account, "Account1".."Account3").
Section<Scope::Balance> sharedBalance();
Section<Scope::Balance> balance(std::string_view entryName);
// The identity of the last booking lives in the statistics file's shared section.
Section<Scope::Statistics> sharedStatistics();
Section<Scope::Statistics> statistics(std::string_view entryName);
Section<Scope::Journal> journal();
// A booking kept for a later attempt, in the kept-bookings file: "Booking " + its identity.
inline constexpr std::string_view kKeptBookingPrefix = "Booking ";
Section<Scope::Journal> keptBooking(std::string_view identity);
// The sections of a skin file: "skin", "skin:info", and per mode word ("compact", "full")
// "skin:" + mode, its outline "skin:" + mode + ":points" and its objects "skin:" + mode +
// ":" + object ("time", "face", ...).
Section<Scope::SkinFile> skinHeader();
Section<Scope::SkinFile> skinInfo();
Section<Scope::SkinFile> skinMode(std::string_view mode);
Section<Scope::SkinFile> skinPoints(std::string_view mode);
Section<Scope::SkinFile> skinObject(std::string_view mode, std::string_view object);
// The skin editor's own sections of its working file, removed when the skin is saved: which
// modes were created, and the pictures chosen for each mode.
Section<Scope::SkinFile> skinTemp();
Section<Scope::SkinFile> skinImages();
}  // namespace sections

// The choices stored as integers.
enum class IndicatorType { A = 0, B = 1, C = 2, D = 3 };
enum class DoubleClickAction {
  ShowStatistics = 0,
  HideWindow = 1,
  SwitchMoney = 2,
  SwitchSkinMode = 3,
  HangUp = 4,
  CancelAutoHangUp = 5,
};
// Colours of the weekly graph's weekend labels.
enum class WeekendColours { BothRed = 0, SaturdayBlue = 1, Plain = 2 };
enum class Currency { Dollars = 0, Roubles = 1, Custom = 2 };
// What the weekly graph's Y axis shows: time, money in two scales, connections, and the
// volume received and sent (4, a value the first versions did not have).
enum class GraphAxis { Time = 0, Money = 1, MoneySmall = 2, Connections = 3, Volume = 4 };
// An entry's data limit: the statistics' span it covers, its unit and what it counts.
enum class LimitSpan { Day = 0, Week = 1, Month = 2 };
enum class LimitUnit { Megabytes = 0, Gigabytes = 1 };
enum class LimitCount { Both = 0, Received = 1, Sent = 2 };

// Where a connection's balance is kept (the values are stored in files and crash journals).
enum AccountKind : int {
  kAccountIndividual = 0,  // the entry's own "Account"
  kAccountDefault = 1,     // [Default] "Account", for entries without own settings
  kAccountSingle = 2,      // [Olm:TK] "Account", one account for all entries
  kAccountGroup1 = 3,      // [Olm:TK] "Account1"
  kAccountGroup2 = 4,      // [Olm:TK] "Account2"
  kAccountGroup3 = 5,      // [Olm:TK] "Account3"
};
inline constexpr int kAccountKindCount = 6;

// Global keys of the settings file.
namespace global_keys {
using I = IntKey<Scope::Global>;
inline constexpr I kO{"O", 0};
// "X" and "Y" run from 0 to the screen's size less kScreenMargin, known only at run time.
inline constexpr int kScreenMargin = 5;
inline constexpr I kX{"X", 99};
inline constexpr I kY{"Y", 56};
inline constexpr I kShow{"Show", 1};
inline constexpr I kInit{"Init", 1};
inline constexpr I kPause{"Pause", 5000, {1750, 5000, 250}};
inline constexpr I kMidnight{"Midnight", 0};
inline constexpr ChoiceKey<Scope::Global, IndicatorType> kIcon{"Icon", IndicatorType::A,
                                                               IndicatorType::D};
inline constexpr I kSpeed{"Speed", 20, {10, 50, 10}};
inline constexpr I kFade{"Fade", 1};
inline constexpr I kOpacity{"Opacity", 25, {0, 75, 1}};
inline constexpr I kTransparent{"Transparent", 0};
inline constexpr ChoiceKey<Scope::Global, DoubleClickAction> kAction{
    "Action", DoubleClickAction::ShowStatistics, DoubleClickAction::CancelAutoHangUp};
inline constexpr I kHelpShow{"HelpShow", 1};
inline constexpr I kHelpTime{"HelpTime", 8, {2, 15, 1}};
inline constexpr I kBaloon{"Baloon", 1};
inline constexpr I kDefaultAcc{"DefaultAcc", 1};
inline constexpr I kAccountOne{"AccountOne", 0};
inline constexpr I kLogClear{"LogClear", 0};
inline constexpr I kDisplayZero{"DisplayZero", 1};
inline constexpr I kDisplayCost{"DisplayCost", 0};
inline constexpr I kSecurityII{"SecurityII", 1};
inline constexpr I kWarnTime{"WarnTime", 5, {2, 10, 1}};
inline constexpr I kWarnBeep{"WarnBeep", 1};
inline constexpr I kWarnWave{"WarnWave", 0};
inline constexpr TextKey<Scope::Global> kWarnFile{"WarnFile", ""};
inline constexpr I kPriority{"Priority", 0};
inline constexpr I kBorders{"Borders", 1};
inline constexpr ChoiceKey<Scope::Global, WeekendColours> kWeekEnd{
    "WeekEnd", WeekendColours::BothRed, WeekendColours::Plain};
inline constexpr I kEntry{"Entry", 0};

// The plain integer keys, for checks over the whole table.
inline constexpr std::array kIntKeys{
    kO,          kX,          kY,        kShow,        kInit,        kPause,      kMidnight,
    kSpeed,      kFade,       kOpacity,  kTransparent, kHelpShow,    kHelpTime,   kBaloon,
    kDefaultAcc, kAccountOne, kLogClear, kDisplayZero, kDisplayCost, kSecurityII, kWarnTime,
    kWarnBeep,   kWarnWave,   kPriority, kBorders,     kEntry};
}  // namespace global_keys

// Skin choice.
namespace skin_keys {
inline constexpr IntKey<Scope::Skin> kSkinExternal{"SkinExternal", 0};
inline constexpr TextKey<Scope::Skin> kSkinName{"SkinName", "Advanced"};
inline constexpr IntKey<Scope::Skin> kSkinSize{"SkinSize", 0};
// The value of "SkinName" that selects the advanced built-in skin; the dialog writes
// kStandardSkinName for the standard one (any other text also means standard).
inline constexpr std::string_view kAdvancedSkinName = "Advanced";
inline constexpr std::string_view kStandardSkinName = kDefaultEntry;
}  // namespace skin_keys

// Per-entry keys of the settings file: the entry's section or kDefaultEntry.
namespace entry_keys {
using I = IntKey<Scope::Entry>;
using T = TextKey<Scope::Entry>;
inline constexpr I kDone{"Done", 0};
inline constexpr ChoiceKey<Scope::Entry, Currency> kCurrencyIndex{
    "CurrencyIndex", Currency::Dollars, Currency::Custom};
inline constexpr I kCurrencyDisplay{"CurrencyDisplay", 0};
// Defaults as the status window reads them.
inline constexpr T kCurrencyDisplayA{"CurrencyDisplayA", "$"};
inline constexpr T kCurrencyDisplayZ{"CurrencyDisplayZ", "ц"};
inline constexpr T kCurrencyCustomAA{"CurrencyCustomAA", "НАСТРАИВАЕМАЯ"};
inline constexpr T kCurrencyCustomAZ{"CurrencyCustomAZ", "@", 2};
inline constexpr T kCurrencyCustomZA{"CurrencyCustomZA", "ТУГРИКИ"};
inline constexpr T kCurrencyCustomZZ{"CurrencyCustomZZ", "т.", 2};
inline constexpr I kAccountDisplay{"AccountDisplay", 0};
inline constexpr I kAccountPersonal{"AccountPersonal", 1};
inline constexpr I kAccountProvider1{"AccountProvider1", 0};
inline constexpr I kAccountProvider2{"AccountProvider2", 0};
inline constexpr I kAccountProvider3{"AccountProvider3", 0};
inline constexpr I kAuthentification{"Authentification", 1};
inline constexpr I kStatusShow{"StatusShow", 1};
inline constexpr I kStatusHide{"StatusHide", 1};
inline constexpr I kStatusWait{"StatusWait", 10, {5, 60, 5}};
inline constexpr I kFreeTime{"FreeTime", 5, {0, 900, 5}};
inline constexpr I kHangUpAuto{"HangUpAuto", 0};
inline constexpr I kHangUpTime{"HangUpTime", 15, {10, 3600, 15}};
inline constexpr I kExecute{"Execute", 0};
// "ExeCount" has two defaults: the dialog offers one (browser) line for a fresh entry,
// while at run time a missing count launches nothing.
inline constexpr I kExeCountDialog{"ExeCount", 1};
inline constexpr I kExeCountRunTime{"ExeCount", 0};
// Program line `line` ("ExeLine0", "ExeLine1", ...). At run time a missing line is empty;
// the dialog shows kDefaultExeLine for every missing line.
constexpr T exeLine(int line) {
  return {KeyName("ExeLine").append(line), ""};
}
inline constexpr std::string_view kDefaultExeLine =
    "/usr/bin/x-www-browser https://www.example.com/";
inline constexpr I kOnLineMinute{"OnLineMinute", 1};
inline constexpr I kOnLineSecond{"OnLineSecond", 0};
inline constexpr I kOnLinePeriod{"OnLinePeriod", 15, {5, 3600, 5}};
inline constexpr I kOnLineBeep{"OnLineBeep", 0};
inline constexpr I kOnLineWave{"OnLineWave", 0};
inline constexpr T kOnLineFile{"OnLineFile", ""};
inline constexpr I kOffLineBeep{"OffLineBeep", 0};
inline constexpr I kOffLineWave{"OffLineWave", 0};
inline constexpr T kOffLineFile{"OffLineFile", ""};
inline constexpr I kZeroWarn{"ZeroWarn", 1};
inline constexpr T kZeroFile{"ZeroFile", ""};
// Balance warning levels 1 to 4: index 0 is level 1. Thresholds in hundredths.
inline constexpr std::array<I, 4> kAccountUse{
    {{"AccountUse1", 0}, {"AccountUse2", 0}, {"AccountUse3", 0}, {"AccountUse4", 0}}};
inline constexpr std::array<I, 4> kAccountVal{{{"AccountVal1", 1, {1, 10000, 1}},
                                               {"AccountVal2", 10, {1, 10000, 1}},
                                               {"AccountVal3", 25, {1, 10000, 1}},
                                               {"AccountVal4", 50, {1, 10000, 1}}}};
inline constexpr ChoiceKey<Scope::Entry, GraphAxis> kGraphX{"GraphX", GraphAxis::Money,
                                                            GraphAxis::Volume};
// Remembered scale maxima of the weekly graph's axes: index 0 is "Graph1". "Graph5", the
// volume's in megabytes, comes after the four the first versions wrote. Each is shown in the
// one scale box, so each has its range.
inline constexpr Range kGraphRange{5, 3600, 5};
inline constexpr std::array<I, 5> kGraph{{{"Graph1", 60, kGraphRange},
                                          {"Graph2", 250, kGraphRange},
                                          {"Graph3", 25, kGraphRange},
                                          {"Graph4", 10, kGraphRange},
                                          {"Graph5", 100, kGraphRange}}};
inline constexpr I kGraphMax{"GraphMax", 25, kGraphRange};
inline constexpr I kTruncate{"Truncate", 0};
inline constexpr I kCredit{"Credit", 0};
inline constexpr I kMonthLimit{"MonthLimit", 250, {50, 30000, 50}};
// The warning before a dearer tariff period: on or off, and how many minutes before it.
inline constexpr I kRiseWarn{"RiseWarn", 0};
inline constexpr I kRiseTime{"RiseTime", 5, {1, 60, 1}};
// The data limit of the day, week or month: on or off, its size in "LimitUnit", what it
// counts, the share that warns first (in percent, with its switch) and whether reaching it
// hangs up.
inline constexpr I kLimitUse{"LimitUse", 0};
inline constexpr I kLimitSize{"LimitSize", 10, {1, 99999, 1}};
inline constexpr ChoiceKey<Scope::Entry, LimitUnit> kLimitUnit{"LimitUnit", LimitUnit::Gigabytes,
                                                               LimitUnit::Gigabytes};
inline constexpr ChoiceKey<Scope::Entry, LimitSpan> kLimitSpan{"LimitSpan", LimitSpan::Month,
                                                               LimitSpan::Month};
inline constexpr ChoiceKey<Scope::Entry, LimitCount> kLimitCount{"LimitCount", LimitCount::Both,
                                                                 LimitCount::Sent};
inline constexpr I kLimitWarn{"LimitWarn", 1};
inline constexpr I kLimitShare{"LimitShare", 80, {5, 95, 5}};
inline constexpr I kLimitHangUp{"LimitHangUp", 0};
}  // namespace entry_keys

// The weekly tariff of an entry, in its settings section (or the single-day tariff file).
// Weekdays are 0 (Sunday) to 6, periods are numbered from 0.
namespace tariff_keys {
using I = IntKey<Scope::Tariff>;
inline constexpr int kMaxPeriods = 24;
inline constexpr std::string_view kGuestName = "Guest";
// "Tar" + d: the number of periods of day d.
constexpr I count(int weekday) {
  return {KeyName("Tar").append(weekday), 1, {0, kMaxPeriods, 1}};
}
// "Tar" + d + "x" + i + field.
constexpr KeyName periodName(int weekday, int period, std::string_view field) {
  return KeyName("Tar").append(weekday).append("x").append(period).append(field);
}
constexpr I startHour(int weekday, int period) {
  return {periodName(weekday, period, "AH"), 0, {0, 23, 1}};
}
constexpr I startMinute(int weekday, int period) {
  return {periodName(weekday, period, "AM"), 0, {0, 55, 5}};
}
constexpr I endHour(int weekday, int period) {
  return {periodName(weekday, period, "ZH"), 24, {1, 24, 1}};
}
constexpr I endMinute(int weekday, int period) {
  return {periodName(weekday, period, "ZM"), 0, {0, 55, 5}};
}
// Hundredths of the currency unit per hour.
constexpr I cost(int weekday, int period) {
  return {periodName(weekday, period, "Cost"), 0, {0, 30000, 1}};
}
constexpr TextKey<Scope::Tariff> name(int weekday, int period) {
  return {periodName(weekday, period, "Name"), kGuestName};
}
}  // namespace tariff_keys

// Statistics rollover markers.
namespace update_keys {
using T = TextKey<Scope::Update>;
inline constexpr T kDay{"Day", ""};  // "dd.mm"
inline constexpr T kWeek{"Week", ""};
inline constexpr T kMonth{"Month", ""};
// Read as a number (-1 when missing), written as the year's text.
inline constexpr IntKey<Scope::Update> kYear{"Year", -1};
}  // namespace update_keys

// Balance keys of the accounts file. Values are decimal fractions in whole currency units.
namespace balance_keys {
// The shared section: the single shared account; an entry section or kDefaultEntry: that
// entry's own account.
inline constexpr TextKey<Scope::Balance> kAccount{"Account", "0"};
// The shared section: the shared accounts of groups 1 to 3 (index 0 is group 1).
inline constexpr std::array<TextKey<Scope::Balance>, 3> kGroupAccount{
    {{"Account1", "0"}, {"Account2", "0"}, {"Account3", "0"}}};
}  // namespace balance_keys

// Keys of an entry's section in the statistics file. Every one reads as "0" when missing.
// The names join the quantity ("Time", "Money", "Count"), T (current) or P (previous) and
// the span: C connection, D day, W week, M month, T total.
namespace stats_keys {
using K = TextKey<Scope::Statistics>;
inline constexpr K kTimeTC{"TimeTC", "0"}, kTimePC{"TimePC", "0"}, kTimeTD{"TimeTD", "0"},
    kTimePD{"TimePD", "0"}, kTimeTW{"TimeTW", "0"}, kTimePW{"TimePW", "0"}, kTimeTM{"TimeTM", "0"},
    kTimePM{"TimePM", "0"}, kTimeTT{"TimeTT", "0"};
inline constexpr K kMoneyTC{"MoneyTC", "0"}, kMoneyPC{"MoneyPC", "0"}, kMoneyTD{"MoneyTD", "0"},
    kMoneyPD{"MoneyPD", "0"}, kMoneyTW{"MoneyTW", "0"}, kMoneyPW{"MoneyPW", "0"},
    kMoneyTM{"MoneyTM", "0"}, kMoneyPM{"MoneyPM", "0"}, kMoneyTT{"MoneyTT", "0"};
inline constexpr K kCountTD{"CountTD", "0"}, kCountPD{"CountPD", "0"}, kCountTW{"CountTW", "0"},
    kCountPW{"CountPW", "0"}, kCountTM{"CountTM", "0"}, kCountPM{"CountPM", "0"},
    kCountTT{"CountTT", "0"};
// Taking the last connection back: whether it can be, whether a day rolled over since, and
// its weekday, cost and seconds.
inline constexpr K kUndo{"Undo", "0"}, kUndoX{"UndoX", "0"}, kUndoWD{"UndoWD", "0"},
    kUndoLos{"UndoLos", "0"}, kUndoTim{"UndoTim", "0"};

// The current week, per weekday d (0 Sunday .. 6 Saturday): "Gr" + d + "t" seconds, "f"
// money in whole hundredths, "c" connections.
constexpr K weeklyTime(int weekday) {
  return {KeyName("Gr").append(weekday).append("t"), "0"};
}
constexpr K weeklyMoney(int weekday) {
  return {KeyName("Gr").append(weekday).append("f"), "0"};
}
constexpr K weeklyCount(int weekday) {
  return {KeyName("Gr").append(weekday).append("c"), "0"};
}

// Identity of the last connection booked, in the shared section: a recovery checks it so
// that no connection is booked twice.
inline constexpr K kBooked{"Booked", ""};

// The data limit's mark in an entry's section: the span it is about ("D08.12.2026",
// "W49.2026", "M12.2026"), the bytes the span's counters held before the span began when the
// statistics had not rolled over into it yet, and the warnings given in it ("LimitWarned":
// 1 the share, 2 the limit) for the limit of "LimitFor" bytes. Kept in the file so that a
// restart gives no second warning for the same span.
inline constexpr K kLimitMarkSpan{"LimitMark", ""};
inline constexpr K kLimitMarkBase{"LimitBase", "0"};
inline constexpr K kLimitMarkFor{"LimitFor", "0"};
inline constexpr IntKey<Scope::Statistics> kLimitMarkWarned{"LimitWarned", 0};

// The current values of the day, week, month and total.
inline constexpr std::array kCurrentCounts{kCountTD, kCountTW, kCountTM, kCountTT};
inline constexpr std::array kCurrentTimes{kTimeTD, kTimeTW, kTimeTM, kTimeTT};
inline constexpr std::array kCurrentMoney{kMoneyTD, kMoneyTW, kMoneyTM, kMoneyTT};

// Current -> previous pairs moved by the rollover of one span.
struct RollPair {
  K current;
  K previous;
};
inline constexpr std::array<RollPair, 3> kDayPairs{
    {{kTimeTD, kTimePD}, {kMoneyTD, kMoneyPD}, {kCountTD, kCountPD}}};
inline constexpr std::array<RollPair, 3> kWeekPairs{
    {{kTimeTW, kTimePW}, {kMoneyTW, kMoneyPW}, {kCountTW, kCountPW}}};
inline constexpr std::array<RollPair, 3> kMonthPairs{
    {{kTimeTM, kTimePM}, {kMoneyTM, kMoneyPM}, {kCountTM, kCountPM}}};

// Written as 0 by Clear, in this order; the weekly record and the undo values stay.
inline constexpr std::array kClearedKeys{
    kTimeTC,  kTimePC,  kTimeTD,  kTimePD,  kTimeTW,  kTimePW,  kTimeTM,  kTimePM,  kTimeTT,
    kMoneyTC, kMoneyPC, kMoneyTD, kMoneyPD, kMoneyTW, kMoneyPW, kMoneyTM, kMoneyPM, kMoneyTT,
    kCountTD, kCountPD, kCountTW, kCountPW, kCountTM, kCountPM, kCountTT, kUndo,    kUndoX};

// The volume of the connections in bytes beside their time and money: "Rx" received and "Tx"
// sent, joined with T or P and the span like the others; the weekly record adds "Gr" + d +
// "rx" and "tx", and the undo data "UndoRx" and "UndoTx". Files without them read as 0.
inline constexpr K kRxTC{"RxTC", "0"}, kRxPC{"RxPC", "0"}, kRxTD{"RxTD", "0"}, kRxPD{"RxPD", "0"},
    kRxTW{"RxTW", "0"}, kRxPW{"RxPW", "0"}, kRxTM{"RxTM", "0"}, kRxPM{"RxPM", "0"},
    kRxTT{"RxTT", "0"};
inline constexpr K kTxTC{"TxTC", "0"}, kTxPC{"TxPC", "0"}, kTxTD{"TxTD", "0"}, kTxPD{"TxPD", "0"},
    kTxTW{"TxTW", "0"}, kTxPW{"TxPW", "0"}, kTxTM{"TxTM", "0"}, kTxPM{"TxPM", "0"},
    kTxTT{"TxTT", "0"};
inline constexpr K kUndoRx{"UndoRx", "0"}, kUndoTx{"UndoTx", "0"};
constexpr K weeklyReceived(int weekday) {
  return {KeyName("Gr").append(weekday).append("rx"), "0"};
}
constexpr K weeklySent(int weekday) {
  return {KeyName("Gr").append(weekday).append("tx"), "0"};
}
inline constexpr std::array kCurrentReceived{kRxTD, kRxTW, kRxTM, kRxTT};
inline constexpr std::array kCurrentSent{kTxTD, kTxTW, kTxTM, kTxTT};
inline constexpr std::array<RollPair, 2> kDayVolumePairs{{{kRxTD, kRxPD}, {kTxTD, kTxPD}}};
inline constexpr std::array<RollPair, 2> kWeekVolumePairs{{{kRxTW, kRxPW}, {kTxTW, kTxPW}}};
inline constexpr std::array<RollPair, 2> kMonthVolumePairs{{{kRxTM, kRxPM}, {kTxTM, kTxPM}}};
// Cleared after the keys above.
inline constexpr std::array kVolumeClearedKeys{kRxTC, kRxPC, kRxTD, kRxPD, kRxTW, kRxPW,
                                               kRxTM, kRxPM, kRxTT, kTxTC, kTxPC, kTxTD,
                                               kTxPD, kTxTW, kTxPW, kTxTM, kTxPM, kTxTT};
}  // namespace stats_keys

// Keys of a crash journal file (one connection's figures at one moment).
namespace journal_keys {
using T = TextKey<Scope::Journal>;
using I = IntKey<Scope::Journal>;
inline constexpr T kTime{"Time", ""};
inline constexpr T kEntry{"Entry", kDefaultEntry};
// The entry name in hex, for a name the file's code page cannot hold.
inline constexpr T kEntryCode{"EntryCode", ""};
inline constexpr T kLosses{"Losses", "0"};
inline constexpr T kAccount{"Account", ""};
inline constexpr I kDuration{"Duration", 0};
inline constexpr I kWeekDay{"WeekDay", 0};
inline constexpr I kAccId{"AccID", 0};
// Bytes the connection has received and sent so far.
inline constexpr T kReceived{"Received", "0"};
inline constexpr T kSent{"Sent", "0"};
// Whether the booking of the journalled connection has started, and its identity.
inline constexpr T kBooking{"Booking", ""};
inline constexpr T kBookingId{"BookingId", ""};
// A kept booking whose connection's quick-log line still waits for its tail.
inline constexpr I kLineOpen{"LineOpen", 0};
}  // namespace journal_keys

// Keys of a skin file. The objects' positions and sizes default per object (see the skin
// reader); the rest have one default.
namespace skin_file_keys {
using I = IntKey<Scope::SkinFile>;
using T = TextKey<Scope::SkinFile>;
// sections::skinHeader()
inline constexpr I kSeparated{"separated", 0};
inline constexpr I kDouble{"double", 0};
inline constexpr I kGeneration{"generation", 0};
inline constexpr I kSupport{"support", 0};
inline constexpr T kGenerator{"generator", ""};
// sections::skinInfo()
inline constexpr T kName{"name", ""};
inline constexpr T kVersion{"version", ""};
inline constexpr T kAuthor{"author", ""};
inline constexpr T kMail{"mail", ""};
inline constexpr T kWeb{"web", ""};
inline constexpr I kCommentUse{"comment_use", 0};
inline constexpr T kCommentMsg{"comment_msg", ""};
// sections::skinMode()
inline constexpr I kShadowUse{"shadow_use", 0};
inline constexpr I kShadowColor{"shadow_color", 0};
// sections::skinPoints(): the number of outline points, then point n (from 1) as n + "x"
// and n + "y".
inline constexpr I kMaxCount{"max_count", 16};
constexpr I pointX(int n) {
  return {KeyName("").append(n).append("x"), 0};
}
constexpr I pointY(int n) {
  return {KeyName("").append(n).append("y"), 0};
}
// sections::skinObject(): place and size of every object; texts add alignment, bold,
// colour, font, size and character set, images whether the picture is stretched.
inline constexpr I kX{"x", 0}, kY{"y", 0}, kH{"h", 0}, kW{"w", 0};
inline constexpr I kAlign{"a", 0};
inline constexpr I kBold{"b", 0};
inline constexpr I kColor{"c", 16777215};
inline constexpr T kFont{"f", "Small Fonts"};
inline constexpr I kFontSize{"s", 7};
inline constexpr I kCharset{"k", 1};
inline constexpr I kStretch{"s", 0};
// sections::skinTemp(): 1 once the compact / full mode has been created in the editor.
inline constexpr I kCompactCreated{"is1", 0};
inline constexpr I kFullCreated{"is2", 0};
// sections::skinImages(): picture `name` of mode digit `mode` (0 compact, 1 full), e.g.
// "face_0" = the chosen file's path and "face_0x" = 1 while it is loaded in the editor.
inline T imagePath(std::string_view name, int mode) {
  return {KeyName(name).append("_").append(mode), ""};
}
inline I imageLoaded(std::string_view name, int mode) {
  return {KeyName(name).append("_").append(mode).append("x"), 0};
}
// What the editor writes into every skin it saves.
inline constexpr int kEditorGeneration = 4;
inline constexpr int kEditorSupport = 40;
inline constexpr std::string_view kEditorGenerator = "TRK.2.4.0.internal.1.0";
}  // namespace skin_file_keys

// Typed access: a key only with a section of its own scope. `File` is IniFile, IniEdit or
// IniDocument (reads) and IniFile or IniEdit (writes).
template <typename File, Scope S>
int readKey(const File& file, const Section<S>& section, const IntKey<S>& key) {
  return file.readInt(section.name(), key.name, key.def);
}
template <typename File, Scope S>
int readKey(const File& file, const Section<S>& section, const IntKey<S>& key, int def) {
  return file.readInt(section.name(), key.name, def);
}
template <typename File, Scope S>
std::string readKey(const File& file, const Section<S>& section, const TextKey<S>& key) {
  return file.readString(section.name(), key.name, key.def);
}
template <typename File, Scope S>
std::string readKey(const File& file, const Section<S>& section, const TextKey<S>& key,
                    std::string_view def) {
  return file.readString(section.name(), key.name, def);
}
template <typename File, Scope S, typename E>
E readKey(const File& file, const Section<S>& section, const ChoiceKey<S, E>& key) {
  return static_cast<E>(file.readInt(section.name(), key.name, static_cast<int>(key.def)));
}
template <typename File, Scope S>
bool readSwitch(const File& file, const Section<S>& section, const IntKey<S>& key) {
  return readKey(file, section, key) != 0;
}
template <typename File, typename Key, Scope S>
requires(Key::scope == S) bool hasKey(const File& file, const Section<S>& section, const Key& key) {
  return file.hasKey(section.name(), key.name);
}

template <typename File, Scope S>
void writeKey(File& file, const Section<S>& section, const IntKey<S>& key, int value) {
  file.writeInt(section.name(), key.name, value);
}
// Numbers the dialog keeps as the text of an edit box are stored as that text.
template <typename File, Scope S>
void writeKey(File& file, const Section<S>& section, const IntKey<S>& key, std::string_view text) {
  file.writeString(section.name(), key.name, text);
}
template <typename File, Scope S>
void writeKey(File& file, const Section<S>& section, const TextKey<S>& key,
              std::string_view value) {
  file.writeString(section.name(), key.name, value);
}
template <typename File, Scope S, typename E>
void writeKey(File& file, const Section<S>& section, const ChoiceKey<S, E>& key, E value) {
  file.writeInt(section.name(), key.name, static_cast<int>(value));
}
// Switches are stored as 0 or 1.
template <typename File, Scope S>
void writeSwitch(File& file, const Section<S>& section, const IntKey<S>& key, bool on) {
  file.writeInt(section.name(), key.name, on ? 1 : 0);
}
template <typename File, typename Key, Scope S>
requires(Key::scope == S) void deleteKey(File& file, const Section<S>& section, const Key& key) {
  file.deleteKey(section.name(), key.name);
}

class IniFile;

// The "Done" rule: an entry counts as having its own settings only when "Done" in its
// section is present and not 0; a section holding other keys but no "Done" is treated as
// absent.
bool hasOwnSettings(const IniFile& config, std::string_view entryName);

// The entry whose settings and tariff a live connection uses: the phonebook entry itself
// when it is in the phonebook list and has own settings, else kDefaultEntry. Silent; never
// fails.
std::string resolveSettingsEntry(std::string_view entry,
                                 std::span<const std::string> phonebookEntries,
                                 const IniFile& config);

}  // namespace tarvik
