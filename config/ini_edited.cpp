#include "config/ini_edited.h"

#include <algorithm>

#include "config/blanks.h"
#include "config/codepage.h"

namespace tarvik::ini {
namespace {

void trimValue(EditedLine& line) {
  while (line.valueBegin < line.valueEnd && isBlank(line.text[line.valueBegin])) ++line.valueBegin;
  while (line.valueEnd > line.valueBegin && isBlank(line.text[line.valueEnd - 1])) --line.valueEnd;
}

std::string_view rawValue(const EditedLine& line) {
  return std::string_view(line.text).substr(line.valueBegin, line.valueEnd - line.valueBegin);
}

std::string_view rawValue(const Document& doc, const Line& line) {
  return std::string_view(doc.bytes).substr(line.valueBegin, line.valueEnd - line.valueBegin);
}

EditedLine editable(const Document& doc, const Line& line) {
  EditedLine edited;
  edited.text = doc.bytes.substr(line.begin, line.contentEnd - line.begin);
  edited.nameEnd = line.nameEnd - line.begin;
  edited.valueBegin = line.valueBegin - line.begin;
  edited.valueEnd = line.valueEnd - line.begin;
  return edited;
}

// As setValue does it: everything before the old value (indentation, spelling, blanks
// around "=") stays, the value runs to the end of the line. A line whose value was blank
// gets the new value right after the "=".
void assign(EditedLine& line, const std::string& value) {
  const std::size_t start =
      line.valueBegin == line.valueEnd ? line.text.find('=', line.nameEnd) + 1 : line.valueBegin;
  line.text.replace(start, std::string::npos, value);
  line.valueBegin = start;
  line.valueEnd = line.text.size();
  trimValue(line);
}

EditedLine newKeyLine(const std::string& key, const std::string& value) {
  EditedLine line;
  line.text = key + "=" + value;
  line.nameEnd = key.size();
  line.valueBegin = key.size() + 1;
  line.valueEnd = line.text.size();
  trimValue(line);
  return line;
}

}  // namespace

EditedDocument::EditedDocument(std::shared_ptr<const Document> base) : base_(std::move(base)) {}

EditedDocument::Found EditedDocument::find(const std::string& sectionKey,
                                           const std::string& keyKey) const {
  const auto lookIn = [&keyKey](const AddedKeys& keys) -> Found {
    const auto it = keys.index.find(keyKey);
    return it == keys.index.end() ? Found{} : Found{&keys.lines[it->second], std::nullopt};
  };
  const auto section = sectionIndex(*base_, sectionKey);
  if (!section) {
    const auto added = addedSectionIndex_.find(sectionKey);
    return added == addedSectionIndex_.end() ? Found{} : lookIn(addedSections_[added->second].keys);
  }
  if (const auto key = keyLine(*base_, *section, keyKey)) {
    const auto changed = changedLines_.find(*key);
    if (changed != changedLines_.end()) return {&changed->second, std::nullopt};
    return {nullptr, base_->lines[*key]};
  }
  const auto added = addedKeys_.find(*section);
  return added == addedKeys_.end() ? Found{} : lookIn(added->second);
}

std::optional<std::string> EditedDocument::value(std::string_view section,
                                                 std::string_view key) const {
  const Found found = find(lookupKey(section), lookupKey(key));
  if (found.edited != nullptr) return decodeValue(rawValue(*found.edited));
  if (found.base) return decodeValue(rawValue(*base_, *found.base));
  return std::nullopt;
}

bool EditedDocument::setValue(std::string_view section, std::string_view key,
                              std::string_view value) {
  checkWritable(section, key, value);
  const std::string keyBytes(trimBlanks(utf8ToCp1251(key)));
  const std::string valueBytes = utf8ToCp1251(value);
  const std::string keyKey = cp1251Fold(keyBytes);
  const std::string sectionKey = lookupKey(section);

  const auto addTo = [&](AddedKeys& keys) {
    const auto it = keys.index.find(keyKey);
    if (it == keys.index.end()) {
      keys.index.emplace(keyKey, keys.lines.size());
      keys.lines.push_back(newKeyLine(keyBytes, valueBytes));
    } else {
      EditedLine& line = keys.lines[it->second];
      if (rawValue(line) == valueBytes) return false;
      assign(line, valueBytes);
    }
    changed_ = true;
    return true;
  };

  const auto section_ = sectionIndex(*base_, sectionKey);
  if (!section_) {
    auto added = addedSectionIndex_.find(sectionKey);
    if (added == addedSectionIndex_.end()) {
      added = addedSectionIndex_.emplace(sectionKey, addedSections_.size()).first;
      addedSections_.push_back({std::string(trimBlanks(utf8ToCp1251(section))), {}});
    }
    return addTo(addedSections_[added->second].keys);
  }
  const auto existing = keyLine(*base_, *section_, keyKey);
  if (!existing) return addTo(addedKeys_[*section_]);

  auto changed = changedLines_.find(*existing);
  if (changed == changedLines_.end()) {
    const Line& line = base_->lines[*existing];
    if (rawValue(*base_, line) == valueBytes) return false;
    changed = changedLines_.emplace(*existing, editable(*base_, line)).first;
  } else if (rawValue(changed->second) == valueBytes) {
    return false;
  }
  assign(changed->second, valueBytes);
  changed_ = true;
  return true;
}

bool EditedDocument::hasPending() const {
  return !changedLines_.empty() || !addedKeys_.empty() || !addedSections_.empty();
}

void EditedDocument::flatten() {
  if (!hasPending()) return;
  base_ = std::make_shared<const Document>(parse(bytes()));
  changedLines_.clear();
  addedKeys_.clear();
  addedSections_.clear();
  addedSectionIndex_.clear();
}

bool EditedDocument::removeKey(std::string_view section, std::string_view key) {
  const Found found = find(lookupKey(section), lookupKey(key));
  if (found.edited == nullptr && !found.base) return false;
  // Removing a line renumbers the lines after it and may bring a repeated key or section
  // to light; parsing the text again is the simple way to get that exactly right.
  flatten();
  auto bytes = ini::removeKey(*base_, section, key);
  if (!bytes) return false;
  base_ = std::make_shared<const Document>(parse(std::move(*bytes)));
  changed_ = true;
  return true;
}

bool EditedDocument::removeSection(std::string_view section) {
  const std::string sectionKey = lookupKey(section);
  if (!sectionIndex(*base_, sectionKey) && !addedSectionIndex_.contains(sectionKey)) {
    return false;
  }
  flatten();
  auto bytes = ini::removeSection(*base_, section);
  if (!bytes) return false;
  base_ = std::make_shared<const Document>(parse(std::move(*bytes)));
  changed_ = true;
  return true;
}

std::string EditedDocument::bytes() const {
  return pieces().joined();
}

TextPieces EditedDocument::pieces() const {
  const Document& doc = *base_;
  const std::string_view text = doc.bytes;
  // What happens where in the starting text, in file order. New keys of a section go after
  // its last non-blank line; a section without one (only the part before the first header
  // can be) gets them at the start.
  enum Kind { kBefore, kChange, kAfter };
  struct Event {
    std::size_t line;
    Kind kind;
    const void* what;
  };
  std::vector<Event> events;
  events.reserve(changedLines_.size() + addedKeys_.size());
  for (const auto& [line, edited] : changedLines_) events.push_back({line, kChange, &edited});
  for (const auto& [region, keys] : addedKeys_) {
    const auto anchor = lastNonBlankLine(doc, doc.regions[region]);
    events.push_back({anchor.value_or(0), anchor ? kAfter : kBefore, &keys});
  }
  std::sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
    return a.line != b.line ? a.line < b.line : a.kind < b.kind;
  });

  static constexpr std::string_view kLineEnd = "\r\n";
  TextPieces out;
  const auto emitKeys = [&out](const AddedKeys& keys) {
    for (const EditedLine& line : keys.lines) {
      out.add(line.text);
      out.add(kLineEnd);
    }
  };
  std::size_t copied = 0;  // bytes of the starting text already in `out`
  const auto copyTo = [&](std::size_t end) {
    out.add(text.substr(copied, end - copied));
    copied = end;
  };
  for (const Event& event : events) {
    if (event.kind == kBefore) {
      emitKeys(*static_cast<const AddedKeys*>(event.what));
      continue;
    }
    const Line line = doc.lines[event.line];
    if (event.kind == kChange) {
      copyTo(line.begin);
      out.add(static_cast<const EditedLine*>(event.what)->text);
      copied = line.contentEnd;  // the line end follows with the next copy
      continue;
    }
    copyTo(line.end);
    if (line.end == line.contentEnd) out.add(kLineEnd);  // the last line had no line end
    emitKeys(*static_cast<const AddedKeys*>(event.what));
  }
  copyTo(text.size());

  if (!addedSections_.empty() && !out.empty() && out.back() != '\n' && out.back() != '\r') {
    out.add(kLineEnd);
  }
  for (const AddedSection& section : addedSections_) {
    out.add("[");
    out.add(section.name);
    out.add("]\r\n");
    emitKeys(section.keys);
  }
  return out;
}

}  // namespace tarvik::ini
