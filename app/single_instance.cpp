#include "app/single_instance.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>

#include "platform/event_log.h"

namespace tarvik {
namespace {

int lockRetryingOnSignal(int fd, int operation) {
  int rc;
  do {
    rc = ::flock(fd, operation);
  } while (rc != 0 && errno == EINTR);
  return rc;
}

std::string errnoText(int error) {
  return std::strerror(error);
}

// Makes the lock's folder when it is missing, private to this user as a runtime folder is.
bool makeFolder(const std::filesystem::path& folder, std::string& reason) {
  std::error_code ec;
  if (std::filesystem::is_directory(folder, ec)) return true;
  if (!std::filesystem::create_directories(folder, ec) && ec) {
    reason = ec.message();
    return false;
  }
  ::chmod(folder.c_str(), 0700);
  return true;
}

void logUnavailable(EventLog& log, const std::filesystem::path& path, const std::string& reason) {
  log.append(" Failed. Instance lock not available: " + path.string() + " (" + reason + ").");
}

}  // namespace

InstanceLock::InstanceLock(std::filesystem::path file) : file_(std::move(file)) {}

InstanceLock::~InstanceLock() {
  if (fd_ >= 0) ::close(fd_);
}

LockResult InstanceLock::acquire(bool refuseIfRunning) {
  if (fd_ >= 0) return LockResult::Held;
  if (file_.empty()) {
    reason_ = "no folder for it";
    return LockResult::Unavailable;
  }
  if (!makeFolder(file_.parent_path(), reason_)) return LockResult::Unavailable;
  // Read access is all a lock needs, so a lock file left in a folder that became read-only
  // still works. O_CLOEXEC: programs this instance launches must not keep the lock alive
  // after it ends. O_NOFOLLOW: nobody redirects the lock elsewhere through a link.
  const int fd = ::open(file_.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) {
    reason_ = errnoText(errno);
    return LockResult::Unavailable;
  }
  if (refuseIfRunning) {
    // Any other instance holds a shared lock, so an exclusive one is only granted when this
    // is the only instance. It is then turned into a shared one; Linux converts a flock while
    // holding the file's lock list, so no other start can take it exclusively in between.
    if (lockRetryingOnSignal(fd, LOCK_EX | LOCK_NB) != 0) {
      const int error = errno;
      ::close(fd);
      if (error == EWOULDBLOCK) return LockResult::Busy;
      reason_ = errnoText(error);
      return LockResult::Unavailable;
    }
  }
  if (lockRetryingOnSignal(fd, LOCK_SH) != 0) {
    reason_ = errnoText(errno);
    ::close(fd);
    return LockResult::Unavailable;
  }
  fd_ = fd;
  return LockResult::Held;
}

DirectoryLock::DirectoryLock(std::filesystem::path dir) : dir_(std::move(dir)) {}

DirectoryLock::~DirectoryLock() {
  if (fd_ >= 0) ::close(fd_);
}

LockResult DirectoryLock::acquire(int attempts, const std::function<void()>& pause) {
  if (fd_ >= 0) return LockResult::Held;
  const int fd = ::open(dir_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    reason_ = errnoText(errno);
    return LockResult::Unavailable;
  }
  for (int attempt = 1;; ++attempt) {
    if (lockRetryingOnSignal(fd, LOCK_EX | LOCK_NB) == 0) {
      fd_ = fd;
      return LockResult::Held;
    }
    const int error = errno;
    if (error != EWOULDBLOCK) {
      reason_ = errnoText(error);
      ::close(fd);
      return LockResult::Unavailable;
    }
    if (attempt >= attempts) break;
    if (pause) pause();
  }
  ::close(fd);
  return LockResult::Busy;
}

bool takeInstanceLocks(InstanceLock& session, DirectoryLock& directory, bool joinRunning,
                       EventLog& log, const std::function<void()>& pause) {
  switch (session.acquire(!joinRunning)) {
    case LockResult::Busy:
      return false;
    case LockResult::Unavailable:
      logUnavailable(log, session.path(), session.reason());
      break;
    case LockResult::Held:
      break;
  }
  switch (directory.acquire(joinRunning ? kDirectoryLockAttempts : 1, pause)) {
    case LockResult::Busy:
      return false;
    case LockResult::Unavailable:
      logUnavailable(log, directory.path(), directory.reason());
      break;
    case LockResult::Held:
      break;
  }
  return true;
}

std::filesystem::path instanceLockPath(std::string_view name, const char* runtimeDir,
                                       const std::filesystem::path& homeDir) {
  const std::string file = std::string(name) + ".lock";
  if (runtimeDir && *runtimeDir) return std::filesystem::path(runtimeDir) / file;
  if (homeDir.empty()) return {};
  return homeDir / ".cache" / file;
}

std::filesystem::path instanceLockPath(std::string_view name) {
  std::filesystem::path home;
  if (const char* env = std::getenv("HOME"); env && *env) {
    home = env;
  } else if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir) {
    home = user->pw_dir;
  }
  return instanceLockPath(name, std::getenv("XDG_RUNTIME_DIR"), home);
}

}  // namespace tarvik
