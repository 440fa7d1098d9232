#include "config/file_watch.h"

namespace tarvik {
namespace {

const FileWatch* installed = nullptr;

}  // namespace

void setFileWatch(const FileWatch* watch) {
  installed = watch;
}

std::optional<std::uint64_t> watchedVersion(const std::filesystem::path& file) {
  if (!installed) return std::nullopt;
  return installed->version(file);
}

bool ChangeSeen::mayHaveChanged(const std::filesystem::path& file) {
  const std::optional<std::uint64_t> now = watchedVersion(file);
  const bool changed = !now || !seen_ || *now != *seen_;
  seen_ = now;
  return changed;
}

bool WatchedExistence::exists(const std::filesystem::path& file) {
  if (seen_.mayHaveChanged(file)) {
    std::error_code ec;
    exists_ = std::filesystem::exists(file, ec);
  }
  return exists_;
}

}  // namespace tarvik
