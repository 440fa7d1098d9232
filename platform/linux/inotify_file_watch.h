#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "config/file_watch.h"

class QSocketNotifier;

namespace tarvik {

// The kernel's change notices (inotify) about the files in a few folders, read in the event
// loop whenever some arrive, so that asking whether a file changed costs no system call.
// A folder whose notices cannot be trusted any more (it was removed or moved away) is no
// longer watched: its files are looked at on every read again.
class InotifyFileWatch final : public FileWatch {
 public:
  InotifyFileWatch();
  ~InotifyFileWatch() override;
  InotifyFileWatch(const InotifyFileWatch&) = delete;
  InotifyFileWatch& operator=(const InotifyFileWatch&) = delete;

  // Watches the files directly in `dir`; false when the folder cannot be watched.
  bool watch(const std::filesystem::path& dir);
  std::optional<std::uint64_t> version(const std::filesystem::path& file) const override;

  // Reads the notices that arrived (the event loop calls it; tests call it directly).
  void readNotices();

 private:
  struct StringHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  struct Folder {
    int descriptor = -1;
    std::string path;
    std::uint64_t lost = 0;  // all its files count as changed from here
    std::unordered_map<std::string, std::uint64_t, StringHash, std::equal_to<>> changed;
  };
  Folder* folderOf(int descriptor);

  int fd_ = -1;
  std::uint64_t counter_ = 1;
  std::vector<Folder> folders_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace tarvik
