#pragma once

#include <string>
#include <string_view>

namespace tarvik {

// The five texts of the status display.
enum class DisplayField { Time, Money, Currency, Entry, Tariff };

enum class Answer { Yes, No, Cancel };

// The three answers to the question about a connection interrupted by a crash.
enum class RecoveryAnswer { Book, Ignore, RemindLater };

// Everything the core shows to the user or asks of the user. The Qt layer implements it
// (status window, tray icon, message boxes); tests answer for the user.
// The core decides what and when; the implementation only draws.
class User {
 public:
  virtual ~User() = default;

  // Indicator picture and tray icon for "di", "of", "au", "on" or "xx".
  virtual void showStateCode(std::string_view code) = 0;
  // Writes a display field and its shadow copy.
  virtual void setField(DisplayField field, std::string_view text) = 0;
  // Online-only menu items (hang up, keep the line, new count) and offline-only ones
  // (restart, enable/disable, clear) follow whether a connection is up.
  virtual void setOnlineMenu(bool connectionUp, bool authenticating) = 0;
  // Caption of the enable/disable item: true = monitoring on ("Выключить").
  virtual void setMonitoringMenu(bool monitoringOn) = 0;
  // Check marks of "Показывать счёт" (m_show_acc, checked = `accountShown`) and "Показывать
  // затраты" (m_show_exp, the opposite), set whenever the entry's settings are read.
  virtual void setAccountDisplayChecks(bool accountShown) { (void)accountShown; }
  // Caption of the entry submenu m_entry: the settings entry of the live connection.
  virtual void setCurrentEntry(std::string_view entry) { (void)entry; }
  // "Не разрывать связь" is shown exactly while an automatic hang-up is pending.
  virtual void setKeepLineMenu(bool visible) { (void)visible; }
  // While an interrupted connection waits for an answer, enabling monitoring, restart and
  // exit are unavailable.
  virtual void setRecoveryCommandsEnabled(bool enabled) { (void)enabled; }

  virtual void showStatusWindow() = 0;
  virtual void hideStatusWindow() = 0;
  virtual void bringStatusWindowToFront() = 0;

  // A balloon from the tray icon; `optional` balloons obey the global "Baloon" switch, all
  // obey "HelpShow" (the implementation checks both).
  virtual void balloon(std::string_view title, std::string_view text, bool optional) = 0;

  // Modal, topmost, empty caption, OK only.
  virtual void message(std::string_view text) = 0;
  // Modal, topmost, empty caption; `defaultNo` makes No the default button.
  virtual Answer askYesNo(std::string_view text, bool defaultNo) = 0;
  virtual Answer askYesNoCancel(std::string_view text) = 0;
  // The recovery dialog; on the second asking `allowRemind` is false and the third answer is
  // unavailable.
  virtual RecoveryAnswer askRecovery(std::string_view text, bool allowRemind) = 0;

  // Ends the program through the toolkit (windows destroyed, no further timer events).
  virtual void terminate() = 0;

  // The tray icon's hint text ("Tarvik v4.0").
  virtual void setTrayHint(std::string_view) {}
  // Lines the tray icon's and the status window's tooltips add while a connection is metered
  // (its volume, the forecast), one per line; empty when it ends.
  virtual void setOnlineHint(std::string_view lines) { (void)lines; }
  // A delayed automatic start waits unusable: the tray menu does not pop up, the tray icon
  // ignores the mouse, the status window is disabled and moved off screen with no size.
  virtual void makeInert() {}
  virtual void hideTrayIcon() {}

  // One run of the skin loader on the skin chosen in the configuration; false when it failed
  // (the failed run may have reset the choice, so a second call loads the fallback).
  virtual bool loadSkin() { return true; }
  // Places the status window and applies its window keys (position, snapping, transparency,
  // fading, priority) as the configuration holds them now.
  virtual void placeStatusWindow() {}
};

}  // namespace tarvik
