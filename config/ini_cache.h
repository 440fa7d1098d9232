#pragma once

// The parsed copies of the INI files this process reads and writes, one per file, re-read
// only when the file on disk changed. Every reader and writer of an INI file goes through
// here, so a value just written is what the next read sees.

#include <filesystem>
#include <memory>
#include <span>
#include <string>

#include "config/ini_parse.h"

namespace tarvik::ini {

// The file as it is now; a missing or unreadable file reads as empty.
std::shared_ptr<const Document> loadForReading(const std::filesystem::path& path);
// The same, but a file that exists and cannot be read throws IniWriteError: replacing it
// with the edit of an empty text would lose it.
std::shared_ptr<const Document> loadForWriting(const std::filesystem::path& path);
// Replaces the file with `text` (code page 1251) stored in `encoding` (atomically;
// IniWriteError on failure). A small text is kept as the file's copy; a huge one is written
// straight from its pieces (of a document the caller holds) and not kept: the next read reads
// the file again.
void store(const std::filesystem::path& path, TextPieces text, FileEncoding encoding);

struct NewText {
  std::filesystem::path path;
  TextPieces text;
  FileEncoding encoding;
};
// Several files replaced at one go (replaceFiles: one flush of their folder), each kept as
// store() keeps it. On failure none of them keeps a copy: some may be new on disk.
void storeTogether(std::span<const NewText> files);

}  // namespace tarvik::ini
