#pragma once

#include <string>
#include <string_view>

namespace tarvik {

// The INI section name used for a phonebook entry in every data file (settings, tariff,
// balance, statistics). A name that stands as a section as it is maps to itself, so files
// written earlier keep working. Any other name - one with line breaks or control characters,
// leading or trailing blanks that reading would trim away, characters code page 1251 lacks,
// invalid UTF-8, an empty name, a name equal (ignoring case) to one of the program's own
// sections "Olm:TK", "Olm:TK:Skin", "UpDate", or one starting with the escape prefix - maps
// to "~~" followed by an escaped form. The mapping is stable and injective even under the
// case-insensitive comparison of section names, so such an entry neither corrupts a file
// nor shares its settings, tariff, balance or statistics with another entry.
std::string sectionForEntry(std::string_view entryName);

// The prefix that starts every escaped section name.
inline constexpr std::string_view kEscapedSectionPrefix = "~~";

}  // namespace tarvik
