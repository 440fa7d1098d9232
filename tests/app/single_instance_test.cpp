#include "app/single_instance.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fstream>
#include <iterator>
#include <thread>

#include "platform/event_log.h"
#include "platform/virtual_clock.h"
#include "support/temp_dir.h"

extern char** environ;

namespace tarvik {
namespace {

// Every InstanceLock opens the file on its own, so within one process they behave like the
// locks of separate instances.
class InstanceLockTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  std::filesystem::path file = dir.path() / "TRK_2_4_x.lock";
};

TEST_F(InstanceLockTest, SecondOrdinaryStartIsRefusedRestartsJoin) {
  InstanceLock first(file);
  ASSERT_EQ(first.acquire(true), LockResult::Held);
  EXPECT_TRUE(first.held());

  InstanceLock second(file);
  EXPECT_EQ(second.acquire(true), LockResult::Busy);
  EXPECT_FALSE(second.held());

  InstanceLock reboot(file);
  EXPECT_EQ(reboot.acquire(false), LockResult::Held);
  EXPECT_TRUE(reboot.held());
}

TEST_F(InstanceLockTest, RestartedInstanceStillBlocksOrdinaryStarts) {
  auto old = std::make_unique<InstanceLock>(file);
  ASSERT_EQ(old->acquire(true), LockResult::Held);
  InstanceLock replacement(file);
  ASSERT_EQ(replacement.acquire(false), LockResult::Held);
  old.reset();  // the old instance ends after starting its replacement

  InstanceLock ordinary(file);
  EXPECT_EQ(ordinary.acquire(true), LockResult::Busy);
}

TEST_F(InstanceLockTest, LockEndsWithTheLastInstance) {
  {
    InstanceLock only(file);
    ASSERT_EQ(only.acquire(true), LockResult::Held);
  }
  EXPECT_TRUE(std::filesystem::exists(file));  // a left-over file blocks nothing
  InstanceLock next(file);
  EXPECT_EQ(next.acquire(true), LockResult::Held);
}

// Waits (a bounded while) until the spawned `sleep` really sleeps. The kernel lets the parent
// of a spawn go on before the child has dropped its close-on-exec descriptors, and drops their
// locks only on the child's way back to user space.
void waitUntilAsleep(pid_t pid) {
  const std::string stat = "/proc/" + std::to_string(pid) + "/stat";
  for (int round = 0; round < 1000000; ++round) {
    std::ifstream in(stat);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    if (text.find("(sleep) S") != std::string::npos) return;
    std::this_thread::yield();
  }
}

TEST_F(InstanceLockTest, LaunchedProgramsDoNotInheritTheLock) {
  auto lock = std::make_unique<InstanceLock>(file);
  ASSERT_EQ(lock->acquire(true), LockResult::Held);
  auto directory = std::make_unique<DirectoryLock>(dir.path());
  ASSERT_EQ(directory->acquire(1, nullptr), LockResult::Held);
  pid_t child = 0;
  char sleepName[] = "sleep";
  char seconds[] = "30";
  char* argv[] = {sleepName, seconds, nullptr};
  ASSERT_EQ(::posix_spawnp(&child, "sleep", nullptr, nullptr, argv, environ), 0);
  lock.reset();
  directory.reset();
  waitUntilAsleep(child);

  InstanceLock next(file);
  const LockResult acquired = next.acquire(true);
  DirectoryLock nextDirectory(dir.path());
  const LockResult acquiredDirectory = nextDirectory.acquire(1, nullptr);
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  EXPECT_EQ(acquired, LockResult::Held);
  EXPECT_EQ(acquiredDirectory, LockResult::Held);
}

TEST_F(InstanceLockTest, AMissingFolderIsMadeAndAnImpossibleOneReported) {
  InstanceLock lock(dir.path() / "runtime" / "not-yet" / "TRK_2_4_x.lock");
  EXPECT_EQ(lock.acquire(true), LockResult::Held);
  EXPECT_EQ(std::filesystem::status(dir.path() / "runtime" / "not-yet").permissions(),
            std::filesystem::perms::owner_all);
  InstanceLock second(dir.path() / "runtime" / "not-yet" / "TRK_2_4_x.lock");
  EXPECT_EQ(second.acquire(true), LockResult::Busy);

  // A folder that can never be made (its parent is a file), even for root.
  std::ofstream(dir.path() / "plain-file") << "x";
  InstanceLock impossible(dir.path() / "plain-file" / "TRK_2_4_x.lock");
  EXPECT_EQ(impossible.acquire(true), LockResult::Unavailable);
  EXPECT_FALSE(impossible.held());
  EXPECT_FALSE(impossible.reason().empty());
}

TEST(InstanceLockPath, RuntimeFolderWhetherOrNotItExistsElseTheUsersOwnCache) {
  EXPECT_EQ(instanceLockPath("TRK_2_4_x", "/run/user/1000", "/home/a"),
            "/run/user/1000/TRK_2_4_x.lock");
  EXPECT_EQ(instanceLockPath("TRK_2_4_x", "/no/such/folder", "/home/a"),
            "/no/such/folder/TRK_2_4_x.lock");
  EXPECT_EQ(instanceLockPath("TRK_2_4_x", nullptr, "/home/a"), "/home/a/.cache/TRK_2_4_x.lock");
  EXPECT_EQ(instanceLockPath("TRK_2_4_x", "", "/home/b"), "/home/b/.cache/TRK_2_4_x.lock");
  EXPECT_EQ(instanceLockPath("TRK_2_4_x", nullptr, ""), "");
}

// Both locks together, as the entry point takes them.
class InstanceLocksTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  std::filesystem::path program = dir.path() / "prog";
  VirtualClock clock;
  EventLog log{dir.path() / "Tarvik.LOG", clock};
  int pauses = 0;

