#pragma once

#include <string>
#include <string_view>

namespace tarvik {

// Code page 1251 exists only where files are read and written; inside, texts are UTF-8.
// Bytes the code page lacks (0x98) decode to U+FFFD.
std::string cp1251ToUtf8(std::string_view bytes);
// Characters the code page lacks encode as '?'.
std::string utf8ToCp1251(std::string_view text);
// True when every character of `text` exists in code page 1251.
bool fitsCp1251(std::string_view text);

}  // namespace tarvik
