#pragma once

#include <QMenu>

#include "status/qt/tray_host.h"

namespace tarvik {

// TrayPopUp, the menu of the tray icon and the status window. It keeps its items' captions,
// visibility and check marks and runs the commands of other parts of the program; the items
// that act on the status window itself (show, hide, mode, snapping, account display, the
// settings pages and exit) are connected by the window.
class TrayMenu : public QMenu {
  Q_OBJECT

 public:
  explicit TrayMenu(QWidget* parent);

  // The program behind the items; null leaves the items that need it disabled.
  void setHost(TrayHost* host);
  TrayHost* host() const { return host_; }

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
  void run(void (TrayHost::*command)());

  TrayHost* host_ = nullptr;
  bool offline_ = true;
  bool full_ = false;
  bool accountShown_ = false;
  bool recoveryCommandsEnabled_ = true;
};

}  // namespace tarvik
