#include "app/instance_door.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <memory>

#include <filesystem>
#include <future>

#include "support/temp_dir.h"

namespace tarvik {
namespace {

// Knocks on `door` from another thread while this one answers, as two instances would.
std::pair<bool, std::optional<std::string>> knockAndAnswer(InstanceDoor& door,
                                                           const std::filesystem::path& socket,
                                                           std::string_view request) {
  auto knocked = std::async(std::launch::async, [&] { return knock(socket, request, 2000); });
  pollfd p{door.fd(), POLLIN, 0};
  std::optional<std::string> answered;
  if (::poll(&p, 1, 2000) == 1)
    door.answer([&](std::string_view request) {
      answered = std::string(request);
      return request != "refused";  // as an inert instance does
    });
  return {knocked.get(), answered};
}

// A refused start reaches the running instance with its request; a door left by an instance
// that ended is replaced, and nobody answers a knock once the door is gone.
TEST(InstanceDoor, KnockReachesTheRunningInstance) {
  test::TempDir dir;
  const std::filesystem::path socket = instanceDoorPath(dir / "TRK_2_4_x.lock");

  EXPECT_FALSE(knock(socket, "show", 200));  // nobody runs
  {
    // An instance killed with -9 leaves its socket behind, which nobody answers.
    const int stale = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, socket.c_str());
    ASSERT_EQ(::bind(stale, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(stale);
    EXPECT_FALSE(knock(socket, "show", 200));

    auto first = std::make_unique<InstanceDoor>(socket);
    ASSERT_TRUE(first->open());
    EXPECT_EQ(knockAndAnswer(*first, socket, "settings"),
              std::make_pair(true, std::optional<std::string>("settings")));
    EXPECT_EQ(knockAndAnswer(*first, socket, "refused"),
              std::make_pair(false, std::optional<std::string>("refused")));
    // A restarted instance opens its own door before the old one has closed: closing the old
    // one leaves the new one's socket alone.
    InstanceDoor second(socket);
    ASSERT_TRUE(second.open());
    first.reset();
    EXPECT_EQ(knockAndAnswer(second, socket, "show"),
              std::make_pair(true, std::optional<std::string>("show")));
  }
  EXPECT_FALSE(std::filesystem::exists(socket));
  EXPECT_FALSE(knock(socket, "show", 200));
}

}  // namespace
}  // namespace tarvik
