#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/file_replace.h"
#include "config/ini_write_error.h"

namespace tarvik {

namespace ini {
struct Document;
class EditedDocument;
struct NewText;
}  // namespace ini

// One INI file with the semantics of the Windows private-profile functions, the way every
// data file of the program is read and written. Texts are UTF-8 here and code page 1251 on
// disk. Section and key names compare without regard to case (Latin and Cyrillic). Reads of
// a missing file, section or key give the default. Every write replaces the file atomically.
// Parsed copies are cached per file and re-read only when the file on disk changed.
class IniDocument;

class IniFile {
 public:
  explicit IniFile(std::filesystem::path path);

  const std::filesystem::path& path() const { return path_; }
  bool exists() const;

  // Value of the key, cut to 1023 characters, or `def` when the key is missing.
  std::string readString(std::string_view section, std::string_view key,
                         std::string_view def = {}) const;
  // Integer by the program's rule: optional blanks and sign, decimal digits, or "0x"/"$"
  // hexadecimal; anything else (empty, "12abc", missing, a decimal beyond the int range)
  // gives `def`. Hexadecimal covers 32 bits: "$FFFFFFFF" is -1.
  int readInt(std::string_view section, std::string_view key, int def) const;
  bool hasKey(std::string_view section, std::string_view key) const;
  bool hasSection(std::string_view section) const;
  // Names as spelled in the file, in file order, first occurrence only.
  std::vector<std::string> sectionNames() const;
  std::vector<std::string> keyNames(std::string_view section) const;
  // The file as it is now, to read many keys without looking at the disk for each.
  IniDocument snapshot() const;

  // Each of these replaces the file once; throws IniWriteError on failure. A change that
  // leaves the file as it is (same value, missing key) does not touch the file at all.
  // Characters code page 1251 lacks are stored as '?'. One thread only.
  void writeString(std::string_view section, std::string_view key, std::string_view value);
  void writeInt(std::string_view section, std::string_view key, int value);
  void deleteKey(std::string_view section, std::string_view key);
  void deleteSection(std::string_view section);

 private:
  std::filesystem::path path_;
};

// Several changes to one file written as one replacement: nothing reaches the disk until
// commit(), which throws IniWriteError and leaves the old file intact on failure. A name or
// value that could not be written (see IniWriteError) is refused when it is queued.
class IniEdit {
 public:
  explicit IniEdit(const IniFile& file);
  ~IniEdit();
  IniEdit(const IniEdit&) = delete;
  IniEdit& operator=(const IniEdit&) = delete;

  IniEdit& writeString(std::string_view section, std::string_view key, std::string_view value);
  IniEdit& writeInt(std::string_view section, std::string_view key, int value);
  IniEdit& deleteKey(std::string_view section, std::string_view key);
  IniEdit& deleteSection(std::string_view section);
  // Everything the file holds goes, duplicate sections included: the changes queued after
  // this start from an empty text, so a whole file is written out in one pass.
  IniEdit& clear();
  // Reads look at the file once, not at every read: for a batch of many reads and writes that
  // nothing else changes the file during. The commit still applies the changes to the file as
  // it is then.
  IniEdit& pinReads();
  // Reads see the changes made so far in this edit.
  std::string readString(std::string_view section, std::string_view key,
                         std::string_view def = {}) const;
  int readInt(std::string_view section, std::string_view key, int def) const;
  // Writes the queued changes, applied to the file as it is now, as one replacement, and
  // starts again with an empty queue: the changes are in the file now, and applying them a
  // second time (a later commit or read) would repeat deletions. A failed commit keeps the
  // queue, so it may be retried.
  void commit();
  // Commits two edits of two files at one go: both new texts are written and flushed, then
  // renamed in this order, then their folder is flushed once. Each file is left old or new.
  static void commitTogether(IniEdit& first, IniEdit& second);

 private:
  struct State;
  std::optional<ini::NewText> prepareCommit();
  void committed();
  const ini::EditedDocument& current() const;
  std::filesystem::path path_;
  std::unique_ptr<State> state_;
};

// Read-only INI text held in memory (the built-in skins), read by the same rules as a file.
class IniDocument {
 public:
  // `cp1251Bytes`: the text as it would be stored in a file.
  explicit IniDocument(std::string_view cp1251Bytes);
  static IniDocument fromUtf8(std::string_view text);

  std::string readString(std::string_view section, std::string_view key,
                         std::string_view def = {}) const;
  int readInt(std::string_view section, std::string_view key, int def) const;
  bool hasKey(std::string_view section, std::string_view key) const;
  bool hasSection(std::string_view section) const;
  std::vector<std::string> sectionNames() const;
  std::vector<std::string> keyNames(std::string_view section) const;

 private:
  friend class IniFile;
  explicit IniDocument(std::shared_ptr<const ini::Document> doc) : doc_(std::move(doc)) {}
  std::shared_ptr<const ini::Document> doc_;
};

// The integer rule on its own, for texts that did not come from a file (edit fields).
int parseProfileInt(std::string_view text, int def);

}  // namespace tarvik
