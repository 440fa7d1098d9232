#include "platform/linux/inotify_file_watch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>

namespace tarvik {
namespace {

// Everything that can give a name other contents: writes, truncation, replacement by rename,
// creation, removal, and permission changes (a file that can no longer be read reads as empty).
constexpr std::uint32_t kNoticeMask = IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB | IN_CREATE |
                                      IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF |
                                      IN_MOVE_SELF | IN_ONLYDIR;

// Names seen change by the thousand over a long run (temporary files of each replacement):
// past this many the folder starts afresh, all its files counted as changed once.
constexpr std::size_t kMaxNames = 1024;

std::string_view withoutTrailingSlash(std::string_view path) {
  while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
  return path;
}

}  // namespace

InotifyFileWatch::InotifyFileWatch() : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
  if (fd_ < 0) return;
  notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { readNotices(); });
}

InotifyFileWatch::~InotifyFileWatch() {
  notifier_.reset();
  if (fd_ >= 0) ::close(fd_);
}

bool InotifyFileWatch::watch(const std::filesystem::path& dir) {
  if (fd_ < 0) return false;
  const std::string path(withoutTrailingSlash(dir.native()));
  const int descriptor = ::inotify_add_watch(fd_, path.c_str(), kNoticeMask);
  if (descriptor < 0) return false;
  if (Folder* known = folderOf(descriptor)) {
    known->lost = ++counter_;  // the same folder under another name: keep one of them
    return true;
  }
  Folder folder;
  folder.descriptor = descriptor;
  folder.path = path;
  folders_.push_back(std::move(folder));
  return true;
}

InotifyFileWatch::Folder* InotifyFileWatch::folderOf(int descriptor) {
  for (Folder& folder : folders_)
    if (folder.descriptor == descriptor) return &folder;
  return nullptr;
}

std::optional<std::uint64_t> InotifyFileWatch::version(const std::filesystem::path& file) const {
  const std::string_view path = file.native();
  const std::size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) return std::nullopt;
  const std::string_view dir = withoutTrailingSlash(path.substr(0, slash == 0 ? 1 : slash));
  const std::string_view name = path.substr(slash + 1);
  if (name.empty() || name == "." || name == "..") return std::nullopt;
  for (const Folder& folder : folders_) {
    if (folder.path != dir) continue;
    const auto it = folder.changed.find(name);
    return std::max(folder.lost, it == folder.changed.end() ? 0 : it->second);
  }
  return std::nullopt;
}

void InotifyFileWatch::readNotices() {
  alignas(inotify_event) char buffer[16384];
  for (;;) {
    const ssize_t got = ::read(fd_, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return;
    for (ssize_t at = 0; at < got;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      if (event->mask & IN_Q_OVERFLOW) {
        // Notices were dropped: nothing read before can be trusted.
        for (Folder& folder : folders_) folder.lost = ++counter_;
        continue;
      }
      if (event->mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT)) {
        // The name no longer leads to the folder watched: back to looking at every read.
        if (!(event->mask & IN_IGNORED)) ::inotify_rm_watch(fd_, event->wd);
        std::erase_if(folders_, [&](const Folder& f) { return f.descriptor == event->wd; });
        continue;
      }
      Folder* folder = folderOf(event->wd);
      if (!folder) continue;
      if (event->len == 0) {
        folder->lost = ++counter_;
        continue;
      }
      const std::string_view name(event->name);
      const auto it = folder->changed.find(name);
      if (it != folder->changed.end()) {
        it->second = ++counter_;
      } else if (folder->changed.size() >= kMaxNames) {
        folder->changed.clear();
        folder->lost = ++counter_;
      } else {
        folder->changed.emplace(std::string(name), ++counter_);
      }
    }
  }
}

}  // namespace tarvik
