#pragma once

#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

#include "config/file_stamp.h"
#include "config/text_pieces.h"

namespace tarvik {

// What a replacement left on disk: the file actually replaced (the target of a symbolic
// link), its stamp just after the rename, and the file clock just before it.
struct Replacement {
  std::filesystem::path path;
  FileStamp stamp;
  long long takenAtNs = 0;
};

// Replaces the file with `bytes` so that a crash or a power loss at any moment leaves either
// the old or the new file, never a mix. Throws IniWriteError and leaves the old file (and no
// temporary file) behind on failure; a read-only file is never replaced.
// Safe to call from more than one thread (for different files).
Replacement replaceFile(const std::filesystem::path& requested, std::string_view bytes);
// The same with the new text in pieces, written one after the other.
Replacement replaceFile(const std::filesystem::path& requested, const TextPieces& text);

struct FileText {
  std::filesystem::path path;
  const TextPieces* text;
};
// Replaces several files at one go: all new texts are written and flushed, then renamed over
// their files in order, then each folder is flushed once. Each file is left old or new; on a
// failure the files before the failing rename are new, the rest old, and no temporary file
// stays behind.
std::vector<Replacement> replaceFiles(std::span<const FileText> files);

// Whether a write to `path` could replace it now: the same checks the writers make first
// (a read-only file, a folder that takes no new file), without writing anything.
bool canReplaceFile(const std::filesystem::path& path);

}  // namespace tarvik
