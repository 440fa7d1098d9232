#include "settings/dialog_fit.h"

#include <algorithm>
#include <cmath>

namespace tarvik {

DialogFit fitDialog(int availableWidth, int availableHeight) {
  const double room =
      std::min(static_cast<double>(availableWidth - kDialogFrameWidth) / kDialogDesign.width,
               static_cast<double>(availableHeight - kDialogFrameHeight) / kDialogDesign.height);
  if (room >= 1.0) return kDialogDesign;
  auto font = [&](int pixels) {
    return std::max(kDialogMinFontPixels, static_cast<int>(std::floor(pixels * room)));
  };
  // A dialog too small for its smallest text would clip the captions anyway; below that the
  // screen gets the dialog at the smallest text's size and the window manager its edge.
  const double scale =
      std::max(room, static_cast<double>(kDialogMinFontPixels) / kDialogDesign.fontPixels);
  return {static_cast<int>(std::floor(kDialogDesign.width * scale)),
          static_cast<int>(std::floor(kDialogDesign.height * scale)),
          font(kDialogDesign.fontPixels), font(kDialogDesign.titlePixels)};
}

}  // namespace tarvik
