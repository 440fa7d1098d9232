#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <string>
#include <thread>

#include "config/ini_file.h"
#include "support/temp_dir.h"

namespace tarvik {
namespace {

constexpr int kBatchKeys = 12;

// Writes forever: single keys and batches, each batch giving every key the same generation.
// Reports on `progress` that it started and each time it finished a round.
[[noreturn]] void writeForever(const std::filesystem::path& path, int progress) {
  IniFile ini(path);
  int generation = ini.readInt("Batch", "B0", 0);
  const auto report = [progress] { (void)!::write(progress, "+", 1); };
  report();
  for (;;) {
    ++generation;
    IniEdit batch(ini);
    for (int i = 0; i < kBatchKeys; ++i) {
      batch.writeInt("Batch", "B" + std::to_string(i), generation);
    }
    batch.writeString("Batch", "Note", "пакет " + std::to_string(generation));
    batch.commit();
    ini.writeInt("Single", "Gen", generation);
    ini.writeString("Single", "Text", std::string(static_cast<std::size_t>(generation % 97), 'x'));
    report();
  }
}

// Never leaves a writer running when an assertion ends the test early.
struct KillOnExit {
  pid_t pid = 0;
  ~KillOnExit() {
    if (pid > 0) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
    }
  }
};

// Kills the writer at random moments, a few hundred times: after every kill the file
// parses and holds one complete state, never a mix or a torn write.
TEST(IniCrashSafety, FileIsAlwaysCompleteAfterSigkill) {
  test::TempDir dir;
  const auto path = dir / "TarvikC.Kfg";
  std::mt19937 random(20261207);
  long roundUs = 4000;
  int lastGeneration = 0;
  int sawFile = 0;
  bool sawText = false;
  int lastSingle = 0;

  for (int round = 0; round < 250; ++round) {
    int progress[2];
    ASSERT_EQ(::pipe2(progress, O_CLOEXEC), 0);
    ASSERT_EQ(::fcntl(progress[1], F_SETFL, O_NONBLOCK), 0);  // the writer never waits
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) writeForever(path, progress[1]);
    KillOnExit guard{child};
    ::close(progress[1]);
    // Wait until the writer runs, and now and then until it finished a round, so that it
    // makes progress however slow the machine (or a sanitizer) makes it. The kill lands
    // anywhere within about one round of writes, as long as a round takes here.
    char mark = 0;
    ASSERT_EQ(::read(progress[0], &mark, 1), 1);
    if (round % 5 == 0) {
      const auto start = std::chrono::steady_clock::now();
      ASSERT_EQ(::read(progress[0], &mark, 1), 1);
      const auto took = std::chrono::duration_cast<std::chrono::microseconds>(
          std::chrono::steady_clock::now() - start);
      roundUs = std::clamp<long>(static_cast<long>(took.count()), 1000, 15000);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(random() % (roundUs + 1)));
    ASSERT_EQ(::kill(child, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    guard.pid = 0;
    ASSERT_TRUE(WIFSIGNALED(status));
    ::close(progress[0]);

    const IniFile ini(path);
    if (!ini.exists()) {
      ASSERT_EQ(lastGeneration, 0) << "the file vanished";
      continue;
    }
    ++sawFile;
    const int generation = ini.readInt("Batch", "B0", -1);
    ASSERT_GE(generation, 1) << "round " << round;
    for (int i = 1; i < kBatchKeys; ++i) {
      ASSERT_EQ(ini.readInt("Batch", "B" + std::to_string(i), -1), generation) << "round " << round;
    }
    ASSERT_EQ(ini.readString("Batch", "Note"), "пакет " + std::to_string(generation));
    ASSERT_GE(generation, lastGeneration);
    if (ini.hasSection("Single")) {
      const int single = ini.readInt("Single", "Gen", -1);
      // A writer killed between its batch and its single keys leaves "Gen" behind.
      ASSERT_LE(single, generation) << "round " << round;
      ASSERT_GE(single, lastSingle) << "round " << round;
      lastSingle = single;
      // "Text" follows the first "Gen" only once that write went through; never lost after.
      if (!ini.hasKey("Single", "Text")) {
        ASSERT_FALSE(sawText) << "round " << round;
      } else {
        sawText = true;
        const auto text = ini.readString("Single", "Text");
        ASSERT_LT(text.size(), 97u);
        ASSERT_EQ(text, std::string(text.size(), 'x')) << "round " << round;
      }
    }
    std::vector<std::string> expected{"Batch"};
    if (ini.hasSection("Single")) expected.push_back("Single");
    ASSERT_EQ(ini.sectionNames(), expected);
    lastGeneration = generation;
  }
  EXPECT_GT(sawFile, 150) << "the writer hardly ever got to write";
  // The next write clears what the killed writers left behind.
  IniFile(path).writeInt("Single", "Gen", lastGeneration + 1);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
  EXPECT_GT(lastGeneration, 1);
}

}  // namespace
}  // namespace tarvik
