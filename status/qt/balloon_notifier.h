#pragma once

#include <QString>
#include <QSystemTrayIcon>

namespace tarvik {

// Puts balloons on screen: through the desktop's notification service when one runs (a newer
// balloon replaces the previous one by its id), else through the tray icon's own balloon.
class BalloonNotifier {
 public:
  explicit BalloonNotifier(QSystemTrayIcon& tray) : tray_(tray) {}

  void show(const QString& title, const QString& text, int timeoutMs);
  // Removes the balloon on screen, if any.
  void remove();

  // The id the notification service gave the last balloon (0 = none); for tests.
  uint lastId() const { return lastId_; }

 private:
  bool serviceRuns() const;

  QSystemTrayIcon& tray_;
  uint lastId_ = 0;
  bool trayBalloonShown_ = false;
};

}  // namespace tarvik
