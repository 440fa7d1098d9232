#pragma once

#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "config/program_files.h"
#include "platform/event_log.h"
#include "platform/timer.h"
#include "platform/user.h"
#include "status/qt/balloon_notifier.h"
#include "status/qt/skin_pictures.h"
#include "status/skin_loader.h"
#include "status/window_behaviour.h"

namespace tarvik {

// The commands of the tray menu and the double-click that belong to other parts of the program.
// An unset command leaves its menu item disabled.
struct TrayCommands {
  std::function<void()> clearDisplay;  // m_status_clear
  // Re-reads the entry's settings after the account/expenses toggle stored its choice.
  std::function<void()> reloadEntrySettings;
  std::function<void()> newCount;          // m_reset: virtual reconnect
  std::function<void()> keepLine;          // m_nohangup: cancel the automatic hang-up
  std::function<void()> hangUp;            // m_hangup
  std::function<void()> openHelp;          // m_help
  std::function<void()> getHelp;           // m_get
  std::function<void(int)> openSettings;   // m_settings, m_stat, m_info (a SettingsPage)
  std::function<void()> enableMonitoring;  // m_enable
  std::function<void()> restart;           // m_reboot
  std::function<void()> exit;              // m_exit
  // Whether the probe finds an active dial-up connection (double-click actions 4 and 5).
  std::function<bool()> connectionActive;
  std::function<bool()> settingsShown;
  std::function<void(int x, int y)> copyPositionToSettings;  // t_hold
};

// Indices of the settings dialog's pages that the tray menu and the double-clicks open.
enum SettingsPage { kFirstPage = 0, kInformationPage = 4, kStatisticsPage = 9 };

// The status window: a small frameless window cut to its skin's outline that stays on top and
// has no taskbar button, the tray icon with its menu TrayPopUp, balloons and message boxes. It
// draws what the core tells it through User and forwards the user's commands; the decisions
// stay in the core.
class Ttarvik : public QWidget, public User, private WindowSurface {
  Q_OBJECT

 public:
  Ttarvik(ProgramFiles files, EventLog& log, TimerFactory& timers, QWidget* parent = nullptr);
  ~Ttarvik() override;

  void setCommands(TrayCommands commands);
  // The engine's t_baloon; without it the window uses a timer of its own.
  void setBalloonTimer(Timer& t_baloon);
  // The engine's t_hide, which hides the window after a disconnection; any hiding stops it, so
  // that it cannot hide the window again once the user has shown it anew.
  void setHideTimer(Timer& t_hide) { hideTimer_ = &t_hide; }
  void showTrayIcon();

  // Reads the window keys of the global section and applies them (placement included).
  void reloadWindowSettings();
  // m_compact, m_full and a click on i_switch.
  void switchMode();

  QMenu* trayPopUp() const { return menu_; }
  QSystemTrayIcon& trayIcon() { return tray_; }
  WindowBehaviour& behaviour() { return *behaviour_; }
  bool fullModeChecked() const { return fullChecked_; }
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
  void setMonitoringMenu(bool monitoringOn) override;
  void showStatusWindow() override;
  void hideStatusWindow() override;
  void bringStatusWindowToFront() override;
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
  void setAccountDisplayChecks(bool accountShown) override;
  void setCurrentEntry(std::string_view entry) override;
  void setKeepLineMenu(bool visible) override;
  void setRecoveryCommandsEnabled(bool enabled) override;
  bool loadSkin() override;
  void placeStatusWindow() override { reloadWindowSettings(); }

  // Hooks for the settings dialog's ОК and ОТМЕНА (it is not known here).
  std::function<void()> onApplySettings;
  std::function<void()> onCancelSettings;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  // WindowSurface
  bool isShown() const override;
  void showWindow() override;
  void hideWindow() override;
  void raiseWindow() override;
  bool supportsAlpha() const override { return true; }
  void setAlpha(int level) override;
  void moveWindow(WindowPoint topLeft) override;
  WindowPoint windowPosition() const override;
  int windowWidth() const override { return width(); }
  int windowHeight() const override { return height(); }
  ScreenSize screenSize() const override;
  std::optional<WindowPoint> cursorPosition() const override;
  bool settingsDialogShown() const override;
  void copyPositionToSettings(WindowPoint topLeft) override;

  void createChildren();
  void createMenu();
  void applySkin(const SkinLoadResult& result);
  void applyModeChecks(bool full);
  void updateOnlineItems();
  void updateHelpItems();
  void setButtonPicture(QLabel* button, SkinBitmap picture);
  void clearButtonMarks();
  void removeBalloon();
  QAction* addItem(QMenu* menu, const char* name, const QString& caption);
  void runCommand(const std::function<void()>& command);

  ProgramFiles files_;
  EventLog& log_;
  TimerFactory& timers_;
  TrayCommands commands_;
  SkinLoader loader_;
  QtSkinPictures pictures_;
  std::unique_ptr<WindowBehaviour> behaviour_;
  std::unique_ptr<Timer> ownBalloonTimer_;
  Timer* balloonTimer_ = nullptr;
  Timer* hideTimer_ = nullptr;

  // Children, bottom to top.
  QLabel* i_face_ = nullptr;
  QLabel* i_ind_ = nullptr;
  std::array<QLabel*, 5> shadows_{};  // s_time, s_money, s_cur, s_entry, s_tariff
  std::array<QLabel*, 5> texts_{};    // s_time_s, s_money_s, s_cur_s, s_entry_s, s_tariff_s
  QLabel* i_hide_ = nullptr;
  QLabel* i_switch_ = nullptr;
  bool hideMarked_ = false;
  bool switchMarked_ = false;
  bool outlineSet_ = false;

  QSystemTrayIcon tray_;
  BalloonNotifier notifier_;
  bool trayEnabled_ = true;
  bool inert_ = false;  // a delayed start waiting for its successor
  QTimer clickTimer_;   // holds a single click back for the double-click time
  bool clickPending_ = false;

  QMenu* menu_ = nullptr;
  QMenu* modeMenu_ = nullptr;
  QMenu* entryMenu_ = nullptr;
  bool fullChecked_ = false;
  bool accountChecked_ = false;
  bool offline_ = true;
  bool recoveryCommandsEnabled_ = true;
  std::string stateCode_ = "di";
};

}  // namespace tarvik
