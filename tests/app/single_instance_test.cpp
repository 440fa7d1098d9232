#include "app/single_instance.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

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
  ASSERT_TRUE(first.acquire(true));
  EXPECT_TRUE(first.held());

  InstanceLock second(file);
  EXPECT_FALSE(second.acquire(true));
  EXPECT_FALSE(second.held());

  InstanceLock reboot(file);
  EXPECT_TRUE(reboot.acquire(false));
  EXPECT_TRUE(reboot.held());
}

TEST_F(InstanceLockTest, RestartedInstanceStillBlocksOrdinaryStarts) {
  auto old = std::make_unique<InstanceLock>(file);
  ASSERT_TRUE(old->acquire(true));
  InstanceLock replacement(file);
  ASSERT_TRUE(replacement.acquire(false));
  old.reset();  // the old instance ends after starting its replacement

  InstanceLock ordinary(file);
  EXPECT_FALSE(ordinary.acquire(true));
}

TEST_F(InstanceLockTest, LockEndsWithTheLastInstance) {
  {
    InstanceLock only(file);
    ASSERT_TRUE(only.acquire(true));
  }
  EXPECT_TRUE(std::filesystem::exists(file));  // a left-over file blocks nothing
  InstanceLock next(file);
  EXPECT_TRUE(next.acquire(true));
}

TEST_F(InstanceLockTest, LaunchedProgramsDoNotInheritTheLock) {
  auto lock = std::make_unique<InstanceLock>(file);
  ASSERT_TRUE(lock->acquire(true));
  pid_t child = 0;
  char sleepName[] = "sleep";
  char seconds[] = "30";
  char* argv[] = {sleepName, seconds, nullptr};
  ASSERT_EQ(::posix_spawnp(&child, "sleep", nullptr, nullptr, argv, environ), 0);
  lock.reset();

  InstanceLock next(file);
  const bool acquired = next.acquire(true);
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  EXPECT_TRUE(acquired);
}

TEST_F(InstanceLockTest, UnusableLockFileDoesNotPreventStarting) {
  InstanceLock lock(dir.path() / "missing" / "TRK_2_4_x.lock");
  EXPECT_TRUE(lock.acquire(true));
  EXPECT_FALSE(lock.held());
}

TEST(InstanceLockPath, RuntimeFolderOrTmpWithUserId) {
  test::TempDir runtime;
  EXPECT_EQ(instanceLockPath("TRK_2_4_x", runtime.path().c_str(), 1000),
            runtime.path() / "TRK_2_4_x.lock");
  EXPECT_EQ(instanceLockPath("TRK_2_4_x", nullptr, 1000), "/tmp/TRK_2_4_x-1000.lock");
  EXPECT_EQ(instanceLockPath("TRK_2_4_x", "", 7), "/tmp/TRK_2_4_x-7.lock");
  EXPECT_EQ(instanceLockPath("TRK_2_4_x", "/no/such/folder", 7), "/tmp/TRK_2_4_x-7.lock");
}

}  // namespace
}  // namespace tarvik
