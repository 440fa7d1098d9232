#pragma once

#include <array>
#include <optional>
#include <string>

#include "config/file_stamp.h"
#include "config/file_watch.h"
#include "config/ini_file.h"
#include "tariff/tariff.h"

namespace tarvik {

// The day plans of the entry being metered, as the settings file holds them. A plan is read
// again only when the file was replaced or changed since, so a plan saved a moment ago applies
// from the next tick while an unchanged 1 MB file costs nothing when the file is watched, and
// one stat() per tick when it is not, instead of one read per key. Two plans are kept: today's for
// the tick and tomorrow's for the forecast.
class DayPlanCache {
 public:
  explicit DayPlanCache(const IniFile& config) : config_(config) {}

  // Looks at the file once (a tick calls it first); plans read before a change are dropped.
  void checkFile();
  // The plan of `weekday` for `entry` (its own tariff when it has own settings, else
  // "Default"'s). While the file is missing, the plan of the entry read last stands in for
  // one not read before.
  const DayPlan& plan(const std::string& entry, int weekday);

 private:
  struct Slot {
    bool valid = false;
    std::string entry;
    int weekday = -1;
    DayPlan plan;
  };
  const IniFile& config_;
  bool checked_ = false;
  ChangeSeen seen_;
  std::optional<FileStamp> stamp_;  // nullopt: the file was not there
  bool missing_ = false;            // the file went away after plans were read from it
  std::array<Slot, 2> slots_;
  std::size_t lastUsed_ = 0;
};

}  // namespace tarvik
