#pragma once

// A settings host and clock for benchmarks of the dialog: every call into the program does
// nothing, so that only the dialog's own work is timed.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "settings/settings_host.h"

namespace tarvik::bench {

struct NoAutostart : Autostart {
  std::optional<bool> registered(AutostartScope) override { return false; }
  bool enable(AutostartScope) override { return true; }
  bool disable(AutostartScope) override { return true; }
  bool writable(AutostartScope) override { return true; }
};

class QuietHost : public SettingsHost {
 public:
  QuietHost(std::vector<std::string> entries, LocalTime now)
      : entries_(std::move(entries)), now_(now) {}

  std::vector<std::string> phonebookEntries() const override { return entries_; }
  void reloadGlobalParameters(bool) override {}
  void previewPosition(bool, int, int) override {}
  void restart() override {}
  void playSoundFile(const std::string&) override {}
  void playTune(int) override {}
  Autostart& autostart() override { return autostart_; }
  bool viewText(const std::filesystem::path&) override { return true; }
  void openHelp(int) override {}
  bool helpAvailable() const override { return true; }
  void previewTransparency(int) override {}
  void openExternal(const std::string&) override {}
  ShellResult print(const std::filesystem::path&) override { return {ShellStatus::Done, 0}; }
  void balloon(const std::string&, const std::string&) override {}
  LocalTime now() const override { return now_; }
  NumberFormat numberFormat() const override { return NumberFormat{','}; }

 private:
  std::vector<std::string> entries_;
  LocalTime now_;
  NoAutostart autostart_;
};

class FixedClock : public Clock {
 public:
  explicit FixedClock(LocalTime now) : now_(now) {}
  LocalTime now() const override { return now_; }
  std::int64_t ticks() const override { return 0; }

 private:
  LocalTime now_;
};

}  // namespace tarvik::bench
