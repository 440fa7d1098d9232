#include "status/qt/x11_hints.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

namespace tarvik {
namespace {

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_cookie_t cookie =
      xcb_intern_atom(c, 0, static_cast<uint16_t>(strlen(name)), name);
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, cookie, nullptr);
  if (!reply) return XCB_ATOM_NONE;
  const xcb_atom_t a = reply->atom;
  std::free(reply);
  return a;
}

}  // namespace

void askToSkipTaskbar(QWidget* window) {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return;
  auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11 || !x11->connection()) return;
  xcb_connection_t* c = x11->connection();
  const auto id = static_cast<xcb_window_t>(window->winId());

  const xcb_atom_t state = atom(c, "_NET_WM_STATE");
  std::vector<xcb_atom_t> states;
  for (const char* name :
       {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER", "_NET_WM_STATE_ABOVE"}) {
    const xcb_atom_t a = atom(c, name);
    if (a != XCB_ATOM_NONE) states.push_back(a);
  }
  if (state != XCB_ATOM_NONE)
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(states.size()), states.data());
  xcb_flush(c);
}

bool windowManagerHonoursHints() {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return true;
  auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11 || !x11->connection()) return true;
  xcb_connection_t* c = x11->connection();
  const xcb_atom_t check = atom(c, "_NET_SUPPORTING_WM_CHECK");
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  if (check == XCB_ATOM_NONE || !screen) return false;
  xcb_get_property_reply_t* reply = xcb_get_property_reply(
      c, xcb_get_property(c, 0, screen->root, check, XCB_ATOM_WINDOW, 0, 1), nullptr);
  if (!reply) return false;
  const bool found = xcb_get_property_value_length(reply) >= 4;
  std::free(reply);
  return found;
}

bool throughXWayland() {
  return QGuiApplication::platformName() == QLatin1String("xcb") &&
         qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

void flushToDisplay() {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return;
  auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 && x11->connection()) xcb_flush(x11->connection());
}

}  // namespace tarvik

namespace tarvik {

void preferX11Platform(int argc, char** argv) {
  if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) return;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg(argv[i]);
    if (arg == "-platform" || arg == "--platform" || arg.starts_with("-platform=")) return;
  }
  if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
      qgetenv("XDG_SESSION_TYPE") == QByteArrayLiteral("wayland"))
    qputenv("QT_QPA_PLATFORM", "xcb");
}

}  // namespace tarvik
