#pragma once

// Every file the program reads is opened the same way: without blocking, and checked on the
// open descriptor to be a regular file. A FIFO, a device or a link to one put in place of a
// data file, a skin picture or a sound (a downloaded skin archive can hold any of them) is
// refused instead of hanging the reading thread in open() or read() for ever.

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace tarvik {

// No data file of the program comes near this; anything bigger is not one of ours.
inline constexpr std::uint64_t kMaxDataFileBytes = std::uint64_t{256} << 20;

struct FileRead {
  std::string bytes;
  // 0 when read; otherwise the errno of the failure: ENOENT (or ENOTDIR) for a missing file,
  // EISDIR for anything but a regular file, EFBIG for a file over the cap.
  int error = 0;
  // The file's status after the last byte was read (valid when error is 0).
  struct stat status {};
};

// Reads the whole file, at most `maxBytes` (a file that grows past it while read is refused
// too; files whose size the system does not know, such as those of /proc, are read to their end).
FileRead readRegularFile(const std::filesystem::path& path,
                         std::uint64_t maxBytes = kMaxDataFileBytes);

// Opens `path` with `flags` (O_RDONLY, or O_WRONLY | O_APPEND with O_CREAT) as a regular file
// only: the descriptor, or -1 with errno set (EISDIR for anything but a regular file).
int openRegularFile(const std::filesystem::path& path, int flags, mode_t mode = 0644);

// Whether the regular file at `path` holds exactly `expected`, compared as it is read (no copy
// of the file in memory); `status` is then the file's status after the last byte.
bool regularFileHolds(const std::filesystem::path& path, std::string_view expected,
                      struct stat& status);

// Whether `path` is a regular file now, asked without blocking even when it is a FIFO.
bool isRegularFile(const std::filesystem::path& path);

// A short readable reason for a FileRead error.
std::string readErrorText(int error);

}  // namespace tarvik
