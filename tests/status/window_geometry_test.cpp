// Where the status window sits, snaps and stays while dragged, and how opaque it is.
#include "status/window_geometry.h"

#include <gtest/gtest.h>

namespace tarvik {
namespace {

TEST(WindowGeometry, PlacementFromEitherCorner) {
  const ScreenSize screen{1024, 768};
  EXPECT_EQ(placeWindow(0, 99, 56, screen), (WindowPoint{925, 712}));
  EXPECT_EQ(placeWindow(1, 99, 56, screen), (WindowPoint{99, 56}));
  EXPECT_EQ(placeWindow(7, 10, 10, screen), (WindowPoint{1014, 758}));
  EXPECT_EQ(storedPosition(0, {925, 712}, screen), (WindowPoint{99, 56}));
  EXPECT_EQ(storedPosition(1, {925, 712}, screen), (WindowPoint{925, 712}));
}

TEST(WindowGeometry, DragSnapsWithin18Pixels) {
  const ScreenArea screen{0, 0, 1024, 768};
  const WindowPoint grab{5, 5};
  // Left edge 17 pixels in snaps to 0; 18 pixels stays.
  EXPECT_EQ(dragPosition({22, 300}, grab, 99, 26, screen, true).x, 0);
  EXPECT_EQ(dragPosition({23, 300}, grab, 99, 26, screen, true).x, 18);
  // Right edge: 17 pixels from it snaps flush, 18 stays.
  EXPECT_EQ(dragPosition({1024 - 99 - 17 + 5, 300}, grab, 99, 26, screen, true).x, 1024 - 99);
  EXPECT_EQ(dragPosition({1024 - 99 - 18 + 5, 300}, grab, 99, 26, screen, true).x, 1024 - 99 - 18);
  EXPECT_EQ(dragPosition({300, 768 - 26 - 10 + 5}, grab, 99, 26, screen, true).y, 768 - 26);
  EXPECT_EQ(dragPosition({300, 10}, grab, 99, 26, screen, true).y, 0);
}

TEST(WindowGeometry, DragWithoutSnappingStaysOnScreen) {
  const ScreenArea screen{0, 0, 1024, 768};
  EXPECT_EQ(dragPosition({5000, 300}, {0, 0}, 99, 26, screen, false), (WindowPoint{925, 300}));
  EXPECT_EQ(dragPosition({-40, -40}, {0, 0}, 99, 26, screen, false), (WindowPoint{0, 0}));
  EXPECT_EQ(dragPosition({1, 1}, {0, 0}, 99, 26, screen, false), (WindowPoint{1, 1}));
  // A window wider than the screen sits at the left edge.
  EXPECT_EQ(dragPosition({50, 50}, {0, 0}, 2000, 26, screen, false).x, 0);
}

TEST(WindowGeometry, DragStaysOutOfThePanels) {
  // An 800-pixel screen with a 26-pixel panel at the bottom and a 30-pixel one on the left.
  const ScreenArea area{30, 0, 770, 774};
  const WindowPoint grab{5, 5};
  EXPECT_EQ(dragPosition({300, 790}, grab, 99, 26, area, true), (WindowPoint{295, 748}));
  EXPECT_EQ(dragPosition({300, 790}, grab, 99, 26, area, false), (WindowPoint{295, 748}));
  EXPECT_EQ(dragPosition({300, 748 - 18 + 5}, grab, 99, 26, area, true).y, 748 - 18);
  EXPECT_EQ(dragPosition({300, 748 - 17 + 5}, grab, 99, 26, area, true).y, 748);
  // The left edge of the free area counts as the screen's edge: 17 pixels from it snaps.
  EXPECT_EQ(dragPosition({30 + 17 + 5, 300}, grab, 99, 26, area, true).x, 30);
  EXPECT_EQ(dragPosition({30 + 18 + 5, 300}, grab, 99, 26, area, true).x, 48);
  EXPECT_EQ(dragPosition({0, 300}, grab, 99, 26, area, false).x, 30);
}

TEST(WindowGeometry, Opacity) {
  EXPECT_EQ(targetOpacity(true, 25), 191);
  EXPECT_EQ(targetOpacity(true, 75), 63);
  EXPECT_EQ(targetOpacity(true, 0), 255);
  EXPECT_EQ(targetOpacity(false, 75), 255);
  // Out-of-range stored values never make the window invisible or wrap around.
  EXPECT_EQ(targetOpacity(true, 100), 63);
  EXPECT_EQ(targetOpacity(true, -20), 255);
}

}  // namespace
}  // namespace tarvik
