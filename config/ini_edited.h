#pragma once

// Many changes to one parsed INI text at a time (IniEdit): each change costs a lookup, not a
// pass over the file, and the edited text is written out in one pass at the end.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "config/ini_parse.h"
#include "config/text_pieces.h"

namespace tarvik::ini {

// A key line written during the edit: its text without the line end, and where its
// trimmed name ends and its trimmed value lies in that text.
struct EditedLine {
  std::string text;
  std::size_t nameEnd = 0;
  std::size_t valueBegin = 0, valueEnd = 0;
};

// A parsed text with changes laid over it. The result is byte for byte what applying the
// same changes one at a time with setValue/removeKey/removeSection gives. Writes never move
// the stored text: a changed line is kept aside by its line number, a new key is kept with
// the section it joins. A deletion (rare) writes the pending text out and parses it again.
class EditedDocument {
 public:
  explicit EditedDocument(std::shared_ptr<const Document> base);

  // Each returns whether the text changed. Names and values are UTF-8; setValue throws
  // IniWriteError for what setValue() would refuse.
  bool setValue(std::string_view section, std::string_view key, std::string_view value);
  bool removeKey(std::string_view section, std::string_view key);
  bool removeSection(std::string_view section);

  // Reads see the changes; same rules as ini::value().
  std::optional<std::string> value(std::string_view section, std::string_view key) const;

  // Whether any change took effect (a value written back to what it was counts).
  bool changed() const { return changed_; }
  // The edited text, written out in one pass.
  std::string bytes() const;
  // The same as pieces of the starting text and of the changes, valid while this edit lives
  // unchanged.
  TextPieces pieces() const;

 private:
  // New keys of one section, in the order they were added.
  struct AddedKeys {
    std::vector<EditedLine> lines;
    std::unordered_map<std::string, std::size_t> index;  // folded key -> lines[i]
  };
  struct AddedSection {
    std::string name;  // code page 1251, as written in the header
    AddedKeys keys;
  };
  // The line a key lives on now: a changed or new line, or nullptr with `base` set to the
  // untouched line of the starting text.
  struct Found {
    const EditedLine* edited = nullptr;
    std::optional<Line> base;
  };

  Found find(const std::string& sectionKey, const std::string& keyKey) const;
  bool hasPending() const;
  void flatten();

  std::shared_ptr<const Document> base_;
  std::unordered_map<std::size_t, EditedLine> changedLines_;  // line number -> new text
  std::unordered_map<std::size_t, AddedKeys> addedKeys_;      // region -> new keys
  std::vector<AddedSection> addedSections_;
  std::unordered_map<std::string, std::size_t> addedSectionIndex_;  // folded name -> index
  bool changed_ = false;
};

}  // namespace tarvik::ini
