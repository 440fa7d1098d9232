// The byte-preserving single edits: each is one splice of the old text, so the new text can
// be written out as three pieces (before, the new bytes, after) without being built first.

#include "config/blanks.h"
#include "config/codepage.h"
#include "config/ini_parse.h"

namespace tarvik::ini {
namespace {

bool endsWithLineBreak(std::string_view bytes) {
  return !bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r');
}

std::optional<std::string> applied(const Document& doc, const std::optional<Splice>& splice) {
  if (!splice) return std::nullopt;
  return piecesOf(doc, *splice).joined();
}

}  // namespace

TextPieces piecesOf(const Document& doc, const Splice& splice) {
  const std::string_view bytes = doc.bytes;
  TextPieces pieces;
  pieces.add(bytes.substr(0, splice.begin));
  pieces.add(splice.insert);
  pieces.add(bytes.substr(splice.end));
  return pieces;
}

std::optional<Splice> setValueSplice(const Document& doc, std::string_view section,
                                     std::string_view key, std::string_view newValue) {
  checkWritable(section, key, newValue);
  const std::string keyBytes(trimBlanks(utf8ToCp1251(key)));
  const std::string valueBytes = utf8ToCp1251(newValue);
  const std::string_view bytes = doc.bytes;

  const auto regionIndex = sectionIndex(doc, lookupKey(section));
  if (!regionIndex) {
    Splice splice{bytes.size(), bytes.size(), {}};
    if (!bytes.empty() && !endsWithLineBreak(bytes)) splice.insert = "\r\n";
    splice.insert += "[" + std::string(trimBlanks(utf8ToCp1251(section))) + "]\r\n" + keyBytes +
                     "=" + valueBytes + "\r\n";
    return splice;
  }

  const Region& region = doc.regions[*regionIndex];
  if (const auto existing = keyLine(doc, *regionIndex, cp1251Fold(keyBytes))) {
    const Line line = doc.lines[*existing];
    if (bytes.substr(line.valueBegin, line.valueEnd - line.valueBegin) == valueBytes) {
      return std::nullopt;
    }
    // Keep everything up to the old value (indentation, spelling, blanks around "=")
    // and the line end; only the value changes.
    const std::size_t valueStart =
        line.valueBegin == line.valueEnd ? bytes.find('=', line.nameEnd) + 1 : line.valueBegin;
    return Splice{valueStart, line.contentEnd, valueBytes};
  }

  std::string newLine = keyBytes + "=" + valueBytes + "\r\n";
  const auto after = lastNonBlankLine(doc, region);
  if (!after) return Splice{0, 0, std::move(newLine)};
  const Line anchor = doc.lines[*after];
  // The last line had no line end.
  if (anchor.end == anchor.contentEnd) newLine.insert(0, "\r\n");
  return Splice{anchor.end, anchor.end, std::move(newLine)};
}

std::optional<Splice> removeKeySplice(const Document& doc, std::string_view section,
                                      std::string_view key) {
  const std::optional<Line> line = findKey(doc, section, key);
  if (!line) return std::nullopt;
  return Splice{line->begin, line->end, {}};
}

std::optional<Splice> removeSectionSplice(const Document& doc, std::string_view section) {
  const Region* region = findSection(doc, section);
  if (region == nullptr || !hasSection(doc, section) || region->endLine == region->firstLine) {
    return std::nullopt;
  }
  return Splice{doc.lines[region->firstLine].begin, doc.lines[region->endLine - 1].end, {}};
}

std::optional<std::string> setValue(const Document& doc, std::string_view section,
                                    std::string_view key, std::string_view value) {
  return applied(doc, setValueSplice(doc, section, key, value));
}

std::optional<std::string> removeKey(const Document& doc, std::string_view section,
                                     std::string_view key) {
  return applied(doc, removeKeySplice(doc, section, key));
}

std::optional<std::string> removeSection(const Document& doc, std::string_view section) {
  return applied(doc, removeSectionSplice(doc, section));
}

}  // namespace tarvik::ini
