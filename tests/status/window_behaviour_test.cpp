#include "status/window_behaviour.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "config/ini_file.h"
#include "platform/virtual_clock.h"
#include "status/window_geometry.h"
#include "support/fake_user.h"

namespace tarvik {
namespace {

class FakeSurface : public WindowSurface {
 public:
  bool shown = false;
  bool alpha = true;
  int level = -1;
  std::vector<int> levels;
  int raised = 0;
  WindowPoint pos;
  std::optional<WindowPoint> cursor;
  ScreenArea area{0, 0, 1024, 768};
  ScreenSize screen{1024, 768};
  WindowSize window{99, 26};

  bool isShown() const override { return shown; }
  void showWindow() override { shown = true; }
  void hideWindow() override { shown = false; }
  void raiseWindow() override { ++raised; }
  bool supportsAlpha() const override { return alpha; }
  void setAlpha(int l) override {
    level = l;
    levels.push_back(l);
  }
  void moveWindow(WindowPoint p) override { pos = p; }
  WindowPoint windowPosition() const override { return pos; }
  int windowWidth() const override { return window.width; }
  int windowHeight() const override { return window.height; }
  ScreenSize screenSize() const override { return screen; }
  ScreenArea availableArea() const override { return area; }
  std::optional<WindowPoint> cursorPosition() const override { return cursor; }
};

// The settings dialog: shown or not, and the window positions it was given.
struct FakeSettings : SettingsWindow {
  bool open = false;
  std::vector<WindowPoint> copied;
  bool shown() const override { return open; }
  void applyAndClose() override {}
  void cancel() override {}
  void showWindowPosition(int left, int top) override { copied.push_back({left, top}); }
};

class WindowBehaviourTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* base = std::getenv("TARVIK_TEST_TMP");
    dir = std::filesystem::path(base ? base : std::filesystem::temp_directory_path().string()) /
          ("window_behaviour_" +
           std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    files.dir = dir;
    log = std::make_unique<EventLog>(files.eventLog(), clock);
    behaviour = std::make_unique<WindowBehaviour>(clock, surface, files, *log, user);
    behaviour->setSettingsWindow(&settings);
  }
  void TearDown() override {
    behaviour.reset();
    std::filesystem::remove_all(dir);
  }
  // Fires timers until the fade ends, counting its steps.
  int runFade(const char* timer) {
    int steps = 0;
    clock.clearFired();
    for (int i = 0; i < 100000 && behaviour->fading(); ++i) clock.advance(1);
    for (const auto& name : clock.fired())
      if (name == timer) ++steps;
    return steps;
  }

