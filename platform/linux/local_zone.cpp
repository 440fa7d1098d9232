#include "platform/linux/local_zone.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <QSocketNotifier>

#include <cstdlib>
#include <ctime>

namespace tarvik {

namespace {

// Two spellings of the same zone file: the C library reads the zone again only when TZ
// differs from what it saw last (a leading ":" is not counted), so a change switches from one
// to the other.
std::string pinned(const std::filesystem::path& file) {
  return ':' + file.string();
}

std::string respelled(const std::filesystem::path& file) {
  return ':' + (file.parent_path() / "." / file.filename()).string();
}

bool pinnedHere(const std::filesystem::path& file) {
  const char* tz = std::getenv("TZ");
  return tz != nullptr && (tz == pinned(file) || tz == respelled(file));
}

}  // namespace

bool readLocalZoneOnce(const std::filesystem::path& file) {
  if (std::getenv("TZ") != nullptr) return false;
  ::setenv("TZ", pinned(file).c_str(), 1);
  ::tzset();
  return true;
}

LocalZoneWatch::LocalZoneWatch(std::filesystem::path file) : file_(std::move(file)) {
  if (!pinnedHere(file_)) return;
  fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (fd_ < 0) return;
  // The folder, not the file: the zone is usually changed by replacing a symbolic link.
  const std::string dir = file_.parent_path().string();
  if (::inotify_add_watch(fd_, dir.c_str(),
                          IN_CREATE | IN_MOVED_TO | IN_CLOSE_WRITE | IN_DELETE | IN_ATTRIB) < 0) {
    ::close(fd_);
    fd_ = -1;
    return;
  }
  notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { readNotices(); });
}

LocalZoneWatch::~LocalZoneWatch() {
  notifier_.reset();
  if (fd_ >= 0) ::close(fd_);
}

void LocalZoneWatch::readNotices() {
  if (fd_ < 0) return;
  const std::string name = file_.filename().string();
  bool changed = false;
  alignas(inotify_event) char buffer[4096];
  for (;;) {
    const ssize_t got = ::read(fd_, buffer, sizeof buffer);
    if (got <= 0) break;
    for (ssize_t at = 0; at < got;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
      changed =
          changed || (event->mask & IN_Q_OVERFLOW) != 0 || (event->len > 0 && name == event->name);
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
  }
  if (!changed || !pinnedHere(file_)) return;
  const char* tz = std::getenv("TZ");
  const std::string other = tz == pinned(file_) ? respelled(file_) : pinned(file_);
  ::setenv("TZ", other.c_str(), 1);
  ::tzset();
}

}  // namespace tarvik
