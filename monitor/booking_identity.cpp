#include "monitor/booking_identity.h"

#include <fcntl.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <system_error>

#include "config/ini_file.h"
#include "stats/statistics.h"

namespace tarvik {

namespace fs = std::filesystem;

namespace {

constexpr const char* kSection = "Olm:TK";
constexpr const char* kBookedKey = "Booked";
// The statistics are booked into a copy in this folder, then the copy replaces the file.
constexpr const char* kStagingFolder = ".booking";

// The file actually replaced: a symbolic link keeps pointing at it.
fs::path statisticsTarget(const ProgramFiles& files) {
  std::error_code ec;
  const fs::path path = files.statistics();
  if (fs::is_symlink(fs::symlink_status(path, ec))) {
    const fs::path target = fs::weakly_canonical(path, ec);
    if (!ec) return target;
  }
  return path;
}

[[noreturn]] void fail(const char* what, const fs::path& path, const std::error_code& ec) {
  throw IniWriteError(std::string(what) + " " + path.string() + ": " + ec.message());
}

// Removes the staging folder however the booking ends; a kill leaves it to the next booking.
struct StagingFolder {
  fs::path dir;
  ~StagingFolder() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
};

}  // namespace

std::string lastBookedIdentity(const ProgramFiles& files) {
  return IniFile(files.statistics()).readString(kSection, kBookedKey, "");
}

std::string nextBookingIdentity(const ProgramFiles& files) {
  const int last = IniFile(files.statistics()).readInt(kSection, kBookedKey, 0);
  return std::to_string(last > 0 && last < INT_MAX ? last + 1 : 1);
}

bool bookStatisticsOnce(const ProgramFiles& files, NumberFormat format, EventLog& log,
                        const std::string& identity, std::string_view entry, int weekday,
                        int seconds, float cost) {
  if (lastBookedIdentity(files) == identity) return false;

  // The statistics class writes a program folder's own statistics file in one replacement;
  // booking a copy in a folder of its own, adding the identity there and renaming the copy
  // over the file makes counters and identity reach the disk together or not at all.
  const fs::path target = statisticsTarget(files);
  StagingFolder staging{target.parent_path() / kStagingFolder};
  std::error_code ec;
  fs::remove_all(staging.dir, ec);
  if (!fs::create_directory(staging.dir, ec)) fail("cannot create", staging.dir, ec);
  const ProgramFiles copy{staging.dir};
  if (fs::exists(fs::symlink_status(target, ec))) {
    // The mode is copied too, so a read-only file stays refused.
    if (!fs::copy_file(target, copy.statistics(), ec)) fail("cannot copy", target, ec);
  }

  Statistics(copy, format, log).bookConnection(entry, weekday, seconds, cost);
  IniEdit edit{IniFile(copy.statistics())};
  edit.writeString(kSection, kBookedKey, identity);
  edit.commit();

  fs::rename(copy.statistics(), target, ec);
  if (ec) fail("cannot replace", target, ec);
  // The rename reaches the disk only with the folder.
  const int dirFd = ::open(target.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
  return true;
}

}  // namespace tarvik
