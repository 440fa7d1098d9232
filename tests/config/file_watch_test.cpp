#include "config/file_watch.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <map>

#include "config/file_clock.h"
#include "config/ini_file.h"
#include "tests/support/temp_dir.h"

namespace tarvik {
namespace {

// A watch whose notices the test gives by hand.
class HandWatch final : public FileWatch {
 public:
  std::optional<std::uint64_t> version(const std::filesystem::path& file) const override {
    const auto it = versions_.find(file);
    if (it == versions_.end()) return std::nullopt;
    return it->second;
  }
  void watch(const std::filesystem::path& file) { versions_[file]; }
  void notice(const std::filesystem::path& file) { ++versions_[file]; }

 private:
  std::map<std::filesystem::path, std::uint64_t> versions_;
};

void put(const std::filesystem::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
}

// Until the file clock has moved past the file's last change, no stamp proves a copy.
void letStampSettle(const std::filesystem::path& file) {
  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  const long long changed = st.st_ctim.tv_sec * 1'000'000'000LL + st.st_ctim.tv_nsec;
  while (fileClockNs() <= changed + 20'000'000) {
  }
}

int valueOf(const std::filesystem::path& file) {
  return IniFile(file).readInt("S", "K", -1);
}

// Another program's edit, made behind the watch's back, shows which reads looked at the file.
TEST(FileWatch, AWatchedFileIsReadAgainOnlyAfterANotice) {
  test::TempDir dir;
  HandWatch watch;
  const FileWatchInstalled installed(&watch);
  const auto watched = dir / "watched.ini";
  const auto link = dir / "link.ini";
  const auto unwatched = dir / "unwatched.ini";
  watch.watch(watched);
  watch.watch(link);
  put(watched, "[S]\nK=1\n");
  put(unwatched, "[S]\nK=1\n");
  std::filesystem::create_symlink(watched, link);
  letStampSettle(watched);
  letStampSettle(unwatched);
  EXPECT_EQ(valueOf(watched), 1);
  EXPECT_EQ(valueOf(link), 1);
  EXPECT_EQ(valueOf(unwatched), 1);

  put(watched, "[S]\nK=22\n");
  put(unwatched, "[S]\nK=22\n");
  EXPECT_EQ(valueOf(watched), 1) << "no notice yet: the copy stands without a look";
  EXPECT_EQ(valueOf(unwatched), 22) << "without a watch every read looks at the file";
  EXPECT_EQ(valueOf(link), 22) << "a notice about a link's name says nothing of its target";
  watch.notice(watched);
  EXPECT_EQ(valueOf(watched), 22);

  // A file removed and written anew under its name is read again after the notice.
  std::filesystem::remove(watched);
  watch.notice(watched);
  EXPECT_EQ(valueOf(watched), -1);
  put(watched, "[S]\nK=3\n");
  watch.notice(watched);
  EXPECT_EQ(valueOf(watched), 3);

  // The same for the existence of a file and for anyone who keeps what it read.
  WatchedExistence exists;
  ChangeSeen seen;
  EXPECT_TRUE(exists.exists(watched));
  EXPECT_TRUE(seen.mayHaveChanged(watched));
  std::filesystem::remove(watched);
  EXPECT_TRUE(exists.exists(watched));
  EXPECT_FALSE(seen.mayHaveChanged(watched));
  watch.notice(watched);
  EXPECT_FALSE(exists.exists(watched));
  EXPECT_TRUE(seen.mayHaveChanged(watched));
  EXPECT_TRUE(seen.mayHaveChanged(unwatched)) << "an unwatched file may always have changed";
}

}  // namespace
}  // namespace tarvik
