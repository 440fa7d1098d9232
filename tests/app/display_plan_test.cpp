#include "app/display_plan.h"

#include <gtest/gtest.h>

namespace tarvik {
namespace {

TEST(DisplayPlan, PicksWhatCanBeReachedOrNothing) {
  // Nobody chose: X11 (through XWayland) first, native Wayland without it, else no display.
  EXPECT_EQ(planDisplay("", true, true, true), DisplayPlan::PreferX11);
  EXPECT_EQ(planDisplay("", false, true, true), DisplayPlan::UseWayland);
  EXPECT_EQ(planDisplay("", false, true, false), DisplayPlan::None);
  EXPECT_EQ(planDisplay("", false, false, true), DisplayPlan::None);
  // The user's choice stands while it can be reached, and is never swapped for another.
  EXPECT_EQ(planDisplay("wayland", true, true, true), DisplayPlan::Keep);
  EXPECT_EQ(planDisplay("wayland", true, false, true), DisplayPlan::None);
  EXPECT_EQ(planDisplay("xcb", false, true, true), DisplayPlan::None);
  EXPECT_EQ(planDisplay("xcb", true, false, false), DisplayPlan::Keep);
  EXPECT_EQ(planDisplay("offscreen", false, false, false), DisplayPlan::Keep);
  EXPECT_EQ(planDisplay("wayland;xcb", false, false, false), DisplayPlan::Keep);
}

}  // namespace
}  // namespace tarvik
