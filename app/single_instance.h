#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace tarvik {

class EventLog;

// What an attempt to take a lock came to: taken, held by another instance, or not possible
// at all (the file or folder cannot be made or opened; reason() says why).
enum class LockResult { Held, Busy, Unavailable };

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

  // Takes this instance's share of the lock, making the lock's folder when it is missing.
  // With `refuseIfRunning`, Busy (holding nothing) when another instance holds it.
  LockResult acquire(bool refuseIfRunning);
  bool held() const { return fd_ >= 0; }
  const std::filesystem::path& path() const { return file_; }
  const std::string& reason() const { return reason_; }

 private:
  std::filesystem::path file_;
  std::string reason_;
  int fd_ = -1;
};

// The program directory's own lock, held exclusively by the one instance that meters into it:
// whatever session or runtime folder a second instance comes from, it never books into the
// same files. Nothing is written into the directory; the lock sits on the directory itself.
class DirectoryLock {
 public:
  explicit DirectoryLock(std::filesystem::path dir);
  ~DirectoryLock();
  DirectoryLock(const DirectoryLock&) = delete;
  DirectoryLock& operator=(const DirectoryLock&) = delete;

  // Tries up to `attempts` times, calling `pause` between two tries: a restarted instance
  // waits here for the instance that started it to end.
  LockResult acquire(int attempts, const std::function<void()>& pause);
  bool held() const { return fd_ >= 0; }
  const std::filesystem::path& path() const { return dir_; }
  const std::string& reason() const { return reason_; }

 private:
  std::filesystem::path dir_;
  std::string reason_;
  int fd_ = -1;
};

// How long a restarted instance waits for its predecessor to leave the program directory.
inline constexpr int kDirectoryLockAttempts = 200;
inline constexpr int kDirectoryLockPauseMs = 50;

// Takes both locks for a start; false when the start must be refused. `joinRunning` is true
// for the program's own restarts and the autostart: they share the session lock and wait for
// the program directory (see kDirectoryLockAttempts). A lock that cannot be taken at all is
// logged and does not keep the program from starting.
bool takeInstanceLocks(InstanceLock& session, DirectoryLock& directory, bool joinRunning,
                       EventLog& log, const std::function<void()>& pause);

// The session lock file for `name`: in the session's runtime folder ($XDG_RUNTIME_DIR) when
// one is named, whether or not it exists yet, else in the user's own cache folder, where no
// other user can hold it.
std::filesystem::path instanceLockPath(std::string_view name);
std::filesystem::path instanceLockPath(std::string_view name, const char* runtimeDir,
                                       const std::filesystem::path& homeDir);

}  // namespace tarvik
