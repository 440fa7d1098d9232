#include "app/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace tarvik {
namespace {

int lockRetryingOnSignal(int fd, int operation) {
  int rc;
  do {
    rc = ::flock(fd, operation);
  } while (rc != 0 && errno == EINTR);
  return rc;
}

}  // namespace

InstanceLock::InstanceLock(std::filesystem::path file) : file_(std::move(file)) {}

InstanceLock::~InstanceLock() {
  if (fd_ >= 0) ::close(fd_);
}

bool InstanceLock::acquire(bool refuseIfRunning) {
  if (fd_ >= 0) return true;
  // O_CLOEXEC: programs this instance launches must not keep the lock alive after it ends.
  // O_NOFOLLOW: the fallback folder /tmp is shared with other users.
  const int fd = ::open(file_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return true;
  if (refuseIfRunning) {
    // Any other instance holds a shared lock, so an exclusive one is only granted when this
    // is the only instance. It is then turned into a shared one; Linux converts a flock while
    // holding the file's lock list, so no other start can take it exclusively in between.
    if (lockRetryingOnSignal(fd, LOCK_EX | LOCK_NB) != 0) {
      const bool busy = errno == EWOULDBLOCK;
      ::close(fd);
      return !busy;
    }
  }
  if (lockRetryingOnSignal(fd, LOCK_SH) != 0) {
    ::close(fd);
    return true;
  }
  fd_ = fd;
  return true;
}

std::filesystem::path instanceLockPath(std::string_view name, const char* runtimeDir,
                                       unsigned userId) {
  const std::string file(name);
  if (runtimeDir && *runtimeDir) {
    std::error_code ec;
    if (std::filesystem::is_directory(runtimeDir, ec)) {
      return std::filesystem::path(runtimeDir) / (file + ".lock");
    }
  }
  return std::filesystem::path("/tmp") / (file + "-" + std::to_string(userId) + ".lock");
}

std::filesystem::path instanceLockPath(std::string_view name) {
  return instanceLockPath(name, std::getenv("XDG_RUNTIME_DIR"), ::getuid());
}

}  // namespace tarvik
