#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

namespace tarvik {

// Looks for a notification area now and every few seconds: a StatusNotifier host on the
// session bus, or on X11 the owner of the system tray selection. Calls onChange with each
// answer that differs from the last.
//
// QSystemTrayIcon::isSystemTrayAvailable() is not asked: the toolkit remembers its first
// answer about the session bus for the whole run, so asking while there is no host would keep
// the icon away from one that comes later. The icon is shown only once a host is found.
class TrayWatch : public QObject {
  Q_OBJECT

 public:
  explicit TrayWatch(QObject* parent = nullptr);

  // Looks now; the first call also starts the periodic look.
  bool probe();
  bool present() const { return present_; }

  std::function<void(bool present)> onChange;

 private:
  static bool statusNotifierHost();
  static bool x11TrayOwner();

  QTimer timer_;
  bool present_ = false;
  bool probed_ = false;
};

}  // namespace tarvik
