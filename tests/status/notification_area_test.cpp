#include "status/notification_area.h"

#include <gtest/gtest.h>

#include "platform/virtual_clock.h"
#include "support/temp_dir.h"

namespace tarvik {
namespace {

// A desktop without a notification area at start, one that appears later and goes again:
// the log says so once per change, and the window, its hiding and the balloons follow.
TEST(NotificationArea, AbsentAppearingAndGoneAgain) {
  test::TempDir dir;
  VirtualClock clock{makeLocalTime(2026, 12, 8, 14, 0, 0)};
  EventLog log{dir / "Tarvik.LOG", clock};
  NotificationArea area(log);
  // Before any probe the program behaves as it always did.
  EXPECT_FALSE(area.known());
  EXPECT_TRUE(area.windowMayHide());
  EXPECT_FALSE(area.mustShowWindow(false, true));

  EXPECT_TRUE(area.report(false));
  EXPECT_FALSE(area.report(false));
  EXPECT_EQ(test::readBytes(dir / "Tarvik.LOG"), " Notification area: none.\r\n");
  EXPECT_FALSE(area.windowMayHide());
  EXPECT_TRUE(area.mustShowWindow(false, true));
  EXPECT_FALSE(area.mustShowWindow(true, true));
  EXPECT_FALSE(area.mustShowWindow(false, false));  // inert or not ready yet
  EXPECT_EQ(area.balloonRoute(false), BalloonRoute::Popup);
  EXPECT_EQ(area.balloonRoute(true), BalloonRoute::Service);

  EXPECT_TRUE(area.report(true));
  EXPECT_FALSE(area.report(true));
  EXPECT_TRUE(area.windowMayHide());
  EXPECT_FALSE(area.mustShowWindow(false, true));
  EXPECT_EQ(area.balloonRoute(false), BalloonRoute::TrayBalloon);

  EXPECT_TRUE(area.report(false));
  EXPECT_EQ(test::readBytes(dir / "Tarvik.LOG"),
            " Notification area: none.\r\n Notification area: available.\r\n"
            " Notification area: none.\r\n");
}

TEST(NotificationArea, PresentAtStartIsLoggedButChangesNothing) {
  test::TempDir dir;
  VirtualClock clock{makeLocalTime(2026, 12, 8, 14, 0, 0)};
  EventLog log{dir / "Tarvik.LOG", clock};
  NotificationArea area(log);
  EXPECT_FALSE(area.report(true));
  EXPECT_TRUE(area.known());
  EXPECT_EQ(test::readBytes(dir / "Tarvik.LOG"), " Notification area: available.\r\n");

  EXPECT_EQ(refusedAbilitiesLine({}), "");
  EXPECT_EQ(refusedAbilitiesLine({false, false, false, false}),
            " Desktop refuses window placement, shaping, staying on top, opacity.");
  EXPECT_EQ(refusedAbilitiesLine({true, false, true, false}), " Desktop refuses shaping, opacity.");
}

}  // namespace
}  // namespace tarvik
