#pragma once

#include <QMenu>
#include <QSystemTrayIcon>
#include <functional>
#include <string>

#include "platform/user.h"

namespace tarvik {

class Tsettings;

// The user as far as the program reaches them without its status window: a tray icon whose
// menu can end the program, balloons and message boxes. The status window replaces it.
class TrayUser final : public User {
 public:
  explicit TrayUser(Tsettings& settings);
  ~TrayUser() override;

  // What "Выход" does.
  void setExitHandler(std::function<void()> handler) { exitHandler_ = std::move(handler); }
  void showTrayIcon();

  void showStateCode(std::string_view code) override;
  void setField(DisplayField, std::string_view) override {}
  void setOnlineMenu(bool, bool) override {}
  void setMonitoringMenu(bool) override {}
  void showStatusWindow() override {}
  void hideStatusWindow() override {}
  void bringStatusWindowToFront() override {}
  void balloon(std::string_view title, std::string_view text, bool optional) override;
  void message(std::string_view text) override;
  Answer askYesNo(std::string_view text, bool defaultNo) override;
  Answer askYesNoCancel(std::string_view text) override;
  RecoveryAnswer askRecovery(std::string_view text, bool allowRemind) override;
  bool settingsDialogOpen() override;
  void applyAndCloseSettingsDialog() override;
  void cancelSettingsDialog() override;
  void terminate() override;
  void setTrayHint(std::string_view hint) override;
  void makeInert() override;
  void hideTrayIcon() override;

 private:
  Tsettings& settings_;
  QSystemTrayIcon tray_;
  QMenu menu_;
  std::function<void()> exitHandler_;
};

}  // namespace tarvik
