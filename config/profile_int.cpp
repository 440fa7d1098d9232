#include <cstdint>

#include "config/ini_file.h"

namespace tarvik {

int parseProfileInt(std::string_view text, int def) {
  std::size_t pos = 0;
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  const std::string_view rest = text.substr(pos);

  const auto hexDigit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };

  std::uint64_t magnitude = 0;
  if (rest.starts_with("0x") || rest.starts_with("0X") || rest.starts_with("$")) {
    // Hexadecimal covers the full 32 bits: "$FFFFFFFF" is -1.
    const std::string_view digits = rest.substr(rest.front() == '$' ? 1 : 2);
    if (digits.empty()) return def;
    for (const char c : digits) {
      const int digit = hexDigit(c);
      if (digit < 0) return def;
      magnitude = magnitude * 16 + static_cast<unsigned>(digit);
      if (magnitude > 0xFFFFFFFFu) return def;
    }
    auto bits = static_cast<std::uint32_t>(magnitude);
    if (negative) bits = 0u - bits;
    return static_cast<int>(bits);
  }

  if (rest.empty()) return def;
  for (const char c : rest) {
    if (c < '0' || c > '9') return def;
    magnitude = magnitude * 10 + static_cast<unsigned>(c - '0');
    if (magnitude > 2147483648u) return def;
  }
  if (!negative && magnitude > 2147483647u) return def;
  return negative ? static_cast<int>(-static_cast<std::int64_t>(magnitude))
                  : static_cast<int>(magnitude);
}

}  // namespace tarvik
