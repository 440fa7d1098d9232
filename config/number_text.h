#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarvik {

// The one injected setting for decimal texts: the separator of the user's locale.
struct NumberFormat {
  char decimalSeparator = ',';
};

// General floating-point text with up to 15 significant digits: the exact binary value
// rounded to 15 significant digits (ties away from zero), trailing zeros stripped, fixed
// notation for 1E-5 <= |x| < 1E15, otherwise "1E-6", "1,5E-7", "1E15". 0 gives "0".
std::string formatGeneral(double value, const NumberFormat& format);
// A single-precision value is widened exactly first: 0.05f gives "0,0500000007450581".
inline std::string formatGeneral(float value, const NumberFormat& format) {
  return formatGeneral(static_cast<double>(value), format);
}

// Reads a decimal fraction written with either "," or "." (whatever the locale, so a file
// written under another locale still reads), optional sign, optional exponent, surrounding
// blanks allowed. nullopt for anything else (empty, "12abc", "1,2,3", inf/nan).
std::optional<double> parseDecimal(std::string_view text);

// Money as it is shown and written. The meter's cost and balance are single precision, which
// holds about seven significant digits; past them a figure carries binary noise (150,5 - 0,8
// is held as 149,699996948242). Money texts therefore keep seven significant digits, but
// never fewer than two decimals, so that a large sum in a file keeps its hundredths. The form
// is otherwise formatGeneral's: 149,7; 0,05; 12345678,4.
std::string formatMoney(double value, const NumberFormat& format);

// The first six characters of a number text: the status display, the quick log and the
// close-out summary have room for no more (123,456789 becomes 123,45).
std::string cutToSix(std::string_view text);

// The money text of `value`, cut to six characters.
std::string sixText(double value, const NumberFormat& format);

}  // namespace tarvik
