#pragma once

#include <sys/stat.h>

#include <ctime>
#include <filesystem>
#include <optional>

namespace tarvik {

// Identity and last modification of a file as one stat() sees it: the cheap test of whether
// a copy read earlier may still be the file's contents.
struct FileStamp {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec modified{};
  timespec changed{};

  static FileStamp of(const struct stat& st);
  // The stamp of the file at `path` as it is now, or nullopt when it cannot be looked at.
  static std::optional<FileStamp> at(const std::filesystem::path& path);

  bool operator==(const FileStamp& other) const;
};

}  // namespace tarvik
