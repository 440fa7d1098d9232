#pragma once

namespace tarvik {

// The settings dialog's client size and font sizes, in the screen's logical pixels (those of
// the window system, already divided by any scale factor).
struct DialogFit {
  int width = 0;
  int height = 0;
  int fontPixels = 0;   // the controls' text
  int titlePixels = 0;  // the letter-spaced group titles
  bool operator==(const DialogFit&) const = default;
};

// The dialog's own size: ten pages of controls share 750 x 235 pixels, so a small face keeps
// every caption whole.
inline constexpr DialogFit kDialogDesign{750, 235, 8, 7};

// What a window manager adds around the client area (borders and title bar), allowed for when
// checking that the dialog fits the screen.
inline constexpr int kDialogFrameWidth = 8;
inline constexpr int kDialogFrameHeight = 32;

// Text never shrinks below this, however small the screen.
inline constexpr int kDialogMinFontPixels = 5;

// The design size when the free part of the screen holds it with its frame. A high scale
// factor on a small screen (2 on 1280 x 800 leaves 640 x 400) does not: the dialog then shrinks
// as a whole by one factor, its fonts rounded down to whole pixels so that every caption still
// fits the smaller controls, instead of reaching past the screen's edge with its buttons.
DialogFit fitDialog(int availableWidth, int availableHeight);

}  // namespace tarvik
