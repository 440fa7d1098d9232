#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarvik {

// Splits a command line into the program and its arguments by the rules of the Windows
// command line, which the program lines stored in the settings were written for:
// - the program (first word) ends at the first blank or tab; when it starts with a double
//   quote it runs to the next double quote, and backslashes in it are plain characters;
// - the other words are separated by blanks and tabs outside double quotes;
// - 2n backslashes before a double quote give n backslashes and the quote opens or closes a
//   quoted part; 2n+1 backslashes before it give n backslashes and a literal quote;
//   backslashes not followed by a quote are plain characters;
// - in a run of double quotes every third one is a literal quote, so "" inside a quoted part
//   gives a literal quote and ends the part, and """ outside gives a literal quote.
// Leading blanks are skipped; an empty or blank line gives no words.
std::vector<std::string> splitCommandLine(std::string_view line);

}  // namespace tarvik
