#pragma once

#include <string>
#include <string_view>

namespace tarvik {

// How this month's expenses compare with the monthly budget so far.
enum class MonthState { Ok, Over, FarOver, Unreadable };

struct MonthEstimate {
  MonthState state = MonthState::Unreadable;
  std::string caption;  // the result panel's text
  unsigned rgb = 0;     // its colour, 0xRRGGBB
};

// `limitHundredths`: the monthly budget; `spentText`: the statistics grid's current-month
// money cell (whole units, as shown); `dayOfMonth`: 1..31. The budget so far is the day times
// a thirtieth of the limit (integer division), so on the 31st it exceeds the limit. More than
// 10 hundredths over it is far over. A cell that is not a number is unreadable.
MonthEstimate estimateMonth(int limitHundredths, std::string_view spentText, int dayOfMonth);

}  // namespace tarvik
