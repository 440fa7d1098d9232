#pragma once

namespace tarvik {

struct ScreenSize {
  int width = 0;
  int height = 0;
};

// A rectangle of the screen in screen pixels, such as the part the panels leave free.
struct ScreenArea {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

struct WindowPoint {
  int x = 0;
  int y = 0;
  bool operator==(const WindowPoint&) const = default;
};

struct WindowSize {
  int width = 0;
  int height = 0;
};

// Window edges closer than this to a screen edge jump to it while edge snapping is on.
inline constexpr int kSnapDistance = 18;
// A fade changes the window's alpha by this much per step.
inline constexpr int kFadeStep = 5;
inline constexpr int kOpaque = 255;
// The settings dialog offers 0 .. 75 % transparency; stored values outside are kept inside it so
// that the window never becomes invisible.
inline constexpr int kMaxOpacityPercent = 75;

// Top-left corner of the window from the stored position: measured from the screen's top-left
// corner (origin 1) or from its bottom-right corner (any other origin).
WindowPoint placeWindow(int origin, int x, int y, ScreenSize screen);

// The same corner, moved only as far as it takes to keep a window of `window`'s size wholly
// inside `area`, the part of the screen the panels leave free (as a drag keeps it). A position
// stored under another screen size or scale factor, or typed into the position fields up to
// their limits, would otherwise leave part of the window out of sight or under a panel. A
// window larger than the area keeps its left and top edges in it.
WindowPoint placeWindowInside(int origin, int x, int y, WindowSize window, ScreenSize screen,
                              ScreenArea area);

// The largest "X" and "Y" the settings dialog offers: the screen's size less kScreenMargin.
ScreenSize positionLimits(ScreenSize screen);

// The stored position ("X", "Y") of a window whose top-left corner is at `topLeft`.
WindowPoint storedPosition(int origin, WindowPoint topLeft, ScreenSize screen);

// One step of a drag: the window follows the cursor, stays inside `area` (the part of the
// screen the desktop's panels leave free: a window manager keeps windows out of its panels, so
// a position below a panel would be stored but never taken) and with `snapping` jumps to an
// edge of the area it comes within kSnapDistance of (right and bottom edges checked first).
WindowPoint dragPosition(WindowPoint cursor, WindowPoint grab, int windowWidth, int windowHeight,
                         ScreenArea area, bool snapping);

// Alpha of the shown window: (100 - percent) * 255 / 100 with transparency on, else opaque.
int targetOpacity(bool transparent, int opacityPercent);

// The next level of a fade-in and whether the fade is finished.
struct FadeStep {
  int level;
  bool done;
};
FadeStep fadeInStep(int level, bool transparent, int target);
FadeStep fadeOutStep(int level);

}  // namespace tarvik
