#pragma once

#include <QObject>
#include <QSystemTrayIcon>
#include <QTimer>
#include <functional>
#include <memory>
#include <string_view>

#include "config/program_files.h"
#include "platform/timer.h"
#include "status/qt/balloon_notifier.h"

namespace tarvik {

// The icon in the notification area: the state icon of the chosen family, the tooltip, the
// balloons and the mouse. A single click is held back for the double-click time, so that a
// double-click opens the statistics without showing the status window first. While disabled
// (a delayed start) clicks, the menu and balloons are ignored; icon and tooltip still change.
class TrayIcon : public QObject {
  Q_OBJECT

 public:
  TrayIcon(ProgramFiles files, TimerFactory& timers, QObject* parent = nullptr);
  ~TrayIcon() override;

  // The engine's t_baloon; without it the icon uses a timer of its own.
  void setBalloonTimer(Timer& t_baloon);

  void setEnabled(bool enabled) { enabled_ = enabled; }
  bool enabled() const { return enabled_; }
  // The icon of a state code in the family the "Icon" key chooses.
  void showState(std::string_view code);
  void setHint(std::string_view hint);
  // A balloon that obeys "HelpShow" and, when `optional`, "Baloon"; it stays "HelpTime" s.
  void balloon(std::string_view title, std::string_view text, bool optional);

  std::function<void()> onClick;
  std::function<void()> onDoubleClick;
  std::function<void()> onContextMenu;

  QSystemTrayIcon& icon() { return tray_; }
  BalloonNotifier& notifier() { return notifier_; }

 private:
  void activated(QSystemTrayIcon::ActivationReason reason);
  void removeBalloon();

  ProgramFiles files_;
  QSystemTrayIcon tray_;
  BalloonNotifier notifier_;
  std::unique_ptr<Timer> ownBalloonTimer_;
  Timer* balloonTimer_ = nullptr;
  bool enabled_ = true;
  QTimer clickTimer_;  // holds a single click back for the double-click time
  bool clickPending_ = false;
};

}  // namespace tarvik
