#include "config/ini_name_index.h"

#include <algorithm>
#include <array>

#include "config/codepage.h"

namespace tarvik::ini {
namespace {

// The lower-case form of every byte, looked up instead of computed: names are folded byte
// by byte while they are hashed and compared, never copied.
const std::array<unsigned char, 256>& foldTable() {
  static const std::array<unsigned char, 256> table = [] {
    std::array<unsigned char, 256> lower{};
    for (int byte = 0; byte < 256; ++byte)
      lower[byte] = cp1251Lower(static_cast<unsigned char>(byte));
    return lower;
  }();
  return table;
}

constexpr std::uint64_t kHashStart = 14695981039346656037ull;
constexpr std::uint64_t kHashStep = 1099511628211ull;

}  // namespace

std::uint64_t hashStart(std::size_t region) {
  std::uint64_t hash = kHashStart;
  for (int shift = 0; shift < 64; shift += 8)
    hash = (hash ^ ((region >> shift) & 0xFF)) * kHashStep;
  return hash;
}

std::uint64_t hashRaw(std::uint64_t hash, std::string_view raw) {
  const auto& lower = foldTable();
  for (const char c : raw) hash = (hash ^ lower[static_cast<unsigned char>(c)]) * kHashStep;
  return hash;
}

std::uint64_t hashFolded(std::uint64_t hash, std::string_view folded) {
  for (const char c : folded) hash = (hash ^ static_cast<unsigned char>(c)) * kHashStep;
  return hash;
}

bool sameFolded(std::string_view raw, std::string_view folded) {
  if (raw.size() != folded.size()) return false;
  const auto& lower = foldTable();
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (lower[static_cast<unsigned char>(raw[i])] != static_cast<unsigned char>(folded[i])) {
      return false;
    }
  }
  return true;
}

bool sameRaw(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  const auto& lower = foldTable();
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower[static_cast<unsigned char>(a[i])] != lower[static_cast<unsigned char>(b[i])]) {
      return false;
    }
  }
  return true;
}

void sizeIndex(NameIndex& index, std::size_t names) {
  // At most two thirds full: linear probing stays short.
  index.slots.assign(std::max<std::size_t>(8, names + names / 2 + 1), 0);
}

}  // namespace tarvik::ini
