#pragma once

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace tarvik::tools {

// The folder the installed launcher runs the program from, and so where its files live:
// $XDG_DATA_HOME/Tarvik when that is an absolute path, else ~/.local/share/Tarvik.
inline std::filesystem::path installedDataFolder() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data && data[0] == '/') return std::filesystem::path(data) / "Tarvik";
  const char* home = std::getenv("HOME");
  std::filesystem::path base = home && home[0] ? home : "";
  if (base.empty()) {
    const passwd* account = ::getpwuid(::getuid());
    base = account && account->pw_dir ? account->pw_dir : "/";
  }
  return base / ".local" / "share" / "Tarvik";
}

// How the tools' help names that folder.
inline constexpr const char* kDataFolderHelp =
    "DIR is the program's folder; without it the installed program's data folder is used:\n"
    "~/.local/share/Tarvik, or $XDG_DATA_HOME/Tarvik when XDG_DATA_HOME is set.\n";

}  // namespace tarvik::tools
