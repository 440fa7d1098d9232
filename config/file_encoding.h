#pragma once

// Data files are code page 1251 text, but a file opened and saved again in another editor may
// come back as UTF-16 or UTF-8 with a byte-order mark. Such a file is read as the same text
// and written back in its own encoding.

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvik {

enum class FileEncoding : std::uint8_t { Cp1251, Utf8, Utf16Le, Utf16Be };

// The encoding a file's byte-order mark announces; code page 1251 without one.
FileEncoding encodingOf(std::string_view fileBytes);
// The file's text in code page 1251, without the mark. Characters the code page lacks (and
// broken sequences) read as '?'.
std::string toCp1251(std::string_view fileBytes, FileEncoding encoding);
// Code page 1251 text as the bytes of a file in `encoding`, with its byte-order mark.
std::string fromCp1251(std::string_view text, FileEncoding encoding);

}  // namespace tarvik
