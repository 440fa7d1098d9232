#include "platform/linux/tray_watch.h"

#include <xcb/xcb.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusServiceWatcher>
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
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");

xcb_connection_t* x11Connection() {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
  auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atomNamed(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
  if (!reply) return XCB_ATOM_NONE;
  const xcb_atom_t atom = reply->atom;
  std::free(reply);
  return atom;
}

}  // namespace

TrayWatch::TrayWatch(QObject* parent) : QObject(parent) {
  timer_.setInterval(kLookEveryMs);
  connect(&timer_, &QTimer::timeout, this, [this] { probe(); });
  // The events of one change (a new name owner, then a host signal) are looked at once.
  soon_.setSingleShot(true);
  soon_.setInterval(0);
  connect(&soon_, &QTimer::timeout, this, [this] { probe(); });
}

TrayWatch::~TrayWatch() {
  if (x11_ && qApp) qApp->removeNativeEventFilter(this);
}

bool TrayWatch::probe() {
  if (!probed_) {
    const bool bus = followBus();
    const bool x11 = followX11();
    if (!bus && !x11) timer_.start();
  }
  const bool present = statusNotifierHost() || x11TrayOwner();
  const bool changed = !probed_ || present != present_;
  present_ = present;
  probed_ = true;
  if (changed && onChange) onChange(present);
  return present;
}

void TrayWatch::lookSoon() {
  soon_.start();
}

bool TrayWatch::followBus() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return false;
  auto* names =
      new QDBusServiceWatcher(kWatcher, bus, QDBusServiceWatcher::WatchForOwnerChange, this);
  connect(names, &QDBusServiceWatcher::serviceOwnerChanged, this, &TrayWatch::lookSoon);
  for (const char* signal : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"}) {
    bus.connect(QString(), kWatcherPath, kWatcher, QString::fromLatin1(signal), this,
                SLOT(lookSoon()));
  }
  return true;
}

bool TrayWatch::followX11() {
  xcb_connection_t* c = x11Connection();
  if (!c) return false;
  selection_ = atomNamed(c, "_NET_SYSTEM_TRAY_S0");
  manager_ = atomNamed(c, "MANAGER");
  if (selection_ == XCB_ATOM_NONE || manager_ == XCB_ATOM_NONE) return false;
  // A tray that comes announces itself to the root window's structure listeners; the
  // toolkit's own choice of the root window's events is kept.
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  xcb_get_window_attributes_reply_t* attributes =
      xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, root), nullptr);
  if (!attributes) return false;
  const uint32_t mask = attributes->your_event_mask;
  std::free(attributes);
  if ((mask & XCB_EVENT_MASK_STRUCTURE_NOTIFY) == 0) {
    const uint32_t wanted = mask | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &wanted);
  }
  qApp->installNativeEventFilter(this);
  x11_ = true;
  return true;
}

bool TrayWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
  if (eventType != "xcb_generic_event_t") return false;
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  switch (event->response_type & 0x7f) {
    case XCB_CLIENT_MESSAGE: {
      const auto* m = static_cast<const xcb_client_message_event_t*>(message);
      if (m->type == manager_ && m->format == 32 && m->data.data32[1] == selection_) lookSoon();
      break;
    }
    case XCB_DESTROY_NOTIFY: {
      const auto* d = static_cast<const xcb_destroy_notify_event_t*>(message);
      if (owner_ != XCB_WINDOW_NONE && d->window == owner_) {
        owner_ = XCB_WINDOW_NONE;
        lookSoon();
      }
      break;
    }
    default:
      break;
  }
  return false;  // the toolkit's own tray tracking sees them too
}

bool TrayWatch::statusNotifierHost() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected() || !bus.interface()) return false;
  const QDBusReply<bool> registered = bus.interface()->isServiceRegistered(kWatcher);
  if (!registered.isValid() || !registered.value()) return false;
  // A watcher without a host shows nothing.
  QDBusMessage get = QDBusMessage::createMethodCall(
      kWatcher, kWatcherPath, QStringLiteral("org.freedesktop.DBus.Properties"),
      QStringLiteral("Get"));
  get << kWatcher << QStringLiteral("IsStatusNotifierHostRegistered");
  const QDBusReply<QDBusVariant> host = bus.call(get, QDBus::Block, kBusTimeoutMs);
  return host.isValid() && host.value().variant().toBool();
}

bool TrayWatch::x11TrayOwner() {
  xcb_connection_t* c = x11Connection();
  if (!c) return false;
  xcb_atom_t selection = selection_;
  if (selection == XCB_ATOM_NONE) {
    static const char kSelection[] = "_NET_SYSTEM_TRAY_S0";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 1, static_cast<uint16_t>(std::strlen(kSelection)), kSelection),
        nullptr);
    if (!atom) return false;
    selection = atom->atom;
    std::free(atom);
    if (selection == XCB_ATOM_NONE) return false;  // nobody ever made a tray on this display
  }
  xcb_get_selection_owner_reply_t* owner =
      xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr);
  if (!owner) return false;
  const xcb_window_t window = owner->owner;
  std::free(owner);
  if (window == XCB_WINDOW_NONE) return false;
  if (x11_ && window != owner_) {
    // Its end is the tray's end. A window already gone answers with an error: look again.
    const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_generic_error_t* error = xcb_request_check(
        c, xcb_change_window_attributes_checked(c, window, XCB_CW_EVENT_MASK, &mask));
    if (error) {
      std::free(error);
      lookSoon();
      return false;
    }
    owner_ = window;
  }
  return true;
}

}  // namespace tarvik
