#pragma once

#include <string>
#include <string_view>

namespace tarvik {

// How this month's expenses compare with the monthly budget spread over the days so far.
enum class MonthOutlook { Ok, Over, FarOver, Unreadable };

// `limit`: the monthly budget in hundredths. `monthMoney`: this month's expenses as the
// statistics page shows them (whole units, decimal text). `dayOfMonth`: 1 to 31. The budget so
// far is dayOfMonth times a whole daily share (limit / 30, rounded down), so on the 31st it
// exceeds the limit. Spending more than 10 hundredths over it is "far over".
MonthOutlook monthOutlook(int limit, std::string_view monthMoney, int dayOfMonth);

// This month's expenses as the statistics page shows them: the stored hundredths in whole
// units, cut to six characters. A stored text that is not a number is passed on as it is.
std::string shownMonthMoney(std::string_view storedHundredths);

// The caption of the result panel.
std::string_view monthOutlookCaption(MonthOutlook state);

}  // namespace tarvik
