#pragma once

#include "platform/settings_window.h"

namespace tarvik {

// What the status window, its tray icon and its menu ask of the rest of the program: the one
// way from the window to the program. Without a host the window's own items still work and the
// items that need the program stay disabled.
class TrayHost {
 public:
  virtual ~TrayHost() = default;

  virtual void clearDisplay() = 0;  // m_status_clear
  // Re-reads the entry's settings after the account/expenses toggle stored its choice.
  virtual void reloadEntrySettings() = 0;
  virtual void newCount() = 0;  // m_reset: virtual reconnect
  virtual void keepLine() = 0;  // m_nohangup: cancel the automatic hang-up
  virtual void hangUp() = 0;    // m_hangup
  virtual void openHelp() = 0;  // m_help
  // Whether the program has its manual: "Справка" is offered then, "Справка…" otherwise.
  virtual bool helpAvailable() = 0;
  virtual void getHelp() = 0;                  // m_get
  virtual void openSettings(PageId page) = 0;  // m_settings, m_stat, m_info
  virtual void enableMonitoring() = 0;         // m_enable
  virtual void restart() = 0;                  // m_reboot
  virtual void exit() = 0;                     // m_exit
  // Whether the probe finds an active dial-up connection (double-click actions 4 and 5).
  virtual bool connectionActive() = 0;
  // The status window went from hidden to shown: the configuration is read again.
  virtual void windowShown() = 0;
};

}  // namespace tarvik
