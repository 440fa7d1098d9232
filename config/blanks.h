#pragma once

#include <string_view>

namespace tarvik {

// The blanks the INI files trim around names and values, and a number's text around its
// digits: spaces and tabs only (a line break ends the line, other bytes are part of the text).
inline bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

inline std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace tarvik
