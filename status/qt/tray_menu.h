#pragma once

#include <QMenu>
#include <filesystem>
#include <functional>

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
  // The status window went from hidden to shown: the configuration is read again.
  std::function<void()> windowShown;
};

// Indices of the settings dialog's pages that the tray menu and the double-clicks open.
enum SettingsPage { kFirstPage = 0, kInformationPage = 4, kStatisticsPage = 9 };

// TrayPopUp, the menu of the tray icon and the status window. It keeps its items' captions,
// visibility and check marks and runs the commands of other parts of the program; the items
// that act on the status window itself (show, hide, mode, snapping, account display, the
// settings pages and exit) are connected by the window.
class TrayMenu : public QMenu {
  Q_OBJECT

 public:
  TrayMenu(std::filesystem::path helpFile, QWidget* parent);

  void setCommands(TrayCommands commands);
  const TrayCommands& commands() const { return commands_; }

  // Items that need no connection (clear, enable, restart) and those that need one (the
  // entry's submenu) follow this.
  void setOffline(bool offline);
  bool offline() const { return offline_; }
  // While an interrupted connection waits for an answer, enable, restart and exit are off.
  void setRecoveryCommandsEnabled(bool enabled);
  void setMonitoring(bool monitoringOn);
  // The check marks as last set: the toolkit checks a radio item before its handler runs, and
  // the handlers toggle from the state before the click.
  void setModeChecks(bool full);
  bool fullChecked() const { return full_; }
  void setAccountChecks(bool accountShown);
  bool accountChecked() const { return accountShown_; }
  void setEntry(const QString& entry);
  QString entry() const { return m_entry_menu->title(); }
  void setKeepLineVisible(bool visible) { m_nohangup->setVisible(visible); }
  bool keepLineVisible() const { return m_nohangup->isVisible(); }
  // "Статус   [режим]" is offered only for a skin with both modes.
  void setModeMenuVisible(bool visible) { m_status_mode->setVisible(visible); }

  QAction* const m_status_show;
  QAction* const m_status_clear;
  QAction* const m_status_hide;
  QMenu* const m_status_mode_menu;
  QAction* const m_status_mode;
  QAction* const m_compact;
  QAction* const m_full;
  QAction* const m_bounds;
  QMenu* const m_entry_menu;
  QAction* const m_entry;
  QAction* const m_show_exp;
  QAction* const m_show_acc;
  QAction* const m_reset;
  QAction* const m_nohangup;
  QAction* const m_hangup;
  QAction* const m_sep_2;
  QAction* const m_help;
  QAction* const m_get;
  QAction* const m_settings;
  QAction* const m_stat;
  QAction* const m_info;
  QAction* const m_enable;
  QAction* const m_reboot;
  QAction* const m_exit;

 private:
  void connectCommands();
  void updateItems();
  void updateHelpItems();
  void run(const std::function<void()>& command);

  std::filesystem::path helpFile_;
  TrayCommands commands_;
  bool offline_ = true;
  bool full_ = false;
  bool accountShown_ = false;
  bool recoveryCommandsEnabled_ = true;
};

}  // namespace tarvik
