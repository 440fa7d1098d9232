#include "settings/dialog_fit.h"

#include <gtest/gtest.h>

namespace tarvik {
namespace {

// The free part of a 1280 x 800 screen with a 26-pixel panel, at the scale factors 1, 1.5, 2.
TEST(DialogFit, KeepsItsSizeWhereItFitsAndShrinksWholeWhereItDoesNot) {
  EXPECT_EQ(fitDialog(1280, 800 - 26), kDialogDesign);
  EXPECT_EQ(fitDialog(853, 533 - 17), kDialogDesign);
  // Exactly room enough, frame included.
  EXPECT_EQ(fitDialog(750 + kDialogFrameWidth, 235 + kDialogFrameHeight), kDialogDesign);

  const DialogFit small = fitDialog(640, 400 - 13);
  EXPECT_LE(small.width + kDialogFrameWidth, 640);
  EXPECT_LE(small.height + kDialogFrameHeight, 400 - 13);
  // One factor for the whole dialog: its proportions stay, so the pages lay out as designed.
  EXPECT_NEAR(static_cast<double>(small.width) / small.height, 750.0 / 235.0, 0.02);
  // The text shrinks at least as much as the room, or the captions would be clipped.
  EXPECT_LE(small.fontPixels * 750, 8 * small.width);
  EXPECT_LE(small.titlePixels * 750, 7 * small.width);
  EXPECT_EQ(small.fontPixels, 6);
  EXPECT_EQ(small.titlePixels, 5);

  // No screen is so small that the text becomes unreadable; the dialog then stays at the size
  // of its smallest text.
  const DialogFit tiny = fitDialog(200, 100);
  EXPECT_EQ(tiny.fontPixels, kDialogMinFontPixels);
  EXPECT_EQ(tiny.titlePixels, kDialogMinFontPixels);
  EXPECT_EQ(tiny.width, 750 * kDialogMinFontPixels / 8);
}

}  // namespace
}  // namespace tarvik