  VirtualClock clock;
  FakeSurface surface;
  FakeSettings settings;
  test::FakeUser user;
  ProgramFiles files;
  std::filesystem::path dir;
  std::unique_ptr<EventLog> log;
  std::unique_ptr<WindowBehaviour> behaviour;
};

TEST_F(WindowBehaviourTest, FadeInTakes51StepsToOpaque) {
  behaviour->apply(WindowSettings{});
  behaviour->show();
  EXPECT_TRUE(surface.shown);
  EXPECT_EQ(surface.level, 0);  // starts invisible
  EXPECT_TRUE(behaviour->fading());
  EXPECT_EQ(runFade("t_fade_a"), 51);
  EXPECT_EQ(surface.level, 255);
  EXPECT_FALSE(behaviour->t_fade_a().enabled());
}

TEST_F(WindowBehaviourTest, FadeInStopsAtTransparency) {
  WindowSettings s;
  s.transparent = true;
  s.opacity = 75;
  behaviour->apply(s);
  EXPECT_EQ(surface.level, 63);
  surface.levels.clear();
  behaviour->show();
  EXPECT_EQ(runFade("t_fade_a"), 13);
  EXPECT_EQ(surface.level, 63);
  EXPECT_EQ(*std::max_element(surface.levels.begin(), surface.levels.end()), 63);
}

TEST_F(WindowBehaviourTest, SwitchingTransparencyOffMakesTheWindowOpaque) {
  WindowSettings s;
  s.transparent = true;
  behaviour->apply(s);
  EXPECT_EQ(surface.level, 191);
  s.transparent = false;
  behaviour->apply(s);
  EXPECT_EQ(surface.level, 255);
  // With transparency off from the start the settings leave the alpha alone.
  surface.level = -1;
  behaviour->apply(s);
  EXPECT_EQ(surface.level, -1);
}

// The settings dialog's preview: the window takes the new transparency at once, full
// opacity for 0, but never in the middle of a fade; the next apply puts the stored one back.
TEST_F(WindowBehaviourTest, TransparencyPreviewWaitsForFades) {
  behaviour->apply(WindowSettings{});
  behaviour->previewTransparency(40);
  EXPECT_EQ(surface.level, 153);
  behaviour->previewTransparency(0);
  EXPECT_EQ(surface.level, 255);
  behaviour->show();
  EXPECT_TRUE(behaviour->fading());
  const int duringFade = surface.level;
  behaviour->previewTransparency(75);
  EXPECT_EQ(surface.level, duringFade);
  runFade("t_fade_a");
  EXPECT_EQ(surface.level, 63);  // the fade-in ends at the previewed transparency
  behaviour->apply(WindowSettings{});
  EXPECT_EQ(surface.level, 255);
}

TEST_F(WindowBehaviourTest, FadeOutAtSpeed50Takes51Steps) {
  WindowSettings s;
  s.speed = 50;
  behaviour->apply(s);
  surface.shown = true;
  behaviour->hide();
  EXPECT_TRUE(surface.shown);  // still visible while fading out
  const auto before = clock.ticks();
  EXPECT_EQ(runFade("t_fade_z"), 51);
  EXPECT_FALSE(surface.shown);
  EXPECT_EQ(clock.ticks() - before, 51 * 50);
  EXPECT_EQ(surface.level, 0);
}

TEST_F(WindowBehaviourTest, ShowDuringFadeOutKeepsTheWindow) {
  behaviour->apply(WindowSettings{});
  surface.shown = true;
  behaviour->hide();
  clock.advance(200);
  behaviour->show();
  EXPECT_FALSE(behaviour->fading());
  clock.advance(5000);
  EXPECT_TRUE(surface.shown);
  EXPECT_EQ(surface.level, 255);
}

TEST_F(WindowBehaviourTest, WithoutAlphaOrFadeShowsAndHidesAtOnce) {
  surface.alpha = false;
  behaviour->apply(WindowSettings{});
  surface.shown = true;
  behaviour->hide();
  EXPECT_FALSE(surface.shown);
  // Nor does it fade in: no fade runs that could keep a drag from starting.
  behaviour->show();
  EXPECT_TRUE(surface.shown);
  EXPECT_FALSE(behaviour->fading());
  EXPECT_FALSE(behaviour->t_fade_a().enabled());
  behaviour->hide();
  WindowSettings s;
  s.fade = false;
  surface.alpha = true;
  behaviour->apply(s);
  behaviour->show();
  EXPECT_TRUE(surface.shown);
  EXPECT_FALSE(behaviour->fading());
  behaviour->hide();
  EXPECT_FALSE(surface.shown);
}

TEST_F(WindowBehaviourTest, DragFollowsCursorAndSavesPosition) {
  WindowSettings s;
  s.fade = false;
  behaviour->apply(s);
  EXPECT_EQ(surface.pos, (WindowPoint{925, 712}));
  surface.shown = true;
  settings.open = true;
  behaviour->dragStart({10, 5});
  surface.cursor = WindowPoint{510, 305};
  clock.advance(10);
  EXPECT_EQ(surface.pos, (WindowPoint{500, 300}));
  surface.cursor = WindowPoint{15, 305};  // 5 pixels from the left edge: snaps
  clock.advance(10);
  EXPECT_EQ(surface.pos, (WindowPoint{0, 300}));
  behaviour->dragEnd();
  EXPECT_FALSE(behaviour->dragging());
  IniFile config(files.config());
  EXPECT_EQ(config.readInt("Olm:TK", "X", 0), 1024);
  EXPECT_EQ(config.readInt("Olm:TK", "Y", 0), 468);
  // The settings dialog gets the position a quarter second later.
  clock.advance(250);
  ASSERT_EQ(settings.copied.size(), 1u);
  EXPECT_EQ(settings.copied[0], (WindowPoint{0, 300}));

  // Dropped on a 26-pixel panel at the bottom: kept above it and stored where it is, measured
  // from the whole screen's corner, so that it comes back there.
  surface.area = {0, 0, 1024, 768 - 26};
  behaviour->dragStart({10, 5});
  surface.cursor = WindowPoint{510, 760};
  clock.advance(10);
  behaviour->dragEnd();
  EXPECT_EQ(surface.pos, (WindowPoint{500, 768 - 26 - 26}));
  EXPECT_EQ(config.readInt("Olm:TK", "Y", 0), 52);
  behaviour->apply(readWindowSettings(config));
  EXPECT_EQ(surface.pos, (WindowPoint{500, 768 - 26 - 26}));
}

// A 1280 x 800 screen at the scale factors 1, 1.5 and 2 is 1280 x 800, 853 x 533 and 640 x 400
// logical pixels; the window (99 x 26, the compact standard skin) is measured in the same units.
TEST_F(WindowBehaviourTest, WindowStaysOnScreenAtEveryScaleFactor) {
  for (const double factor : {1.0, 1.5, 2.0}) {
    SCOPED_TRACE(factor);
    const int w = static_cast<int>(1280 / factor);
    const int h = static_cast<int>(800 / factor);
    surface.screen = {w, h};
    surface.area = {0, 0, w, h};
    surface.window = {99, 26};
    auto inside = [&] {
      return surface.pos.x >= 0 && surface.pos.y >= 0 && surface.pos.x + 99 <= w &&
             surface.pos.y + 26 <= h;
    };
    WindowSettings s;
    s.fade = false;
    behaviour->apply(s);  // the defaults: 99 and 56 from the bottom-right corner
    EXPECT_EQ(surface.pos, (WindowPoint{w - 99, h - 56}));

    // Stored from the top-left at scale 1 near the bottom-right corner: kept on screen at the
    // larger factors, flush with the edges it would have crossed.
    s.origin = 1;
    s.x = 1150;
    s.y = 760;
    behaviour->apply(s);
    EXPECT_TRUE(inside());
    if (factor > 1)
      EXPECT_EQ(surface.pos, (WindowPoint{w - 99, h - 26}));
    else
      EXPECT_EQ(surface.pos, (WindowPoint{1150, 760}));

    // Closer to the bottom-right corner than the window is large, and the dialog's limits.
    s.origin = 0;
    s.x = 20;
    s.y = 10;
    behaviour->apply(s);
    EXPECT_EQ(surface.pos, (WindowPoint{w - 99, h - 26}));
    const ScreenSize limits = positionLimits(surface.screen);
    EXPECT_EQ(limits.width, w - 5);
    for (const int origin : {0, 1}) {
      s.origin = origin;
      s.x = limits.width;
      s.y = limits.height;
      behaviour->apply(s);
      EXPECT_TRUE(inside()) << origin;
    }

    // A drag that snaps to the right edge is stored and placed back at the same spot.
    s.origin = 0;
    s.x = 300;
    s.y = 200;
    behaviour->apply(s);
    surface.shown = true;
    behaviour->dragStart({10, 5});
    surface.cursor = WindowPoint{w - 99 - 10 + 10, 105};
    clock.advance(10);
    behaviour->dragEnd();
    EXPECT_EQ(surface.pos, (WindowPoint{w - 99, 100}));
    behaviour->apply(readWindowSettings(IniFile(files.config())));
    EXPECT_EQ(surface.pos, (WindowPoint{w - 99, 100}));

    // The full mode's larger window placed again from the same position stays inside too.
    surface.window = {170, 60};
    behaviour->place();
    EXPECT_EQ(surface.pos, (WindowPoint{w - 170, 100}));

    // A panel at the bottom: a position under it is taken as the nearest one above it.
    surface.window = {99, 26};
    surface.area = {0, 0, w, h - 13};
    s.origin = 1;
    s.x = 100;
    s.y = h - 20;
    behaviour->apply(s);
    EXPECT_EQ(surface.pos, (WindowPoint{100, h - 13 - 26}));
  }
}

TEST_F(WindowBehaviourTest, NoDragWhileFading) {
  behaviour->apply(WindowSettings{});
  behaviour->show();
  behaviour->dragStart({1, 1});
  EXPECT_FALSE(behaviour->dragging());
}

TEST_F(WindowBehaviourTest, FailedPositionSaveIsReportedOnce) {
  WindowSettings s;
  s.fade = false;
  behaviour->apply(s);
  std::filesystem::create_directories(files.config());  // a folder where the file should be
  for (int i = 0; i < 2; ++i) {
    behaviour->dragStart({0, 0});
    surface.cursor = WindowPoint{100, 100};
    clock.advance(10);
    behaviour->dragEnd();
  }
  EXPECT_EQ(user.messages.size(), 1u);
  std::ifstream in(files.eventLog());
  std::string text((std::istreambuf_iterator<char>(in)), {});
  EXPECT_NE(text.find(" Failed saving new window position parameters."), std::string::npos);
}

TEST_F(WindowBehaviourTest, NogoFileSuppressesPositionMessage) {
  WindowSettings s;
  s.fade = false;
  behaviour->apply(s);
  std::filesystem::create_directories(files.config());
  std::ofstream(files.noGo()) << "";
  behaviour->dragStart({0, 0});
  behaviour->dragEnd();
  EXPECT_TRUE(user.messages.empty());
}

TEST_F(WindowBehaviourTest, PriorityLiftsOnlyWithoutDialog) {
  WindowSettings s;
  s.priority = true;
  behaviour->apply(s);
  surface.shown = true;
  clock.advance(1000);
  EXPECT_EQ(surface.raised, 1);
  settings.open = true;
  clock.advance(1000);
  EXPECT_EQ(surface.raised, 1);
  s.priority = false;
  behaviour->apply(s);
  settings.open = false;
  clock.advance(3000);
  EXPECT_EQ(surface.raised, 1);
}

TEST_F(WindowBehaviourTest, SnappingToggleIsStored) {
  behaviour->apply(WindowSettings{});
  EXPECT_FALSE(behaviour->toggleSnapping());
  EXPECT_EQ(IniFile(files.config()).readInt("Olm:TK", "Borders", 1), 0);
  EXPECT_TRUE(behaviour->toggleSnapping());
  EXPECT_EQ(IniFile(files.config()).readInt("Olm:TK", "Borders", 0), 1);
}

}  // namespace
}  // namespace tarvik
