#include "platform/linux/tray_watch.h"

#include <xcb/xcb.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QGuiApplication>
#include <cstdlib>
#include <cstring>

namespace tarvik {
namespace {

constexpr int kLookEveryMs = 2000;
// A hanging session bus must not freeze the window.
constexpr int kBusTimeoutMs = 300;
const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");

}  // namespace

TrayWatch::TrayWatch(QObject* parent) : QObject(parent) {
  timer_.setInterval(kLookEveryMs);
  connect(&timer_, &QTimer::timeout, this, [this] { probe(); });
}

bool TrayWatch::probe() {
  const bool present = statusNotifierHost() || x11TrayOwner();
  const bool changed = !probed_ || present != present_;
  present_ = present;
  if (!probed_) {
    probed_ = true;
    timer_.start();
  }
  if (changed && onChange) onChange(present);
  return present;
}

bool TrayWatch::statusNotifierHost() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected() || !bus.interface()) return false;
  const QDBusReply<bool> registered = bus.interface()->isServiceRegistered(kWatcher);
  if (!registered.isValid() || !registered.value()) return false;
  // A watcher without a host shows nothing.
  QDBusMessage get = QDBusMessage::createMethodCall(
      kWatcher, QStringLiteral("/StatusNotifierWatcher"),
      QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
  get << kWatcher << QStringLiteral("IsStatusNotifierHostRegistered");
  const QDBusReply<QDBusVariant> host = bus.call(get, QDBus::Block, kBusTimeoutMs);
  return host.isValid() && host.value().variant().toBool();
}

bool TrayWatch::x11TrayOwner() {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return false;
  auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11 || !x11->connection()) return false;
  xcb_connection_t* c = x11->connection();
  static const char kSelection[] = "_NET_SYSTEM_TRAY_S0";
  xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
      c, xcb_intern_atom(c, 1, static_cast<uint16_t>(std::strlen(kSelection)), kSelection),
      nullptr);
  if (!atom) return false;
  const xcb_atom_t selection = atom->atom;
  std::free(atom);
  if (selection == XCB_ATOM_NONE) return false;  // nobody ever made a tray on this display
  xcb_get_selection_owner_reply_t* owner =
      xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr);
  if (!owner) return false;
  const bool found = owner->owner != XCB_WINDOW_NONE;
  std::free(owner);
  return found;
}

}  // namespace tarvik
