#pragma once

#include <filesystem>
#include <string>

#include "platform/autostart.h"

namespace tarvik {

// Autostart through XDG autostart entries: Tarvik.desktop in the user's autostart folder
// ($XDG_CONFIG_HOME/autostart, by default ~/.config/autostart) for the current user, and in
// /etc/xdg/autostart for all users.
class XdgAutostart : public Autostart {
 public:
  static constexpr const char* kFileName = "Tarvik.desktop";
  static constexpr const char* kSystemDir = "/etc/xdg/autostart";

  // `programPath` is what the entry starts; tests pass temporary folders for both scopes.
  XdgAutostart(std::filesystem::path userDir, std::filesystem::path systemDir,
               std::string programPath);
  // The real folders and the program as the session should start it (see launcherPath).
  XdgAutostart();

  std::optional<bool> registered(AutostartScope scope) override;
  bool enable(AutostartScope scope) override;
  bool disable(AutostartScope scope) override;
  bool writable(AutostartScope scope) override;

  std::filesystem::path entryFile(AutostartScope scope) const;

  // $XDG_CONFIG_HOME/autostart when that is an absolute path, else ~/.config/autostart, with
  // the account's home folder when HOME is not an absolute path.
  static std::filesystem::path defaultUserDir();
  // The installed launcher when the program was started through it (it exports its own path
  // as TARVIK_LAUNCHER, so that an entry for all users starts every user's own copy), else
  // the running executable.
  static std::string launcherPath();

 private:
  std::filesystem::path userDir_;
  std::filesystem::path systemDir_;
  std::string programPath_;
};

// The desktop-entry text that starts `programPath` with "/auto".
std::string autostartEntryText(const std::string& programPath);
// `argument` as one quoted argument of an Exec key, escaped for the Exec rules and then for
// the desktop file's string rules.
std::string quoteExecArgument(const std::string& argument);

}  // namespace tarvik
