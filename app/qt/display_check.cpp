#include "app/qt/display_check.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QLibraryInfo>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "app/display_plan.h"
#include "platform/event_log.h"
#include "status/qt/x11_hints.h"

namespace tarvik {
namespace {

// The value of a toolkit option ("-platform xcb", "-platform=xcb"), empty when not given.
std::string option(int argc, char** argv, std::string_view name) {
  for (int i = 1; i < argc; ++i) {
    std::string_view arg(argv[i]);
    if (arg.starts_with("--")) arg.remove_prefix(1);
    if (arg == name && i + 1 < argc) return argv[i + 1];
    if (arg.starts_with(name) && arg.size() > name.size() && arg[name.size()] == '=')
      return std::string(arg.substr(name.size() + 1));
  }
  return {};
}

// The test connection, or null when the X server cannot be reached. It must stay open until
// the toolkit has its own: an X server without other clients (Xvfb, a bare startx) resets when
// its last client leaves, and refuses connections for a moment meanwhile.
std::shared_ptr<xcb_connection_t> x11Connection(int argc, char** argv) {
  const std::string display = option(argc, argv, "-display");
  xcb_connection_t* c = xcb_connect(display.empty() ? nullptr : display.c_str(), nullptr);
  if (c && xcb_connection_has_error(c) == 0) return {c, xcb_disconnect};
  if (c) xcb_disconnect(c);
  return nullptr;
}

bool waylandReachable(bool chosen) {
  std::string name = qEnvironmentVariable("WAYLAND_DISPLAY").toStdString();
  // The toolkit falls back to the usual name only when Wayland was asked for.
  if (name.empty() && chosen) name = "wayland-0";
  if (name.empty()) return false;
  std::filesystem::path socket = name;
  if (socket.is_relative()) {
    const std::string runtime = qEnvironmentVariable("XDG_RUNTIME_DIR").toStdString();
    if (runtime.empty()) return false;
    socket = std::filesystem::path(runtime) / name;
  }
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (socket.string().size() >= sizeof address.sun_path) return false;
  std::strcpy(address.sun_path, socket.c_str());
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return ok;
}

bool waylandPlugin() {
  const std::filesystem::path platforms =
      std::filesystem::path(QLibraryInfo::path(QLibraryInfo::PluginsPath).toStdString()) /
      "platforms";
  std::error_code ec;
  return std::filesystem::exists(platforms / "libqwayland-generic.so", ec);
}

}  // namespace

std::shared_ptr<void> chooseDisplayOrExit(int argc, char** argv, EventLog& log) {
  std::string chosen = qEnvironmentVariable("QT_QPA_PLATFORM").toStdString();
  if (const std::string given = option(argc, argv, "-platform"); !given.empty()) chosen = given;
  const bool wantsWayland = std::string_view(chosen).starts_with("wayland");
  std::shared_ptr<xcb_connection_t> x11;
  if (chosen.empty() || std::string_view(chosen).starts_with("xcb"))
    x11 = x11Connection(argc, argv);
  const bool wayland = (chosen.empty() || wantsWayland) && waylandReachable(wantsWayland);
  switch (planDisplay(chosen, x11 != nullptr, wayland, waylandPlugin())) {
    case DisplayPlan::Keep:
      return x11;
    case DisplayPlan::PreferX11:
      preferX11Platform(argc, argv);
      return x11;
    case DisplayPlan::UseWayland:
      qputenv("QT_QPA_PLATFORM", "wayland");
      return nullptr;
    case DisplayPlan::None:
      break;
  }
  log.append(" Failed. No display to show the program on.\n Application will be terminated.");
  std::fprintf(stderr, "%.*s\n", static_cast<int>(kNoDisplayLine.size()), kNoDisplayLine.data());
  std::exit(1);
}

}  // namespace tarvik
