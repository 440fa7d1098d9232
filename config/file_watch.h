#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

namespace tarvik {

// Something that is told when files change (the kernel's change notices, read in the event
// loop), so that a copy read earlier can be trusted without looking at the file again. The
// data files and the simulated line are read many times a second while online; a stat() of
// each on every read would cost more than the rest of the poll.
class FileWatch {
 public:
  virtual ~FileWatch() = default;
  // A number that moves whenever `file` may have changed (written, replaced, created, removed,
  // or its folder's notices were lost), or nullopt when nobody watches it: then only a look
  // at the file itself can tell.
  virtual std::optional<std::uint64_t> version(const std::filesystem::path& file) const = 0;
};

// The watch the whole process consults (nullptr: none, every reader looks at the file).
void setFileWatch(const FileWatch* watch);
std::optional<std::uint64_t> watchedVersion(const std::filesystem::path& file);

// Installs a watch for as long as it lives.
class FileWatchInstalled {
 public:
  explicit FileWatchInstalled(const FileWatch* watch) { setFileWatch(watch); }
  ~FileWatchInstalled() { setFileWatch(nullptr); }
  FileWatchInstalled(const FileWatchInstalled&) = delete;
  FileWatchInstalled& operator=(const FileWatchInstalled&) = delete;
};

// Remembers the version of one file at the last look: the file needs looking at again only
// when the version moved or there is no watch.
class ChangeSeen {
 public:
  // True when `file` may have changed since the last call that returned true. Call it right
  // before looking at the file: a change made after this call moves the version again.
  bool mayHaveChanged(const std::filesystem::path& file);

 private:
  std::optional<std::uint64_t> seen_;
};

// Whether a file exists, asked of the file system only after a change notice about it.
class WatchedExistence {
 public:
  bool exists(const std::filesystem::path& file);

 private:
  ChangeSeen seen_;
  bool exists_ = false;
};

}  // namespace tarvik
