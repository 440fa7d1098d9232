#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>

namespace tarvik {

// Looks for a notification area now and whenever one may have come or gone: a StatusNotifier
// host on the session bus, or on X11 the owner of the system tray selection. Calls onChange
// with each answer that differs from the last.
//
// It looks again on the events that announce a change (the watcher's name owner and its host
// signals on the bus; a tray's MANAGER message on the root window and the destruction of the
// tray's window on X11), so a program at rest is not woken to ask; only where neither kind of
// event can be followed does it ask every few seconds.
//
// QSystemTrayIcon::isSystemTrayAvailable() is not asked: the toolkit remembers its first
// answer about the session bus for the whole run, so asking while there is no host would keep
// the icon away from one that comes later. The icon is shown only once a host is found.
class TrayWatch : public QObject, public QAbstractNativeEventFilter {
  Q_OBJECT

 public:
  explicit TrayWatch(QObject* parent = nullptr);
  ~TrayWatch() override;

  // Looks now; the first call also starts following the changes.
  bool probe();
  bool present() const { return present_; }
  // Whether it asks every few seconds (no event to follow).
  bool polling() const { return timer_.isActive(); }

  std::function<void(bool present)> onChange;

  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 private slots:
  void lookSoon();

 private:
  static bool statusNotifierHost();
  bool x11TrayOwner();
  bool followBus();
  bool followX11();

  QTimer timer_;
  QTimer soon_;
  bool present_ = false;
  bool probed_ = false;
  // X11: the tray selection, the MANAGER message type and the window followed for its end.
  std::uint32_t selection_ = 0, manager_ = 0, owner_ = 0;
  bool x11_ = false;
};

}  // namespace tarvik
