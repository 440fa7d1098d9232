#pragma once

#include <filesystem>
#include <string_view>

namespace tarvik {

// One running instance per user session, the way a named mutex held by every instance
// behaves: each running instance holds a shared lock on one file for its whole life, so the
// lock disappears with the last instance, however it ended (even kill -9). An ordinary start
// is refused while any other instance holds the lock; restarts ("/reboot", "/reinitialize")
// and the autostart ("/auto") join without asking.
class InstanceLock {
 public:
  explicit InstanceLock(std::filesystem::path file);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // Takes this instance's share of the lock. With `refuseIfRunning`, returns false (and holds
  // nothing) when another instance holds it. When the lock file cannot be used at all the
  // start is let through: a broken lock must not keep the program from ever starting.
  bool acquire(bool refuseIfRunning);
  bool held() const { return fd_ >= 0; }
  const std::filesystem::path& path() const { return file_; }

 private:
  std::filesystem::path file_;
  int fd_ = -1;
};

// The lock file for `name`: in the session's runtime folder ($XDG_RUNTIME_DIR), or in /tmp
// with the user id in the name when there is none.
std::filesystem::path instanceLockPath(std::string_view name);
std::filesystem::path instanceLockPath(std::string_view name, const char* runtimeDir,
                                       unsigned userId);

}  // namespace tarvik
