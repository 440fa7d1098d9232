#pragma once

// The INI text model behind IniFile, IniEdit and IniDocument: parsing of code page 1251
// bytes by the private-profile rules, lookups, and the byte-preserving edits.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/file_encoding.h"
#include "config/ini_name_index.h"
#include "config/text_pieces.h"

namespace tarvik::ini {

enum class LineKind : std::uint8_t { Blank, Comment, Section, Key, Other };

// One line of the text, as the lookups and edits see it.
struct Line {
  std::uint32_t begin = 0;       // first byte of the line
  std::uint32_t contentEnd = 0;  // end of the text, before the line end
  std::uint32_t end = 0;         // after the line end (CR, LF or CR LF); == contentEnd at EOF
  // Key lines: the trimmed key name and the trimmed raw value (quotes still on).
  // Section lines: the trimmed name between "[" and the last "]" in nameBegin/nameEnd.
  std::uint32_t nameBegin = 0, nameEnd = 0;
  std::uint32_t valueBegin = 0, valueEnd = 0;
  LineKind kind = LineKind::Other;

  bool operator==(const Line&) const = default;
};

// The lines of a text, kept in 16 bytes each (offsets within the line in 16 bits) so that a
// huge file of short lines costs little beyond its bytes; the rare line longer than 64 KB is
// kept whole beside them. Offsets are 32 bits: files are far smaller than 4 GB.
class Lines {
 public:
  std::size_t size() const { return packed_.size(); }
  bool empty() const { return packed_.empty(); }
  void reserve(std::size_t lines) { packed_.reserve(lines); }
  void push_back(const Line& line);
  Line operator[](std::size_t i) const;

 private:
  struct Packed {
    std::uint32_t begin;  // or, for a long line, its place in long_
    std::uint16_t content, nameBegin, nameEnd, valueBegin, valueEnd;  // from begin
    LineKind kind;
    std::uint8_t lineEnd;  // bytes of the line end, or kLong
  };
  static_assert(sizeof(Packed) == 16);
  static constexpr std::uint8_t kLong = 0xFF;
  std::vector<Packed> packed_;
  std::vector<Line> long_;
};

// The lines from a section header up to the next header. Region 0 holds the lines before
// the first header (section "") and has no header line.
struct Region {
  static constexpr std::size_t kNoHeader = static_cast<std::size_t>(-1);
  std::size_t headerLine = kNoHeader;
  std::size_t firstLine = 0;
  std::size_t endLine = 0;
  // Whether this is the first region of its name (only that one is looked into) and
  // whether it holds a key line.
  bool first = false;
  bool hasKeys = false;
};

struct Document {
  std::string bytes;                             // code page 1251
  FileEncoding encoding = FileEncoding::Cp1251;  // of the file the text came from
  Lines lines;
  std::vector<Region> regions;
  NameIndex sections;  // first region of each section name; "" -> region 0
  NameIndex keys;      // (region, key name) -> line of its first occurrence, first regions only
};

Document parse(std::string bytes);
// How many texts parse() has parsed in this process (lets tests see the cache at work).
std::size_t parseCount();

// Names as given by callers (UTF-8) become lookup keys: code page 1251, trimmed, folded.
std::string lookupKey(std::string_view utf8Name);

const Region* findSection(const Document& doc, std::string_view utf8Section);
// Lookups by names already turned into lookup keys (code page 1251, trimmed, folded).
std::optional<std::size_t> sectionIndex(const Document& doc, std::string_view foldedSection);
std::optional<std::size_t> keyLine(const Document& doc, std::size_t region,
                                   std::string_view foldedKey);
std::optional<Line> findKey(const Document& doc, std::string_view utf8Section,
                            std::string_view utf8Key);

// The line after which setValue puts a new key of `region`: its last non-blank line, or
// nullopt when it has none (then the key goes first).
std::optional<std::size_t> lastNonBlankLine(const Document& doc, const Region& region);

// Reads, all in UTF-8.
std::optional<std::string> value(const Document& doc, std::string_view section,
                                 std::string_view key);
// A raw value as read: one pair of enclosing quotes dropped, cut to 1023 characters, UTF-8.
std::string decodeValue(std::string_view raw);
bool hasSection(const Document& doc, std::string_view section);
std::vector<std::string> sectionNames(const Document& doc);
// Key names of the section in file order, first occurrence only.
std::vector<std::string> keyNames(const Document& doc, std::string_view section);

// One edit of a text: its bytes [begin, end) give way to `insert`.
struct Splice {
  std::size_t begin = 0, end = 0;
  std::string insert;
};
// The edited text as pieces of the old one; `doc` and `splice` must outlive them.
TextPieces piecesOf(const Document& doc, const Splice& splice);

// Edits as splices of the text, or nullopt when the file would not change. Names and values
// that could not be written back and read as given throw IniWriteError.
std::optional<Splice> setValueSplice(const Document& doc, std::string_view section,
                                     std::string_view key, std::string_view value);
std::optional<Splice> removeKeySplice(const Document& doc, std::string_view section,
                                      std::string_view key);
std::optional<Splice> removeSectionSplice(const Document& doc, std::string_view section);

// The same edits returning the new file bytes.
std::optional<std::string> setValue(const Document& doc, std::string_view section,
                                    std::string_view key, std::string_view value);
std::optional<std::string> removeKey(const Document& doc, std::string_view section,
                                     std::string_view key);
std::optional<std::string> removeSection(const Document& doc, std::string_view section);

// The checks setValue makes, on their own (IniEdit checks when a change is queued).
void checkWritable(std::string_view section, std::string_view key, std::string_view value);

}  // namespace tarvik::ini
