#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tarvik {

// The running instance's door for later starts: a local socket beside the session lock. A
// start that the one-instance rule refuses knocks and asks the running instance to show its
// status window (or its settings dialog) instead of only saying that it runs.
//
// The protocol is one line each way: the request ("show" or "settings"), then "ok" once the
// running instance has done it.
class InstanceDoor {
 public:
  explicit InstanceDoor(std::filesystem::path socket) : socket_(std::move(socket)) {}
  ~InstanceDoor();
  InstanceDoor(const InstanceDoor&) = delete;
  InstanceDoor& operator=(const InstanceDoor&) = delete;

  // Listens, replacing a socket an ended instance left behind. False when it cannot.
  bool open();
  // The listening descriptor to watch for knocks; -1 when closed.
  int fd() const { return fd_; }
  // Takes one knock and hands its request to `take`; answers "ok" when `take` returns true,
  // else closes without an answer, so that the knocking start says that the program runs.
  // Knocks that ask nothing readable or come from another user reach nobody.
  void answer(const std::function<bool(std::string_view request)>& take);

 private:
  std::filesystem::path socket_;
  int fd_ = -1;
  unsigned long inode_ = 0;  // of the socket made here, so that only ours is removed
};

// A later start's knock: true when the running instance took `request` within `timeoutMs`.
bool knock(const std::filesystem::path& socket, std::string_view request, int timeoutMs);

// The door beside the session lock file `lockPath`.
std::filesystem::path instanceDoorPath(const std::filesystem::path& lockPath);

// What a refused start asks for: its settings dialog for "/settings", else its status window.
std::string_view doorRequest(std::string_view firstArgument);

inline constexpr std::string_view kShowRequest = "show";
inline constexpr std::string_view kSettingsRequest = "settings";
inline constexpr std::string_view kSettingsArgument = "/settings";

}  // namespace tarvik
