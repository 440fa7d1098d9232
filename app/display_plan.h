#pragma once

#include <string_view>

namespace tarvik {

// Which window system the program runs on, decided before the toolkit starts: the toolkit
// aborts when the one it tries cannot be reached.
enum class DisplayPlan {
  Keep,        // the user's choice, or the toolkit's own, can be reached
  PreferX11,   // X11, through XWayland on a Wayland session: placement and shaping need it
  UseWayland,  // no X server, but a Wayland compositor and the toolkit's plugin for it
  None,        // nothing to show a window on
};

// `chosen`: the platform the user named (QT_QPA_PLATFORM or -platform), empty when none.
DisplayPlan planDisplay(std::string_view chosen, bool x11Reachable, bool waylandReachable,
                        bool waylandPlugin);

// The one line on stderr of a start without a display.
inline constexpr std::string_view kNoDisplayLine =
    "tarvik: no display: neither an X server (DISPLAY) nor a Wayland compositor "
    "(WAYLAND_DISPLAY) can be reached.";

}  // namespace tarvik
