#include "config/ini_parse.h"

#include <cstring>

#include "config/codepage.h"
#include "config/ini_write_error.h"

namespace tarvik::ini {
namespace {

// A text value is read back cut to this many characters (one byte each in code page 1251).
constexpr std::size_t kMaxValueLength = 1023;

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Narrows [begin, end) of `bytes` to its trimmed part.
void trimRange(const std::string& bytes, std::size_t& begin, std::size_t& end) {
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

std::string foldRange(const std::string& bytes, std::size_t begin, std::size_t end) {
  return cp1251Fold(std::string_view(bytes).substr(begin, end - begin));
}

std::string_view rangeOf(const std::string& bytes, std::size_t begin, std::size_t end) {
  return std::string_view(bytes).substr(begin, end - begin);
}

std::string_view rawValue(const Document& doc, const Line& line) {
  return rangeOf(doc.bytes, line.valueBegin, line.valueEnd);
}

bool sectionExists(const Region& region) {
  return region.headerLine != Region::kNoHeader || !region.keyOrder.empty();
}

bool endsWithLineBreak(std::string_view bytes) {
  return !bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r');
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

std::size_t parseCount() {
  return parsed;
}

Document parse(std::string bytes) {
  ++parsed;
  Document doc;
  doc.bytes = std::move(bytes);
  const std::string& text = doc.bytes;
  const std::size_t size = text.size();
  doc.lines.reserve(size / 24 + 1);

  std::size_t pos = 0;
  while (pos < size) {
    Line line;
    line.begin = pos;
    std::size_t stop = pos;
    while (stop < size && text[stop] != '\n' && text[stop] != '\r') ++stop;
    line.contentEnd = stop;
    if (stop < size) {
      stop += (text[stop] == '\r' && stop + 1 < size && text[stop + 1] == '\n') ? 2 : 1;
    }
    line.end = stop;
    classify(text, line);
    doc.lines.push_back(line);
    pos = stop;
  }

  doc.regions.emplace_back();
  doc.sections.emplace("", 0);
  bool regionIsFirst = true;
  for (std::size_t i = 0; i < doc.lines.size(); ++i) {
    const Line& line = doc.lines[i];
    if (line.kind == LineKind::Section) {
      doc.regions.back().endLine = i;
      Region region;
      region.headerLine = i;
      region.firstLine = i;
      doc.regions.push_back(std::move(region));
      const auto inserted = doc.sections.emplace(foldRange(text, line.nameBegin, line.nameEnd),
                                                 doc.regions.size() - 1);
      regionIsFirst = inserted.second;
      if (regionIsFirst) doc.sectionOrder.push_back(doc.regions.size() - 1);
    } else if (line.kind == LineKind::Key && regionIsFirst) {
      Region& region = doc.regions.back();
      if (region.keys.emplace(foldRange(text, line.nameBegin, line.nameEnd), i).second) {
        region.keyOrder.push_back(i);
      }
    }
  }
  doc.regions.back().endLine = doc.lines.size();
  return doc;
}

std::string lookupKey(std::string_view utf8Name) {
  return cp1251Fold(trim(utf8ToCp1251(utf8Name)));
}

const Region* findSection(const Document& doc, std::string_view utf8Section) {
  const auto it = doc.sections.find(lookupKey(utf8Section));
  return it == doc.sections.end() ? nullptr : &doc.regions[it->second];
}

const Line* findKey(const Document& doc, std::string_view utf8Section, std::string_view utf8Key) {
  const Region* region = findSection(doc, utf8Section);
  if (region == nullptr) return nullptr;
  const auto it = region->keys.find(lookupKey(utf8Key));
  return it == region->keys.end() ? nullptr : &doc.lines[it->second];
}

std::optional<std::string> value(const Document& doc, std::string_view section,
                                 std::string_view key) {
  const Line* line = findKey(doc, section, key);
  if (line == nullptr) return std::nullopt;
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
  names.reserve(doc.sectionOrder.size());
  for (const std::size_t index : doc.sectionOrder) {
    const Line& header = doc.lines[doc.regions[index].headerLine];
    if (header.nameBegin == header.nameEnd) continue;  // "[]" repeats section ""
    names.push_back(cp1251ToUtf8(rangeOf(doc.bytes, header.nameBegin, header.nameEnd)));
  }
  return names;
}

std::vector<std::string> keyNames(const Document& doc, std::string_view section) {
  std::vector<std::string> names;
  const Region* region = findSection(doc, section);
  if (region == nullptr) return names;
  names.reserve(region->keyOrder.size());
  for (const std::size_t index : region->keyOrder) {
    const Line& line = doc.lines[index];
    names.push_back(cp1251ToUtf8(rangeOf(doc.bytes, line.nameBegin, line.nameEnd)));
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
  const std::string_view name = trim(key);
  if (name.empty()) throw IniWriteError("empty key name");
  if (name.find('=') != std::string_view::npos) throw IniWriteError("key name contains \"=\"");
  if (name.front() == ';' || name.front() == '[') {
    throw IniWriteError("key name would read as a comment or a section header");
  }
}

std::optional<std::string> setValue(const Document& doc, std::string_view section,
                                    std::string_view key, std::string_view newValue) {
  checkWritable(section, key, newValue);
  const std::string sectionBytes(trim(utf8ToCp1251(section)));
  const std::string keyBytes(trim(utf8ToCp1251(key)));
  const std::string valueBytes = utf8ToCp1251(newValue);
  const std::string_view bytes = doc.bytes;

  const Region* region = findSection(doc, section);
  if (region == nullptr) {
    std::string out(bytes);
    if (!out.empty() && !endsWithLineBreak(out)) out += "\r\n";
    out += "[" + sectionBytes + "]\r\n" + keyBytes + "=" + valueBytes + "\r\n";
    return out;
  }

  const auto it = region->keys.find(cp1251Fold(keyBytes));
  if (it != region->keys.end()) {
    const Line& line = doc.lines[it->second];
    if (rawValue(doc, line) == valueBytes) return std::nullopt;
    // Keep everything up to the old value (indentation, spelling, blanks around "=")
    // and the line end; only the value changes.
    const std::size_t valueStart =
        line.valueBegin == line.valueEnd ? bytes.find('=', line.nameEnd) + 1 : line.valueBegin;
    std::string out;
    out.reserve(bytes.size() + valueBytes.size());
    out.append(bytes.substr(0, valueStart));
    out += valueBytes;
    out.append(bytes.substr(line.contentEnd));
    return out;
  }

  const std::string newLine = keyBytes + "=" + valueBytes + "\r\n";
  const auto after = lastNonBlankLine(doc, *region);
  std::string out;
  out.reserve(bytes.size() + newLine.size() + 2);
  if (!after) {
    out = newLine;
    out.append(bytes);
    return out;
  }
  const Line& anchor = doc.lines[*after];
  out.append(bytes.substr(0, anchor.end));
  if (anchor.end == anchor.contentEnd) out += "\r\n";  // the last line had no line end
  out += newLine;
  out.append(bytes.substr(anchor.end));
  return out;
}

std::optional<std::string> removeKey(const Document& doc, std::string_view section,
                                     std::string_view key) {
  const Line* line = findKey(doc, section, key);
  if (line == nullptr) return std::nullopt;
  const std::string_view bytes = doc.bytes;
  std::string out(bytes.substr(0, line->begin));
  out.append(bytes.substr(line->end));
  return out;
}

std::optional<std::string> removeSection(const Document& doc, std::string_view section) {
  const Region* region = findSection(doc, section);
  if (region == nullptr || !sectionExists(*region) || region->endLine == region->firstLine) {
    return std::nullopt;
  }
  const std::string_view bytes = doc.bytes;
  const std::size_t begin = doc.lines[region->firstLine].begin;
  const std::size_t end = doc.lines[region->endLine - 1].end;
  std::string out(bytes.substr(0, begin));
  out.append(bytes.substr(end));
  return out;
}

}  // namespace tarvik::ini
