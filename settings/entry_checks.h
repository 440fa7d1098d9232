#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tarvik {

// A whole number as typed into an edit box: an optional sign and decimal digits, nothing
// else, within the range of int.
std::optional<int> parseWholeNumber(std::string_view text);

// What the seconds edits do with a change: keep it, put the stored value back (not a
// number), put "1" (a zero or negative delay, where zero is not allowed) or "0" (a negative
// count of free seconds, which would charge for time never used).
enum class SecondsFix { Keep, Restore, One, Zero };
SecondsFix checkSeconds(std::string_view text, bool zeroAllowed);

// The balance warnings' thresholds are checked in order and only the first that is not a
// number is put back in one round; nullopt when all are numbers.
std::optional<std::size_t> firstNonNumber(std::span<const std::string> texts);

}  // namespace tarvik
