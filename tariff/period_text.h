#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "tariff/tariff.h"

namespace tarvik {

// The one-line form of a period shown and edited in the tariff list, in fixed columns:
// "hh:mm - hh:mm = ccccc name", e.g. "00:00 - 24:00 = 00000 Guest".
std::string periodText(const TariffPeriod& period);

// Reads a period back by its columns (start 1-2 and 4-5, end 9-10 and 12-13, cost 17-21,
// name from 23 on). nullopt when a number column does not hold a number or the line is
// shorter than the columns of the numbers.
std::optional<TariffPeriod> parsePeriodText(std::string_view text);

// The text the editor inserts as a guest tariff.
inline constexpr std::string_view kGuestPeriodText = "00:00 - 24:00 = 00000 Guest";

}  // namespace tarvik
