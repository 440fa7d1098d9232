#include "config/entry_section.h"

#include <array>
#include <map>
#include <set>

#include "config/blanks.h"
#include "config/codepage.h"
#include "config/keys.h"

namespace tarvik {
namespace {

constexpr std::array<std::string_view, 3> kProgramSections{kGlobalSection, kSkinSection,
                                                           kUpdateSection};

// Names of the current phonebook that share their case-folded spelling with another name
// (or with the fallback entry's).
std::set<std::string, std::less<>>& collidingNames() {
  static std::set<std::string, std::less<>> names;
  return names;
}

bool isControl(unsigned char byte) {
  return byte < 0x20 || byte == 0x7F;
}

bool standsAsSection(std::string_view name) {
  if (name.empty() || isBlank(name.front()) || isBlank(name.back())) return false;
  if (name.starts_with(kEscapedSectionPrefix)) return false;
  for (const char c : name) {
    if (isControl(static_cast<unsigned char>(c))) return false;
  }
  if (!fitsCp1251(name)) return false;
  const std::string folded = cp1251Fold(utf8ToCp1251(name));
  for (const std::string_view reserved : kProgramSections) {
    if (folded == cp1251Fold(reserved)) return false;
  }
  return true;
}

// Printable ASCII other than '%' and capitals stays; every other byte becomes "%XX" with
// capital hex digits. No output character changes under case folding except the hex
// digits, whose meaning does not depend on case, so the form stays injective even when
// section names are compared without regard to case. Blanks are escaped so that trimming
// cannot shorten the result.
std::string escape(std::string_view name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out(kEscapedSectionPrefix);
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    const bool literal = byte > 0x20 && byte < 0x7F && c != '%' && !(c >= 'A' && c <= 'Z');
    if (literal) {
      out += c;
    } else {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 0x0F];
    }
  }
  return out;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;  // section names compare without case
  return -1;
}

}  // namespace

std::string entryForSection(std::string_view sectionName) {
  if (!sectionName.starts_with(kEscapedSectionPrefix)) return std::string(sectionName);
  std::string name;
  for (std::size_t i = kEscapedSectionPrefix.size(); i < sectionName.size(); ++i) {
    if (sectionName[i] != '%') {
      name += sectionName[i];
      continue;
    }
    const int high = i + 2 < sectionName.size() ? hexDigit(sectionName[i + 1]) : -1;
    const int low = high >= 0 ? hexDigit(sectionName[i + 2]) : -1;
    // Not a form the mapping makes (a hand-written name): shown as it stands.
    if (low < 0) return std::string(sectionName);
    name += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return name;
}

std::string sectionForEntry(std::string_view entryName) {
  if (standsAsSection(entryName) && !collidingNames().contains(entryName)) {
    return std::string(entryName);
  }
  return escape(entryName);
}

void usePhonebookNames(std::span<const std::string> names) {
  // Spellings by folded form; only names that stand as sections can share one (the escaped
  // form is distinct under case folding by itself).
  std::map<std::string, std::set<std::string>> spellings;
  spellings[cp1251Fold(kDefaultEntry)].insert(std::string(kDefaultEntry));
  for (const std::string& name : names) {
    if (standsAsSection(name)) spellings[cp1251Fold(utf8ToCp1251(name))].insert(name);
  }
  auto& colliding = collidingNames();
  colliding.clear();
  for (const auto& [folded, group] : spellings) {
    if (group.size() < 2) continue;
    for (const std::string& name : group) {
      // "Default" is the fallback entry itself and keeps its section.
      if (name != kDefaultEntry) colliding.insert(name);
    }
  }
}

}  // namespace tarvik
