#pragma once

#include <span>
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
//
// Names that differ only in case ("Work" and "WORK", which the connection manager allows)
// would share one section, since section names compare without regard to case. While such
// names stand side by side in the phonebook (see usePhonebookNames), each of them maps to its
// escaped form, so every one keeps its own settings, tariff, balance and statistics. All
// of them are escaped alike, not all but one: which of them wrote the shared section first
// cannot be told, so none of them is handed its mixed history. Names that collide with
// nothing keep their plain sections, so files of ordinary names keep working as they are.
std::string sectionForEntry(std::string_view entryName);

// The phonebook as last listed: tells sectionForEntry which names differ from another name
// of the list, or from "Default", only in case. Called wherever the phonebook is read.
void usePhonebookNames(std::span<const std::string> names);

// The entry name a section of the data files stands for: an escaped section name decoded
// back into the name it was made from, any other section name as it is. For readers that
// list the sections of a file without the phonebook at hand (the statistics for scripts).
std::string entryForSection(std::string_view sectionName);

// The prefix that starts every escaped section name.
inline constexpr std::string_view kEscapedSectionPrefix = "~~";

}  // namespace tarvik
