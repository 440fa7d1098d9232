#include "config/directory_scan.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>
#include <string>

#include "support/temp_dir.h"

namespace tarvik {
namespace {

namespace fs = std::filesystem;

// A process that only waits to be killed; once it is reaped, reading its /proc folder fails.
class WaitingChild {
 public:
  WaitingChild() : pid_(::fork()) {
    if (pid_ == 0) {
      for (;;) ::pause();
    }
  }
  ~WaitingChild() { end(); }
  WaitingChild(const WaitingChild&) = delete;
  WaitingChild& operator=(const WaitingChild&) = delete;

  fs::path procFolder() const { return fs::path("/proc") / std::to_string(pid_); }
  void end() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = 0;
  }

 private:
  pid_t pid_;
};

TEST(DirectoryScan, VisitsEveryEntryStopsWhenToldAndReportsAFolderItCannotRead) {
  test::TempDir dir;
  for (const char* name : {"a", "b", ".hidden"}) test::writeBytes(dir / name, "x");
  fs::create_directory(dir / "sub");

  std::set<std::string> names;
  EXPECT_TRUE(scanDirectory(dir.path(), [&](const fs::directory_entry& e) {
    names.insert(e.path().filename().string());
    return true;
  }));
  EXPECT_EQ(names, (std::set<std::string>{".hidden", "a", "b", "sub"}));

  int visited = 0;
  EXPECT_TRUE(scanDirectory(dir.path(), [&](const fs::directory_entry&) { return ++visited < 2; }));
  EXPECT_EQ(visited, 2);

  visited = 0;
  EXPECT_FALSE(
      scanDirectory(dir / "missing", [&](const fs::directory_entry&) { return ++visited; }));
  EXPECT_FALSE(scanDirectory(dir / "a", [&](const fs::directory_entry&) { return ++visited; }));
  EXPECT_EQ(visited, 0);
}

// A process that ends while its /proc folder is read: the scan keeps what it saw and never
// throws out of the poll that made it, however the C library reports the folder's end.
TEST(DirectoryScan, AProcessEndingWhileItsProcFolderIsReadEndsTheScanWithoutThrowing) {
  WaitingChild child;
  const fs::path folder = child.procFolder();
  ASSERT_TRUE(fs::is_directory(folder));
  std::set<std::string> names;
  EXPECT_NO_THROW(scanDirectory(folder, [&](const fs::directory_entry& e) {
    child.end();
    names.insert(e.path().filename().string());
    return true;
  }));
  EXPECT_TRUE(names.contains("cmdline"));
  EXPECT_FALSE(fs::exists(folder));
}

}  // namespace
}  // namespace tarvik
