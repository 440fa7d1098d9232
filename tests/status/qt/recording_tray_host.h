#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>

#include "status/qt/tray_host.h"

namespace tarvik::test {

// Counts what the window and its menu ask of the program, by command name.
class RecordingTrayHost : public TrayHost {
 public:
  std::map<std::string, int> calls;
  std::optional<PageId> lastPage;  // the page last opened
  bool active = false;
  bool manual = false;
  std::function<void()> whenWindowShown;

  int count(const std::string& name) const {
    const auto it = calls.find(name);
    return it == calls.end() ? 0 : it->second;
  }

  void clearDisplay() override { ++calls["clearDisplay"]; }
  void reloadEntrySettings() override { ++calls["reloadEntrySettings"]; }
  void newCount() override { ++calls["newCount"]; }
  void keepLine() override { ++calls["keepLine"]; }
  void hangUp() override { ++calls["hangUp"]; }
  void openHelp() override { ++calls["openHelp"]; }
  void getHelp() override { ++calls["getHelp"]; }
  bool helpAvailable() override { return manual; }
  void openSettings(PageId page) override {
    ++calls["openSettings"];
    lastPage = page;
  }
  void enableMonitoring() override { ++calls["enableMonitoring"]; }
  void restart() override { ++calls["restart"]; }
  void exit() override { ++calls["exit"]; }
  bool connectionActive() override { return active; }
  void windowShown() override {
    ++calls["windowShown"];
    if (whenWindowShown) whenWindowShown();
  }
};

}  // namespace tarvik::test
