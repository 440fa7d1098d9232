#pragma once

#include <filesystem>
#include <memory>
#include <string>

class QSocketNotifier;

namespace tarvik {

inline constexpr char kSystemZoneFile[] = "/etc/localtime";

// With TZ unset the C library looks at the zone file at every clock read (a stat() each
// time); naming the file in TZ makes it read the file once. Only when TZ is unset: a zone
// the user chose is left alone. Call before any thread starts. False when TZ was set.
bool readLocalZoneOnce(const std::filesystem::path& file = kSystemZoneFile);

// A zone read once would miss the user changing the system's zone while the program runs;
// this reads the zone again when the zone file is replaced, changed or removed, so the clock
// moves as it did before (a zone change looks like a changed system time). Does nothing when
// the zone was not pinned by readLocalZoneOnce().
class LocalZoneWatch {
 public:
  explicit LocalZoneWatch(std::filesystem::path file = kSystemZoneFile);
  ~LocalZoneWatch();
  LocalZoneWatch(const LocalZoneWatch&) = delete;
  LocalZoneWatch& operator=(const LocalZoneWatch&) = delete;

  // Reads the notices that arrived (the event loop calls it; tests may call it directly).
  void readNotices();

 private:
  std::filesystem::path file_;
  int fd_ = -1;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace tarvik
