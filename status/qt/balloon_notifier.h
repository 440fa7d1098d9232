#pragma once

#include <QPointer>
#include <QString>
#include <QSystemTrayIcon>
#include <functional>
#include <memory>

#include "status/notification_area.h"
#include "status/qt/balloon_popup.h"

namespace tarvik {

// Puts balloons on screen: through the desktop's notification service when one runs (a newer
// balloon replaces the previous one by its id), else through the tray icon's own balloon, and
// where there is no notification area either, through a popup beside the status window. The
// choice is the route's (by default: the service, else the tray).
class BalloonNotifier {
 public:
  explicit BalloonNotifier(QSystemTrayIcon& tray);
  ~BalloonNotifier();

  void setRoute(std::function<BalloonRoute(bool serviceRuns)> route) { route_ = std::move(route); }
  // The window the popup stands beside.
  void setAnchor(QWidget* anchor) { anchor_ = anchor; }

  void show(const QString& title, const QString& text, int timeoutMs);
  // Removes the balloon on screen, if any.
  void remove();

  // The id the notification service gave the last balloon (0 = none); for tests.
  uint lastId() const { return lastId_; }
  // The popup, once one was needed; for tests.
  BalloonPopup* popup() const { return popup_.get(); }

 private:
  bool serviceRuns() const;

  QSystemTrayIcon& tray_;
  std::function<BalloonRoute(bool)> route_;
  QPointer<QWidget> anchor_;
  std::unique_ptr<BalloonPopup> popup_;
  uint lastId_ = 0;
  bool trayBalloonShown_ = false;
};

}  // namespace tarvik
