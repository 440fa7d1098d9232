#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <random>

#include "platform/sim_line.h"
#include "support/temp_dir.h"

namespace tarvik {
namespace {

constexpr int kCycles = 1000;
// How many of its own looks the program may take before a dial counts as not noticed.
constexpr int kLooksBeforeMissed = 2000;

// What the two processes tell each other, in memory both see.
struct Shared {
  std::atomic<bool> toolDone{false};
  std::atomic<int> programLooks{0};
  std::atomic<std::uint64_t> lastNoticed{0};
  std::atomic<int> missed{0};
  std::atomic<bool> hungUpByProgram[kCycles + 2];
};

void spin(std::mt19937& random, int most) {
  std::atomic<int> sink{0};
  for (int n = static_cast<int>(random() % most); n > 0; --n) sink.fetch_add(1);
}

// tarvik-line's part: dial, wait until the program notices the call (or gives up), hang
// up, at random intervals. A call that vanished without the program hanging it up, or that
// the program did not see within its budget of looks, is a missed transition.
void playTheTool(const std::filesystem::path& file, Shared& shared) {
  SimLine line(file, SimLine::systemNowMs);
  std::mt19937 random(11);
  for (int i = 0; i < kCycles; ++i) {
    const std::uint64_t handle = line.dial("Work", "Modem", 0, false);
    const int looksAtDial = shared.programLooks.load();
    bool missed = false;
    while (shared.lastNoticed.load() < handle) {
      // The program may look thousands of times while this process reads the file once:
      // its looks are counted before the read, and it may have noticed the call meanwhile.
      const int looks = shared.programLooks.load() - looksAtDial;
      const auto live = line.liveCalls();
      if (shared.lastNoticed.load() >= handle) break;
      const bool gone = live.empty() || live.front().handle != handle;
      if ((gone && !shared.hungUpByProgram[handle].load()) || looks > kLooksBeforeMissed) {
        missed = true;
        break;
      }
    }
    spin(random, 20000);
    line.hangUpAll();
    if (missed) shared.missed.fetch_add(1);
    spin(random, 20000);
  }
  shared.toolDone = true;
}

// The program's part: looks at the line the way the probe does, one look after another,
// and now and then hangs up the call it sees, as the automatic hang-up does.
void playTheProgram(const std::filesystem::path& file, Shared& shared) {
  SimLine line(file, SimLine::systemNowMs);
  std::mt19937 random(5);
  while (!shared.toolDone.load()) {
    const auto connections = line.activeConnections();
    if (connections.size() == 1 && line.connectionState(connections.front().handle) ==
                                       std::optional<std::int32_t>(kRasConnected)) {
      const std::uint64_t handle = connections.front().handle;
      if (handle > shared.lastNoticed.load()) shared.lastNoticed = handle;
      if (random() % 3 == 0 && handle <= kCycles + 1) {
        shared.hungUpByProgram[handle] = true;
        line.hangUp(handle);
      }
    }
    shared.programLooks.fetch_add(1);
  }
}

// Two processes share the simulated line's file as tarvik-line and the program do: every
// dial must reach the program, even when the program hangs up the previous call at that
// very moment or reads the file while it is being replaced.
TEST(SimLineSharing, ThousandsOfDialsWhileTheProgramWatchesAndHangsUpAreAllNoticed) {
  test::TempDir dir;
  const auto file = SimLine::fileIn(dir.path());
  SimLine(file, SimLine::systemNowMs).addEntry("Work");

  void* memory =
      ::mmap(nullptr, sizeof(Shared), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(memory, MAP_FAILED);
  auto* shared = new (memory) Shared;

  const pid_t tool = ::fork();
  ASSERT_GE(tool, 0);
  if (tool == 0) {
    playTheTool(file, *shared);
    ::_exit(0);
  }
  playTheProgram(file, *shared);
  int status = 0;
  ASSERT_EQ(::waitpid(tool, &status, 0), tool);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

  EXPECT_EQ(shared->missed.load(), 0);
  EXPECT_EQ(shared->lastNoticed.load(), static_cast<std::uint64_t>(kCycles));
  EXPECT_GT(shared->programLooks.load(), kCycles);
  ::munmap(memory, sizeof(Shared));
}

}  // namespace
}  // namespace tarvik
