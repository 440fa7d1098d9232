#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "config/number_text.h"
#include "platform/autostart.h"
#include "platform/clock.h"
#include "platform/shell.h"
#include "stats/accounts.h"

namespace tarvik {

// What the settings dialog asks of the running program. The program's assembly implements it;
// widget tests record the calls.
class SettingsHost {
 public:
  virtual ~SettingsHost() = default;
  // The phonebook entries, as the status window lists them.
  virtual std::vector<std::string> phonebookEntries() const = 0;
  // Re-reads the global keys after a save or a cancel; with `skinChanged` also the skin. This
  // also undoes the live previews made in the dialog.
  virtual void reloadGlobalParameters(bool skinChanged) = 0;
  // Live preview: the status window placed at (x, y) from the top-left or the bottom-right
  // corner of the screen. Nothing is stored.
  virtual void previewPosition(bool fromTopLeft, int x, int y) = 0;
  // Starts a new instance and ends this one (the reset of all settings).
  virtual void restart() = 0;
  // The sound tests: a sound file played asynchronously, and one of the numbered beep tunes.
  virtual void playSoundFile(const std::string& file) = 0;
  virtual void playTune(int tune) = 0;
  // Starts a program from a command line, without a shell and without waiting for it. A host
  // that runs no programs (a benchmark's) starts nothing.
  virtual void runProgram(const std::string& commandLine) { (void)commandLine; }
  // The program's registration for starting with the session.
  virtual Autostart& autostart() = 0;
  // Shows a log file (code page 1251) read-only; false when it cannot be shown.
  virtual bool viewText(const std::filesystem::path& file) = 0;
  // Opens the help at a context number.
  virtual void openHelp(int context) = 0;
  // The help-file check: whether the program has a manual to show.
  virtual bool helpAvailable() const = 0;
  // Live preview: the status window's transparency in percent (0 = opaque). Nothing is stored.
  virtual void previewTransparency(int percent) = 0;
  // A web page or a "mailto:" address, handed to the desktop.
  virtual void openExternal(const std::string& target) = 0;
  // Sends a report file (code page 1251) to the default printer.
  virtual ShellResult print(const std::filesystem::path& file) = 0;
  // A balloon from the tray icon that is not optional (the "HelpShow" switch still rules).
  virtual void balloon(const std::string& title, const std::string& text) = 0;
  // The wall clock, for the dates of reports and the monthly estimate.
  virtual LocalTime now() const = 0;
  // The user's decimal separator.
  virtual NumberFormat numberFormat() const = 0;
  // The balances that bookings still waiting to be written will leave; none by default.
  virtual const PendingBalances* pendingBalances() const { return nullptr; }
};

// A balance as the dialog shows it: what is stored, or what a waiting booking will leave.
inline std::string shownBalance(const SettingsHost& host, const ProgramFiles& files,
                                const AccountKey& where) {
  return shownBalanceText(IniFile(files.accounts()), where, host.pendingBalances(),
                          host.numberFormat());
}

}  // namespace tarvik
