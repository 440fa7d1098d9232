#pragma once

// The parsed copies of the INI files this process reads and writes, one per file, re-read
// only when the file on disk changed. Every reader and writer of an INI file goes through
// here, so a value just written is what the next read sees.

#include <filesystem>
#include <memory>
#include <string>

#include "config/ini_parse.h"

namespace tarvik::ini {

// The file as it is now; a missing or unreadable file reads as empty.
std::shared_ptr<const Document> loadForReading(const std::filesystem::path& path);
// The same, but a file that exists and cannot be read throws IniWriteError: replacing it
// with the edit of an empty text would lose it.
std::shared_ptr<const Document> loadForWriting(const std::filesystem::path& path);
// Replaces the file with `bytes` (code page 1251) stored in `encoding` (atomically;
// IniWriteError on failure) and keeps them as the file's copy.
void store(const std::filesystem::path& path, std::string bytes, FileEncoding encoding);
// The same with the new text in pieces (of a document the caller holds). A huge text is
// written straight from them and not kept: the next read reads the file again.
void store(const std::filesystem::path& path, const TextPieces& text, FileEncoding encoding);

}  // namespace tarvik::ini
