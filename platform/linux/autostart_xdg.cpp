#include "platform/linux/autostart_xdg.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>

#include "config/regular_file.h"
#include "platform/linux/process_launcher.h"

namespace tarvik {

namespace fs = std::filesystem;

// An autostart entry is a few lines; a larger file is not one this program wrote.
constexpr std::uint64_t kMaxEntryBytes = 1 << 20;

std::string quoteExecArgument(const std::string& argument) {
  std::string out = "\"";
  for (char c : argument) {
    switch (c) {
      // Inside quotes the Exec rules escape these with a backslash, and the string rules of
      // the file then double every backslash.
      case '"':
        out += "\\\\\"";
        break;
      case '`':
        out += "\\\\`";
        break;
      case '$':
        out += "\\\\$";
        break;
      case '\\':
        out += "\\\\\\\\";
        break;
      // A percent sign would start a field code.
      case '%':
        out += "%%";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
  return out + "\"";
}

std::string autostartEntryText(const std::string& programPath) {
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=Tarvik\n"
         "Comment=Dial-up connection time and cost meter\n"
         "Exec=" +
         quoteExecArgument(programPath) +
         " /auto\n"
         "Icon=tarvik\n"
         "Terminal=false\n"
         "X-GNOME-Autostart-enabled=true\n";
}

XdgAutostart::XdgAutostart(fs::path userDir, fs::path systemDir, std::string programPath)
    : userDir_(std::move(userDir)),
      systemDir_(std::move(systemDir)),
      programPath_(std::move(programPath)) {}

XdgAutostart::XdgAutostart() : XdgAutostart(defaultUserDir(), kSystemDir, launcherPath()) {}

fs::path XdgAutostart::defaultUserDir() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && fs::path(config).is_absolute()) return fs::path(config) / "autostart";
  const char* home = std::getenv("HOME");
  fs::path base = home ? fs::path(home) : fs::path();
  // A relative folder would put the entry wherever the program happens to run.
  if (!base.is_absolute()) {
    const passwd* account = ::getpwuid(::getuid());
    base = account && account->pw_dir ? fs::path(account->pw_dir) : fs::path("/");
  }
  return base / ".config" / "autostart";
}

std::string XdgAutostart::launcherPath() {
  const char* launcher = std::getenv("TARVIK_LAUNCHER");
  if (launcher && fs::path(launcher).is_absolute()) return launcher;
  return LinuxProcessLauncher::ownExecutable();
}

fs::path XdgAutostart::entryFile(AutostartScope scope) const {
  return (scope == AutostartScope::CurrentUser ? userDir_ : systemDir_) / kFileName;
}

std::optional<bool> XdgAutostart::registered(AutostartScope scope) {
  const fs::path file = entryFile(scope);
  std::error_code error;
  const fs::file_status status = fs::status(file, error);
  if (status.type() == fs::file_type::not_found) return false;
  if (error || status.type() != fs::file_type::regular) return std::nullopt;
  const FileRead read = readRegularFile(file, kMaxEntryBytes);
  if (read.error != 0) return std::nullopt;
  std::istringstream in(read.bytes);
  // Desktops switch an entry off in place instead of deleting it.
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line == "Hidden=true" || line == "X-GNOME-Autostart-enabled=false") return false;
  }
  if (in.bad()) return std::nullopt;
  return true;
}

bool XdgAutostart::enable(AutostartScope scope) {
  if (programPath_.empty()) return false;
  const fs::path file = entryFile(scope);
  std::error_code error;
  fs::create_directories(file.parent_path(), error);
  if (error) return false;
  // Written beside the entry and renamed over it, so a session never reads half an entry.
  const fs::path temporary = file.parent_path() / (std::string(kFileName) + ".new");
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << autostartEntryText(programPath_);
    out.close();
    if (!out) {
      fs::remove(temporary, error);
      return false;
    }
  }
  fs::permissions(temporary,
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                      fs::perms::others_read,
                  error);
  fs::rename(temporary, file, error);
  if (error) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return false;
  }
  return true;
}

bool XdgAutostart::disable(AutostartScope scope) {
  std::error_code error;
  fs::remove(entryFile(scope), error);
  return !error;
}

bool XdgAutostart::writable(AutostartScope scope) {
  // The nearest folder that exists must take new files (the entry folder may be missing).
  fs::path dir = entryFile(scope).parent_path();
  std::error_code error;
  while (!dir.empty() && !fs::exists(dir, error)) {
    if (error) return false;
    const fs::path parent = dir.parent_path();
    if (parent == dir) return false;
    dir = parent;
  }
  if (dir.empty() || !fs::is_directory(dir, error)) return false;
  return ::access(dir.c_str(), W_OK | X_OK) == 0;
}

}  // namespace tarvik
