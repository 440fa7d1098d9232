#include "app/display_plan.h"

namespace tarvik {

DisplayPlan planDisplay(std::string_view chosen, bool x11Reachable, bool waylandReachable,
                        bool waylandPlugin) {
  if (!chosen.empty()) {
    // A list of platforms to try, or one that needs no display (offscreen, vnc...): the
    // toolkit's business.
    if (chosen.find(';') != std::string_view::npos) return DisplayPlan::Keep;
    if (chosen.starts_with("xcb")) return x11Reachable ? DisplayPlan::Keep : DisplayPlan::None;
    if (chosen.starts_with("wayland"))
      return waylandReachable ? DisplayPlan::Keep : DisplayPlan::None;
    return DisplayPlan::Keep;
  }
  if (x11Reachable) return DisplayPlan::PreferX11;
  if (waylandReachable && waylandPlugin) return DisplayPlan::UseWayland;
  return DisplayPlan::None;
}

}  // namespace tarvik
