#pragma once

#include <string>

#include "platform/event_log.h"

namespace tarvik {

// How a balloon reaches the user: the desktop's notification service, the tray icon's own
// balloon, or a small popup beside the status window when there is neither.
enum class BalloonRoute { Service, TrayBalloon, Popup };

// Whether the desktop has a notification area, and what the program does about it. Many
// desktops have none (a bare window manager, or one without its tray extension); there the
// status window is the only way into the program, so it must never go away: it does not hide
// and it comes back when the area disappears. Until the first probe the area counts as
// present, which is how the program behaved before anyone asked.
class NotificationArea {
 public:
  explicit NotificationArea(EventLog& log) : log_(log) {}

  // A probe's answer. The first answer and every change are logged; returns true when the
  // presence changed (the first answer changes it only when there is no area).
  bool report(bool present);

  bool known() const { return known_; }
  bool present() const { return present_; }

  // Whether anything may hide the status window: its button, "Статус   [скрыть]", the
  // double-click action and the timer after a disconnection.
  bool windowMayHide() const { return present_; }
  // Whether a hidden status window must be shown now. `usable` is false while it is not ready
  // (no skin yet) or waits inert for a delayed start to end.
  bool mustShowWindow(bool shown, bool usable) const { return !present_ && !shown && usable; }
  // The way a balloon goes, given whether the notification service runs.
  BalloonRoute balloonRoute(bool serviceRuns) const;

 private:
  EventLog& log_;
  bool known_ = false;
  bool present_ = true;
};

// What a native Wayland compositor does not let a window do, and the program's one log line
// about it. Each is true when the desktop allows it.
struct WindowAbilities {
  bool placement = true;
  bool shaping = true;
  bool onTop = true;
  bool opacity = true;
};

// " Desktop refuses window placement, shaping, staying on top, opacity." for what is refused;
// empty when nothing is.
std::string refusedAbilitiesLine(const WindowAbilities& abilities);

}  // namespace tarvik