  void SetUp() override { std::filesystem::create_directory(program); }
  std::string logText() const {
    std::ifstream in(dir.path() / "Tarvik.LOG", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::filesystem::path sessionFile(const std::string& runtime) const {
    return dir.path() / runtime / "TRK_2_4_x.lock";
  }
};

TEST_F(InstanceLocksTest, OneInstancePerProgramDirectoryWhateverTheSession) {
  auto session = std::make_unique<InstanceLock>(sessionFile("run-a"));
  auto directory = std::make_unique<DirectoryLock>(program);
  ASSERT_TRUE(takeInstanceLocks(*session, *directory, false, log, nullptr));

  // A start from another runtime folder finds its session lock free, but not the directory.
  InstanceLock otherSession(sessionFile("run-b"));
  DirectoryLock sameDirectory(program);
  EXPECT_FALSE(takeInstanceLocks(otherSession, sameDirectory, false, log, nullptr));

  // A restart that its predecessor never leaves room for gives up after the waiting time.
  InstanceLock stuckSession(sessionFile("run-a"));
  DirectoryLock stuck(program);
  EXPECT_FALSE(takeInstanceLocks(stuckSession, stuck, true, log, [&] { ++pauses; }));
  EXPECT_EQ(pauses, kDirectoryLockAttempts - 1);

  // A restart joins the session at once and waits for the predecessor to end.
  pauses = 0;
  InstanceLock restartSession(sessionFile("run-a"));
  DirectoryLock restart(program);
  EXPECT_TRUE(takeInstanceLocks(restartSession, restart, true, log, [&] {
    if (++pauses == 3) {
      session.reset();
      directory.reset();
    }
  }));
  EXPECT_EQ(pauses, 3);
  EXPECT_TRUE(restartSession.held());
  EXPECT_TRUE(restart.held());
  EXPECT_EQ(logText(), "");  // nothing failed
}

TEST_F(InstanceLocksTest, LocksThatCannotBeTakenAreLoggedAndTheStartGoesOn) {
  std::ofstream(dir.path() / "plain-file") << "x";
  InstanceLock session(dir.path() / "plain-file" / "TRK_2_4_x.lock");
  DirectoryLock directory(dir.path() / "gone");
  EXPECT_TRUE(takeInstanceLocks(session, directory, false, log, nullptr));
  const std::string text = logText();
  EXPECT_EQ(text.find(" Failed. Instance lock not available: " +
                      (dir.path() / "plain-file" / "TRK_2_4_x.lock").string() + " ("),
            0u)
      << text;
  EXPECT_NE(text.find(".\r\n Failed. Instance lock not available: " +
                      (dir.path() / "gone").string() + " (No such file or directory).\r\n"),
            std::string::npos)
      << text;
}

}  // namespace
}  // namespace tarvik
