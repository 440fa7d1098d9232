#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace tarvik::test {

// FIFOs put where the code under test reads files. A reader that blocks on one is set free
// after a few seconds by opening the FIFO's other end, and the guard remembers it: a test
// checks blocked() instead of hanging for ever when the code under test waits on a FIFO.
class FifoGuard {
 public:
  FifoGuard() : watcher_([this] { watch(); }) {}
  ~FifoGuard() {
    {
      std::lock_guard lock(mutex_);
      done_ = true;
    }
    wake_.notify_all();
    watcher_.join();
  }
  FifoGuard(const FifoGuard&) = delete;
  FifoGuard& operator=(const FifoGuard&) = delete;

  // Makes a FIFO at `path` (replacing what is there).
  const std::filesystem::path& make(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
    if (::mkfifo(path.c_str(), 0644) != 0) throw std::runtime_error("mkfifo failed");
    std::lock_guard lock(mutex_);
    return fifos_.emplace_back(path);
  }
  // Whether a reader (or writer) had to be set free since the last call.
  bool blocked() {
    std::lock_guard lock(mutex_);
    const bool was = blocked_;
    blocked_ = false;
    return was;
  }

 private:
  void watch() {
    std::unique_lock lock(mutex_);
    while (!done_) {
      if (wake_.wait_for(lock, std::chrono::seconds(3), [this] { return done_; })) return;
      for (const auto& fifo : fifos_) {
        // Opening the write end only succeeds while a reader waits at the other: it is set
        // free with an empty read.
        const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (writer >= 0) {
          blocked_ = true;
          ::close(writer);
        }
        // A writer waiting at the other end is set free by opening the read end; what it
        // then writes shows that it waited.
        const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (reader < 0) continue;
        char buffer[4096];
        for (int i = 0; i < 50; ++i) {
          const ssize_t got = ::read(reader, buffer, sizeof buffer);
          if (got > 0) blocked_ = true;
          if (got == 0 && blocked_) break;
          std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ::close(reader);
      }
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  std::vector<std::filesystem::path> fifos_;
  bool blocked_ = false;
  bool done_ = false;
  std::thread watcher_;
};

}  // namespace tarvik::test
