#pragma once

#include <QSystemTrayIcon>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "config/program_files.h"
#include "platform/event_log.h"
#include "platform/linux/tray_watch.h"
#include "platform/timer.h"
#include "platform/user.h"
#include "status/notification_area.h"
#include "status/qt/skin_view.h"
#include "status/qt/tray_icon.h"
#include "status/qt/tray_menu.h"
#include "status/skin_loader.h"
#include "status/window_behaviour.h"

namespace tarvik {

// The status window: a small frameless window cut to its skin's outline that stays on top and
// has no taskbar button, with the tray icon, its menu TrayPopUp, balloons and message boxes.
// It draws what the core tells it through User and forwards the user's commands; the decisions
// stay in the core.
class Ttarvik : public QWidget, public User, private WindowSurface {
  Q_OBJECT

 public:
  Ttarvik(ProgramFiles files, EventLog& log, TimerFactory& timers, QWidget* parent = nullptr);
  ~Ttarvik() override;

  void setHost(TrayHost* host) { menu_->setHost(host); }
  // The settings dialog the window stays behind and hands a dragged position to.
  void setSettingsWindow(SettingsWindow* settings) { behaviour_->setSettingsWindow(settings); }
  // The engine's t_baloon; without it the window uses a timer of its own.
  void setBalloonTimer(Timer& t_baloon) { tray_.setBalloonTimer(t_baloon); }
  // The engine's t_hide, which hides the window after a disconnection; any hiding stops it, so
  // that it cannot hide the window again once the user has shown it anew.
  void setHideTimer(Timer& t_hide) { hideTimer_ = &t_hide; }
  // The icon goes up only where there is a notification area to hold it.
  void showTrayIcon();
  // Follows the notification area `watch` looks for, from its first look on: without one the
  // window stays on screen and offers everything the tray would.
  void followNotificationArea(TrayWatch& watch);
  const NotificationArea& notificationArea() const { return area_; }
  // Shows the window and brings it forward: a later start of the program asked for it. False
  // while a delayed start waits inert for its successor.
  bool bringForward();

  // Reads the window keys of the global section and applies them (placement included).
  void reloadWindowSettings();
  // m_compact, m_full and a click on i_switch.
  void switchMode();

  TrayMenu* trayPopUp() const { return menu_; }
  QSystemTrayIcon& trayIcon() { return tray_.icon(); }
  WindowBehaviour& behaviour() { return *behaviour_; }
  bool fullModeChecked() const { return menu_->fullChecked(); }
  // The tray icon's left-button events, as the tray reports them.
  void trayClicked();
  void trayDoubleClicked();
  // A double-click on the face, the indicator or a text.
  void windowDoubleClicked();
  // m_show_exp, m_show_acc and the double-click action 2.
  void toggleAccountDisplay();

  // User
  void showStateCode(std::string_view code) override;
  void setField(DisplayField field, std::string_view text) override;
  void setOnlineMenu(bool connectionUp, bool authenticating) override;
  void setMonitoringMenu(bool monitoringOn) override { menu_->setMonitoring(monitoringOn); }
  void showStatusWindow() override;
  void hideStatusWindow() override;
  void bringStatusWindowToFront() override { raise(); }
  void balloon(std::string_view title, std::string_view text, bool optional) override {
    tray_.balloon(title, text, optional);
  }
  void message(std::string_view text) override;
  Answer askYesNo(std::string_view text, bool defaultNo) override;
  Answer askYesNoCancel(std::string_view text) override;
  RecoveryAnswer askRecovery(std::string_view text, bool allowRemind) override;
  void terminate() override;
  void setTrayHint(std::string_view hint) override;
  void setOnlineHint(std::string_view lines) override;
  void makeInert() override;
  void hideTrayIcon() override;
  void setAccountDisplayChecks(bool accountShown) override;
  void setCurrentEntry(std::string_view entry) override;
  void setKeepLineMenu(bool visible) override { menu_->setKeepLineVisible(visible); }
  void setRecoveryCommandsEnabled(bool enabled) override;
  bool loadSkin() override;
  void placeStatusWindow() override { reloadWindowSettings(); }

 signals:
  // The state, a field or the online hint changed: what a panel reads may have changed with it.
  void figuresShown();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  // WindowSurface
  bool isShown() const override;
  void showWindow() override;
  void hideWindow() override;
  void raiseWindow() override { raise(); }
  bool supportsAlpha() const override { return abilities_.opacity; }
  void setAlpha(int level) override;
  void moveWindow(WindowPoint topLeft) override;
  WindowPoint windowPosition() const override;
  int windowWidth() const override { return width(); }
  int windowHeight() const override { return height(); }
  ScreenSize screenSize() const override;
  ScreenArea availableArea() const override;
  std::optional<WindowPoint> cursorPosition() const override;

  void connectMenu();
  void applySkin(const SkinLoadResult& result);
  void openSettingsPage(PageId page);
  void keepLine();
  bool buttonEvent(SkinButton button, QEvent* event);
  void clearButtonMarks();
  void notificationAreaChanged(bool present);
  // Without a notification area a hidden window comes back, once it is ready to be seen.
  void keepReachable();

  ProgramFiles files_;
  EventLog& log_;
  SkinView view_;
  SkinLoader loader_;
  std::unique_ptr<WindowBehaviour> behaviour_;
  TrayIcon tray_;
  TrayMenu* menu_ = nullptr;
  Timer* hideTimer_ = nullptr;
  bool hideMarked_ = false;
  bool switchMarked_ = false;
  bool inert_ = false;  // a delayed start waiting for its successor
  std::string stateCode_ = "di";
  // The tray's tooltip between connections, and the lines of the one metered now.
  std::string idleHint_;
  std::string onlineLines_;
  NotificationArea area_;
  WindowAbilities abilities_;
  bool trayWanted_ = false;  // shown by the program, not yet taken down before a restart
  bool skinApplied_ = false;
  bool cutByAlpha_ = false;  // through XWayland: see the constructor
};

}  // namespace tarvik
