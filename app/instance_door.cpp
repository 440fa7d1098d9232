#include "app/instance_door.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace tarvik {
namespace {

constexpr size_t kMaxLine = 64;
// A knock that connected but says nothing must not hold the running instance up.
constexpr int kReadTimeoutMs = 500;

bool makeAddress(const std::filesystem::path& socket, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  const std::string path = socket.string();
  if (path.empty() || path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size());
  return true;
}

// Reads one line ending in '\n' within `timeoutMs`; nullopt on timeout, end or junk.
std::optional<std::string> readLine(int fd, int timeoutMs) {
  using Clock = std::chrono::steady_clock;
  const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
  std::string line;
  while (line.size() < kMaxLine) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
    if (left <= 0) return std::nullopt;
    pollfd p{fd, POLLIN, 0};
    const int ready = ::poll(&p, 1, static_cast<int>(left));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return std::nullopt;
    char c = 0;
    const ssize_t n = ::read(fd, &c, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return std::nullopt;
    if (c == '\n') return line;
    line += c;
  }
  return std::nullopt;
}

bool writeAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = ::send(fd, text.data(), text.size(), MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    text.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

}  // namespace

InstanceDoor::~InstanceDoor() {
  if (fd_ < 0) return;
  ::close(fd_);
  // A successor may have made its own door here meanwhile; that one stays.
  struct stat st {};
  if (::lstat(socket_.c_str(), &st) == 0 && st.st_ino == inode_) ::unlink(socket_.c_str());
}

bool InstanceDoor::open() {
  sockaddr_un address{};
  if (!makeAddress(socket_, address)) return false;
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return false;
  // Only an instance that holds the locks opens a door, so what is there is left over.
  struct stat st {};
  if (::lstat(socket_.c_str(), &st) == 0 && S_ISSOCK(st.st_mode)) ::unlink(socket_.c_str());
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(fd, 4) != 0 || ::lstat(socket_.c_str(), &st) != 0) {
    ::close(fd);
    return false;
  }
  ::chmod(socket_.c_str(), 0600);
  fd_ = fd;
  inode_ = st.st_ino;
  return true;
}

void InstanceDoor::answer(const std::function<bool(std::string_view)>& take) {
  if (fd_ < 0) return;
  const int client = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
  if (client < 0) return;
  ucred peer{};
  socklen_t size = sizeof peer;
  if (::getsockopt(client, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::getuid()) {
    const std::optional<std::string> request = readLine(client, kReadTimeoutMs);
    if (request && take && take(*request)) writeAll(client, "ok\n");
  }
  ::close(client);
}

bool knock(const std::filesystem::path& socket, std::string_view request, int timeoutMs) {
  sockaddr_un address{};
  if (!makeAddress(socket, address)) return false;
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  bool taken = false;
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      writeAll(fd, std::string(request) + "\n")) {
    const std::optional<std::string> reply = readLine(fd, timeoutMs);
    taken = reply && *reply == "ok";
  }
  ::close(fd);
  return taken;
}

std::filesystem::path instanceDoorPath(const std::filesystem::path& lockPath) {
  if (lockPath.empty()) return {};
  std::filesystem::path door = lockPath;
  door.replace_extension(".door");
  return door;
}

std::string_view doorRequest(std::string_view firstArgument) {
  return firstArgument == kSettingsArgument ? kSettingsRequest : kShowRequest;
}

}  // namespace tarvik
