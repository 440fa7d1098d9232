#include "config/codepage.h"

#include <array>
#include <cstdint>

namespace tarvik {
namespace {

constexpr char32_t kUnassigned = 0xFFFD;

// Unicode code points of the bytes 0x80-0xBF; 0xC0-0xFF are U+0410-U+044F in order.
constexpr std::array<char32_t, 64> kHighHalf{
    0x0402,      0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x20AC,      0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 0x88
    0x0452,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    kUnassigned, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 0x98
    0x00A0,      0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // 0xA0
    0x0401,      0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // 0xA8
    0x00B0,      0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // 0xB0
    0x0451,      0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // 0xB8
};

char32_t decodeByte(unsigned char byte) {
  if (byte < 0x80) return byte;
  if (byte >= 0xC0) return 0x0410 + (byte - 0xC0);
  return kHighHalf[byte - 0x80];
}

// The byte for a code point, or -1 when the code page lacks it.
int encodeCodePoint(char32_t cp) {
  if (cp < 0x80) return static_cast<int>(cp);
  if (cp >= 0x0410 && cp <= 0x044F) return static_cast<int>(0xC0 + (cp - 0x0410));
  if (cp == kUnassigned) return -1;
  for (std::size_t i = 0; i < kHighHalf.size(); ++i) {
    if (kHighHalf[i] == cp) return static_cast<int>(0x80 + i);
  }
  return -1;
}

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one UTF-8 sequence at `pos`, advancing it. Returns -1 for an invalid sequence
// (overlong forms, surrogates, values beyond U+10FFFF, truncated or stray bytes), after
// which `pos` has moved past exactly one byte.
std::int32_t nextCodePoint(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos++]);
  if (lead < 0x80) return lead;
  int extra = 0;
  std::int32_t cp = 0;
  std::int32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, cp = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, cp = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, cp = lead & 0x07, minimum = 0x10000;
  } else {
    return -1;
  }
  if (pos + extra > text.size()) return -1;
  for (int i = 0; i < extra; ++i) {
    const auto next = static_cast<unsigned char>(text[pos + i]);
    if ((next & 0xC0) != 0x80) return -1;
    cp = (cp << 6) | (next & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return -1;
  pos += extra;
  return cp;
}

constexpr std::array<unsigned char, 256> makeLowerTable() {
  std::array<unsigned char, 256> table{};
  for (int i = 0; i < 256; ++i) table[i] = static_cast<unsigned char>(i);
  for (int c = 'A'; c <= 'Z'; ++c) table[c] = static_cast<unsigned char>(c + 32);
  for (int c = 0xC0; c <= 0xDF; ++c) table[c] = static_cast<unsigned char>(c + 32);
  // Capitals outside the two contiguous blocks, paired with their small letters.
  constexpr std::array<std::array<unsigned char, 2>, 15> pairs{{{0x80, 0x90},
                                                                {0x81, 0x83},
                                                                {0x8A, 0x9A},
                                                                {0x8C, 0x9C},
                                                                {0x8D, 0x9D},
                                                                {0x8E, 0x9E},
                                                                {0x8F, 0x9F},
                                                                {0xA1, 0xA2},
                                                                {0xA3, 0xBC},
                                                                {0xA5, 0xB4},
                                                                {0xA8, 0xB8},
                                                                {0xAA, 0xBA},
                                                                {0xAF, 0xBF},
                                                                {0xB2, 0xB3},
                                                                {0xBD, 0xBE}}};
  for (const auto& pair : pairs) table[pair[0]] = pair[1];
  return table;
}

constexpr std::array<unsigned char, 256> kLower = makeLowerTable();

}  // namespace

std::string cp1251ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 2);
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      out += c;
    } else {
      appendUtf8(out, decodeByte(byte));
    }
  }
  return out;
}

std::string utf8ToCp1251(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (static_cast<unsigned char>(text[pos]) < 0x80) {
      out += text[pos++];
      continue;
    }
    const std::int32_t cp = nextCodePoint(text, pos);
    const int byte = cp < 0 ? -1 : encodeCodePoint(static_cast<char32_t>(cp));
    out += byte < 0 ? '?' : static_cast<char>(byte);
  }
  return out;
}

bool fitsCp1251(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::int32_t cp = nextCodePoint(text, pos);
    if (cp < 0 || encodeCodePoint(static_cast<char32_t>(cp)) < 0) return false;
  }
  return true;
}

char32_t cp1251CodePoint(unsigned char byte) {
  return decodeByte(byte);
}

int cp1251ByteOf(char32_t codePoint) {
  return encodeCodePoint(codePoint);
}

unsigned char cp1251Lower(unsigned char byte) {
  return kLower[byte];
}

std::string cp1251Fold(std::string_view bytes) {
  std::string out(bytes);
  for (char& c : out) c = static_cast<char>(kLower[static_cast<unsigned char>(c)]);
  return out;
}

}  // namespace tarvik
