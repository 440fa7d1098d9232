#pragma once

#include <filesystem>
#include <string_view>

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

// Whether a write to `path` could replace it now: the same checks the writers make first
// (a read-only file, a folder that takes no new file), without writing anything.
bool canReplaceFile(const std::filesystem::path& path);

}  // namespace tarvik
