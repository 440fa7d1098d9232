#pragma once

#include <array>
#include <string_view>

// Key names of an entry's section in the statistics file, grouped as the operations use them.
namespace tarvik::stats_keys {

// Identity of the last connection booked, in the shared section: a recovery checks it so
// that no connection is booked twice.
inline constexpr std::string_view kBooked = "Booked";

inline constexpr std::array<std::string_view, 4> kCurrentCounts{"CountTD", "CountTW", "CountTM",
                                                                "CountTT"};
inline constexpr std::array<std::string_view, 4> kCurrentTimes{"TimeTD", "TimeTW", "TimeTM",
                                                               "TimeTT"};
inline constexpr std::array<std::string_view, 4> kCurrentMoney{"MoneyTD", "MoneyTW", "MoneyTM",
                                                               "MoneyTT"};

// Current -> previous pairs moved by the rollover of one span.
struct RollPair {
  std::string_view current;
  std::string_view previous;
};
inline constexpr std::array<RollPair, 3> kDayPairs{
    {{"TimeTD", "TimePD"}, {"MoneyTD", "MoneyPD"}, {"CountTD", "CountPD"}}};
inline constexpr std::array<RollPair, 3> kWeekPairs{
    {{"TimeTW", "TimePW"}, {"MoneyTW", "MoneyPW"}, {"CountTW", "CountPW"}}};
inline constexpr std::array<RollPair, 3> kMonthPairs{
    {{"TimeTM", "TimePM"}, {"MoneyTM", "MoneyPM"}, {"CountTM", "CountPM"}}};

// Written as 0 by Clear, in this order; the weekly record and the undo values stay.
inline constexpr std::array<std::string_view, 27> kClearedKeys{
    "TimeTC",  "TimePC",  "TimeTD",  "TimePD",  "TimeTW",  "TimePW",  "TimeTM",
    "TimePM",  "TimeTT",  "MoneyTC", "MoneyPC", "MoneyTD", "MoneyPD", "MoneyTW",
    "MoneyPW", "MoneyTM", "MoneyPM", "MoneyTT", "CountTD", "CountPD", "CountTW",
    "CountPW", "CountTM", "CountPM", "CountTT", "Undo",    "UndoX"};

}  // namespace tarvik::stats_keys
