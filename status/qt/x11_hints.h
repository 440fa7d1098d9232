#pragma once

class QWidget;

namespace tarvik {

// Asks the window manager to keep `window` out of the taskbar and the pager and above other
// windows. Must be called before each showing: window managers drop these states when the
// window is withdrawn. Does nothing outside X11.
void askToSkipTaskbar(QWidget* window);

// Whether a window manager that reads the desktop's window hints runs on this X display. One
// that does not (none at all, or twm) would give the status window a title bar and place it
// as it likes; the window then bypasses it. True outside X11.
bool windowManagerHonoursHints();

// Whether the program runs on X11 through a Wayland compositor's XWayland. The compositor
// places such windows as it likes unless they bypass its window manager, and shows each one's
// whole rectangle: only transparent pixels cut a window to its outline.
bool throughXWayland();

// Sends the requests the toolkit has queued for the X server now. Property changes such as a
// window's opacity otherwise wait until some input event makes the toolkit flush, which may
// be many seconds later. Does nothing outside X11.
void flushToDisplay();

}  // namespace tarvik

namespace tarvik {

// Window placement, shaping, staying on top and cursor polling need X11: on a Wayland session the
// program runs through XWayland unless the user chose a platform (QT_QPA_PLATFORM or
// -platform). Call before the application object is created.
void preferX11Platform(int argc, char** argv);

}  // namespace tarvik
