#pragma once

#include <string>
#include <string_view>

namespace tarvik {

// Code page 1251 exists only where files are read and written; inside, texts are UTF-8.
// Bytes the code page lacks (0x98) decode to U+FFFD.
std::string cp1251ToUtf8(std::string_view bytes);
// Characters the code page lacks encode as '?'; so does each byte of invalid UTF-8.
std::string utf8ToCp1251(std::string_view text);
// True when `text` is valid UTF-8 and every character of it exists in code page 1251.
bool fitsCp1251(std::string_view text);

// One character at a time, for other encodings of the same texts: the code point of a byte
// (U+FFFD for 0x98), and the byte of a code point or -1 when the code page lacks it.
char32_t cp1251CodePoint(unsigned char byte);
int cp1251ByteOf(char32_t codePoint);

// Lower-case form of one code page 1251 byte: Latin A-Z and every Cyrillic capital
// (including Ё, Ђ, Ѓ, Є, Ѕ, І, Ї, Ј, Љ, Њ, Ћ, Ќ, Ў, Џ, Ґ); other bytes are returned as they are.
unsigned char cp1251Lower(unsigned char byte);
// The whole text in that lower-case form, for comparisons without regard to case.
std::string cp1251Fold(std::string_view bytes);

}  // namespace tarvik
