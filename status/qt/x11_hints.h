#pragma once

class QWidget;

namespace tarvik {

// Asks the window manager to keep `window` out of the taskbar and the pager and above other
// windows. Must be called before each showing: window managers drop these states when the
// window is withdrawn. Does nothing outside X11.
void askToSkipTaskbar(QWidget* window);

}  // namespace tarvik
