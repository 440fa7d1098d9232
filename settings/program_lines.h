#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarvik {

// The list of programs launched on connecting, as one text of command lines. Lines are
// counted as a list of lines counts them: every line ends with a line break, so an empty text
// has none, a break at the very end starts no new line, and empty lines inside count.
std::vector<std::string> splitProgramLines(std::string_view text);
std::string joinProgramLines(const std::vector<std::string>& lines);

// The text with a picked program's path added as a line of its own.
std::string addProgramLine(std::string_view text, std::string_view programPath);

}  // namespace tarvik
