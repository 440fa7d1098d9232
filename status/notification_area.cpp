#include "status/notification_area.h"

namespace tarvik {

bool NotificationArea::report(bool present) {
  const bool changed = present != present_;
  if (known_ && !changed) return false;
  known_ = true;
  present_ = present;
  log_.append(present ? " Notification area: available." : " Notification area: none.");
  return changed;
}

BalloonRoute NotificationArea::balloonRoute(bool serviceRuns) const {
  if (serviceRuns) return BalloonRoute::Service;
  return present_ ? BalloonRoute::TrayBalloon : BalloonRoute::Popup;
}

std::string refusedAbilitiesLine(const WindowAbilities& abilities) {
  std::string refused;
  const auto add = [&refused](bool allowed, const char* what) {
    if (allowed) return;
    refused += refused.empty() ? " " : ", ";
    refused += what;
  };
  add(abilities.placement, "window placement");
  add(abilities.shaping, "shaping");
  add(abilities.onTop, "staying on top");
  add(abilities.opacity, "opacity");
  return refused.empty() ? std::string() : " Desktop refuses" + refused + ".";
}

}  // namespace tarvik
