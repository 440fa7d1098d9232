#pragma once

#include "settings/dialog_fit.h"

class QWidget;

namespace tarvik {

// The free part of the primary screen, in the logical pixels the dialog is laid out in.
DialogFit fitToScreen();

// Group boxes and rows packed as tightly as the captions allow; the letter-spaced group titles
// a size smaller than the controls.
void compact(QWidget* root, int titlePixels);

}  // namespace tarvik
