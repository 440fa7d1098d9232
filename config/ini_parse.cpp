#include "config/ini_parse.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "config/blanks.h"
#include "config/codepage.h"
#include "config/ini_name_index.h"
#include "config/ini_write_error.h"

namespace tarvik::ini {
namespace {

// A text value is read back cut to this many characters (one byte each in code page 1251).
constexpr std::size_t kMaxValueLength = 1023;

// Narrows [begin, end) of `bytes` to its trimmed part.
void trimRange(const std::string& bytes, std::uint32_t& begin, std::uint32_t& end) {
  while (begin < end && isBlank(bytes[begin])) ++begin;
  while (end > begin && isBlank(bytes[end - 1])) --end;
}

void classify(const std::string& bytes, Line& line) {
  std::size_t first = line.begin;
  while (first < line.contentEnd && isBlank(bytes[first])) ++first;
  if (first == line.contentEnd) {
    line.kind = LineKind::Blank;
    return;
  }
  const char lead = bytes[first];
  if (lead == ';') {
    line.kind = LineKind::Comment;
    return;
  }
  if (lead == '[') {
    std::size_t close = line.contentEnd;
    while (close > first + 1 && bytes[close - 1] != ']') --close;
    if (close <= first + 1) {  // no "]" after the "[": not a header, ignored
      line.kind = LineKind::Other;
      return;
    }
    line.kind = LineKind::Section;
    line.nameBegin = first + 1;
    line.nameEnd = close - 1;
    trimRange(bytes, line.nameBegin, line.nameEnd);
    return;
  }
  const void* eq = std::memchr(bytes.data() + first, '=', line.contentEnd - first);
  if (eq == nullptr) {
    line.kind = LineKind::Other;
    return;
  }
  const std::size_t eqPos = static_cast<const char*>(eq) - bytes.data();
  line.kind = LineKind::Key;
  line.nameBegin = first;
  line.nameEnd = eqPos;
  trimRange(bytes, line.nameBegin, line.nameEnd);
  line.valueBegin = eqPos + 1;
  line.valueEnd = line.contentEnd;
  trimRange(bytes, line.valueBegin, line.valueEnd);
}

std::string_view rangeOf(const std::string& bytes, std::size_t begin, std::size_t end) {
  return std::string_view(bytes).substr(begin, end - begin);
}

std::string_view rawValue(const Document& doc, const Line& line) {
  return rangeOf(doc.bytes, line.valueBegin, line.valueEnd);
}

bool sectionExists(const Region& region) {
  return region.headerLine != Region::kNoHeader || region.hasKeys;
}

std::string_view sectionName(const Document& doc, std::size_t region) {
  const std::size_t header = doc.regions[region].headerLine;
  if (header == Region::kNoHeader) return {};
  const Line& line = doc.lines[header];
  return rangeOf(doc.bytes, line.nameBegin, line.nameEnd);
}

std::string_view keyName(const Document& doc, std::size_t line) {
  return rangeOf(doc.bytes, doc.lines[line].nameBegin, doc.lines[line].nameEnd);
}

bool inRegion(const Region& region, std::size_t line) {
  return line >= region.firstLine && line < region.endLine;
}

std::size_t parsed = 0;

}  // namespace

// The line after which a new key of the region goes: its last non-blank line, or nullopt
// when the region has none (only possible for region 0).
std::optional<std::size_t> lastNonBlankLine(const Document& doc, const Region& region) {
  for (std::size_t i = region.endLine; i > region.firstLine; --i) {
    if (doc.lines[i - 1].kind != LineKind::Blank) return i - 1;
  }
  return std::nullopt;
}

void Lines::push_back(const Line& line) {
  const std::uint32_t content = line.contentEnd - line.begin;
  if (content > 0xFFFF) {
    packed_.push_back({static_cast<std::uint32_t>(long_.size()), 0, 0, 0, 0, 0, line.kind, kLong});
    long_.push_back(line);
    return;
  }
  // Offsets a line's kind does not set stay 0, as in the whole record.
  const auto from = [&line](std::uint32_t offset) {
    return static_cast<std::uint16_t>(offset - line.begin);
  };
  const bool named = line.kind == LineKind::Key || line.kind == LineKind::Section;
  const bool valued = line.kind == LineKind::Key;
  packed_.push_back({line.begin, static_cast<std::uint16_t>(content),
                     named ? from(line.nameBegin) : std::uint16_t{0},
                     named ? from(line.nameEnd) : std::uint16_t{0},
                     valued ? from(line.valueBegin) : std::uint16_t{0},
                     valued ? from(line.valueEnd) : std::uint16_t{0}, line.kind,
                     static_cast<std::uint8_t>(line.end - line.contentEnd)});
}

Line Lines::operator[](std::size_t i) const {
  const Packed& p = packed_[i];
  if (p.lineEnd == kLong) return long_[p.begin];
  Line line;
  line.begin = p.begin;
  line.contentEnd = p.begin + p.content;
  line.end = line.contentEnd + p.lineEnd;
  line.kind = p.kind;
  if (p.kind == LineKind::Key || p.kind == LineKind::Section) {
    line.nameBegin = p.begin + p.nameBegin;
    line.nameEnd = p.begin + p.nameEnd;
  }
  if (p.kind == LineKind::Key) {
    line.valueBegin = p.begin + p.valueBegin;
    line.valueEnd = p.begin + p.valueEnd;
  }
  return line;
}

std::size_t parseCount() {
  return parsed;
}

Document parse(std::string bytes) {
  ++parsed;
  Document doc;
  doc.bytes = std::move(bytes);
  const std::string& text = doc.bytes;
  const std::size_t size = text.size();
  // Counted first, so that the records take exactly the room they need.
  std::size_t breaks = 0;
  for (std::size_t i = 0; i < size; ++i) {
    breaks += text[i] == '\n' || (text[i] == '\r' && (i + 1 == size || text[i + 1] != '\n'));
  }
  doc.lines.reserve(breaks + 1);

  std::size_t sectionLines = 0, keyLines = 0;
  std::size_t pos = 0;
  while (pos < size) {
    Line line;
    line.begin = static_cast<std::uint32_t>(pos);
    std::size_t stop = pos;
    while (stop < size && text[stop] != '\n' && text[stop] != '\r') ++stop;
    line.contentEnd = static_cast<std::uint32_t>(stop);
    if (stop < size) {
      stop += (text[stop] == '\r' && stop + 1 < size && text[stop + 1] == '\n') ? 2 : 1;
    }
    line.end = static_cast<std::uint32_t>(stop);
    classify(text, line);
    sectionLines += line.kind == LineKind::Section;
    keyLines += line.kind == LineKind::Key;
    doc.lines.push_back(line);
    pos = stop;
  }

  sizeIndex(doc.sections, sectionLines + 1);
  doc.regions.reserve(sectionLines + 1);
  doc.regions.emplace_back();
  doc.regions.back().first = true;
  insert(doc.sections, hashStart(0), 0, [](std::size_t) { return false; });
  for (std::size_t i = 0; i < doc.lines.size(); ++i) {
    const Line& line = doc.lines[i];
    if (line.kind != LineKind::Section) continue;
    doc.regions.back().endLine = i;
    Region region;
    region.headerLine = i;
    region.firstLine = i;
    doc.regions.push_back(region);
    const std::string_view name = rangeOf(text, line.nameBegin, line.nameEnd);
    doc.regions.back().first =
        insert(doc.sections, hashRaw(hashStart(0), name), doc.regions.size() - 1,
               [&](std::size_t known) { return sameRaw(sectionName(doc, known), name); });
  }
  doc.regions.back().endLine = doc.lines.size();

  sizeIndex(doc.keys, keyLines);
  for (std::size_t r = 0; r < doc.regions.size(); ++r) {
    Region& region = doc.regions[r];
    if (!region.first) continue;
    for (std::size_t i = region.firstLine; i < region.endLine; ++i) {
      if (doc.lines[i].kind != LineKind::Key) continue;
      region.hasKeys = true;
      const std::string_view name = keyName(doc, i);
      insert(doc.keys, hashRaw(hashStart(r), name), i, [&](std::size_t known) {
        return inRegion(region, known) && sameRaw(keyName(doc, known), name);
      });
    }
  }
  return doc;
}

std::string lookupKey(std::string_view utf8Name) {
  return cp1251Fold(trimBlanks(utf8ToCp1251(utf8Name)));
}

std::optional<std::size_t> sectionIndex(const Document& doc, std::string_view foldedSection) {
  return probe(doc.sections, hashFolded(hashStart(0), foldedSection), [&](std::size_t region) {
    return sameFolded(sectionName(doc, region), foldedSection);
  });
}

std::optional<std::size_t> keyLine(const Document& doc, std::size_t region,
                                   std::string_view foldedKey) {
  return probe(doc.keys, hashFolded(hashStart(region), foldedKey), [&](std::size_t line) {
    return inRegion(doc.regions[region], line) && sameFolded(keyName(doc, line), foldedKey);
  });
}

const Region* findSection(const Document& doc, std::string_view utf8Section) {
  const auto index = sectionIndex(doc, lookupKey(utf8Section));
  return index ? &doc.regions[*index] : nullptr;
}

std::optional<Line> findKey(const Document& doc, std::string_view utf8Section,
                            std::string_view utf8Key) {
  const auto region = sectionIndex(doc, lookupKey(utf8Section));
  if (!region) return std::nullopt;
  const auto line = keyLine(doc, *region, lookupKey(utf8Key));
  if (!line) return std::nullopt;
  return doc.lines[*line];
}

std::optional<std::string> value(const Document& doc, std::string_view section,
                                 std::string_view key) {
  const std::optional<Line> line = findKey(doc, section, key);
  if (!line) return std::nullopt;
  return decodeValue(rawValue(doc, *line));
}

std::string decodeValue(std::string_view raw) {
  if (raw.size() >= 2 && (raw.front() == '"' || raw.front() == '\'') && raw.back() == raw.front()) {
    raw = raw.substr(1, raw.size() - 2);
  }
  return cp1251ToUtf8(raw.substr(0, kMaxValueLength));
}

bool hasSection(const Document& doc, std::string_view section) {
  const Region* region = findSection(doc, section);
  return region != nullptr && sectionExists(*region);
}

std::vector<std::string> sectionNames(const Document& doc) {
  std::vector<std::string> names;
  for (std::size_t r = 1; r < doc.regions.size(); ++r) {
    const std::string_view name = sectionName(doc, r);
    if (!doc.regions[r].first || name.empty()) continue;  // "[]" repeats section ""
    names.push_back(cp1251ToUtf8(name));
  }
  return names;
}

std::vector<std::string> keyNames(const Document& doc, std::string_view section) {
  std::vector<std::string> names;
  const auto region = sectionIndex(doc, lookupKey(section));
  if (!region) return names;
  const Region& r = doc.regions[*region];
  for (std::size_t i = r.firstLine; i < r.endLine; ++i) {
    if (doc.lines[i].kind != LineKind::Key) continue;
    const std::string_view name = keyName(doc, i);
    if (keyLine(doc, *region, cp1251Fold(name)) == i) names.push_back(cp1251ToUtf8(name));
  }
  return names;
}

void checkWritable(std::string_view section, std::string_view key, std::string_view value) {
  const auto hasLineBreak = [](std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
  };
  if (hasLineBreak(section) || hasLineBreak(key) || hasLineBreak(value)) {
    throw IniWriteError("a section name, key or value contains a line break");
  }
  const std::string_view name = trimBlanks(key);
  if (name.empty()) throw IniWriteError("empty key name");
  if (name.find('=') != std::string_view::npos) throw IniWriteError("key name contains \"=\"");
  if (name.front() == ';' || name.front() == '[') {
    throw IniWriteError("key name would read as a comment or a section header");
  }
}

}  // namespace tarvik::ini
