#include "status/window_behaviour.h"

#include <filesystem>

#include "config/ini_file.h"
#include "config/keys.h"

namespace tarvik {
namespace {
constexpr int kMoveMs = 10;
constexpr int kHoldMs = 250;
constexpr int kPriorityMs = 1000;
}  // namespace

WindowSettings readWindowSettings(const IniFile& config) {
  namespace g = global_keys;
  WindowSettings s;
  s.origin = readKey(config, sections::global(), g::kO);
  s.x = readKey(config, sections::global(), g::kX);
  s.y = readKey(config, sections::global(), g::kY);
  s.borders = readKey(config, sections::global(), g::kBorders) != 0;
  s.transparent = readKey(config, sections::global(), g::kTransparent) != 0;
  s.opacity = readKey(config, sections::global(), g::kOpacity);
  s.fade = readKey(config, sections::global(), g::kFade) != 0;
  s.speed = readKey(config, sections::global(), g::kSpeed);
  s.priority = readKey(config, sections::global(), g::kPriority) != 0;
  return s;
}

WindowBehaviour::WindowBehaviour(TimerFactory& timers, WindowSurface& surface, ProgramFiles files,
                                 EventLog& log, User& user)
    : surface_(surface),
      files_(std::move(files)),
      log_(log),
      user_(user),
      t_move_(timers.createTimer("t_move")),
      t_fade_a_(timers.createTimer("t_fade_a")),
      t_fade_z_(timers.createTimer("t_fade_z")),
      t_hold_(timers.createTimer("t_hold")),
      t_priority_(timers.createTimer("t_priority")) {
  t_move_->setInterval(kMoveMs);
  t_hold_->setInterval(kHoldMs);
  t_priority_->setInterval(kPriorityMs);
  t_fade_a_->setInterval(settings_.speed);
  t_fade_z_->setInterval(settings_.speed);
  t_move_->onFire([this] { moveStep(); });
  t_fade_a_->onFire([this] { fadeInStep(); });
  t_fade_z_->onFire([this] { fadeOutStep(); });
  t_hold_->onFire([this] { holdStep(); });
  t_priority_->onFire([this] { priorityStep(); });
}

void WindowBehaviour::apply(const WindowSettings& settings) {
  // Transparency just switched off: the window must become opaque now, not at its next show.
  const bool transparencyEnded = settings_.transparent && !settings.transparent;
  settings_ = settings;
  place();
  // A speed of 0 would stop a fade half-way (a timer of interval 0 never fires).
  const int speed = settings.speed > 0 ? settings.speed : 1;
  t_fade_a_->setInterval(speed);
  t_fade_z_->setInterval(speed);
  t_priority_->setEnabled(settings.priority);
  if (!fading_) applyAlpha(targetAlpha(), transparencyEnded);
}

void WindowBehaviour::place() {
  surface_.moveWindow(placeWindowInside(settings_.origin, settings_.x, settings_.y,
                                        {surface_.windowWidth(), surface_.windowHeight()},
                                        surface_.screenSize(), freeArea()));
}

ScreenArea WindowBehaviour::freeArea() const {
  const ScreenArea area = surface_.availableArea();
  if (area.width > 0 && area.height > 0) return area;
  const ScreenSize screen = surface_.screenSize();
  return {0, 0, screen.width, screen.height};
}

void WindowBehaviour::previewTransparency(int percent) {
  settings_.transparent = true;
  settings_.opacity = percent;
  if (!t_fade_a_->enabled() && !t_fade_z_->enabled()) applyAlpha(targetAlpha(), true);
}

void WindowBehaviour::applyAlpha(int level, bool forced) {
  if (!forced && !settings_.transparent) return;
  if (surface_.supportsAlpha()) surface_.setAlpha(level);
}

void WindowBehaviour::show() {
  t_move_->setEnabled(false);
  if (t_fade_z_->enabled()) {
    // Shown again while fading out: the fade must not hide the window after all.
    t_fade_z_->setEnabled(false);
    fading_ = false;
    applyAlpha(targetAlpha(), true);
  }
  // Without per-window alpha a fade could not be seen; the window just appears.
  if (!surface_.isShown() && settings_.fade && surface_.supportsAlpha()) {
    fading_ = true;
    fadeInLevel_ = 0;
    t_fade_z_->setEnabled(false);
    t_fade_a_->setEnabled(true);
    // Always start a fade from invisible, whatever the transparency setting says.
    applyAlpha(0, true);
  } else if (!settings_.fade) {
    // Without transparency the window is plainly opaque.
    applyAlpha(targetAlpha(), true);
  }
  surface_.showWindow();
}

void WindowBehaviour::hide() {
  t_move_->setEnabled(false);
  // Without per-window alpha a fade could not be seen, so the window goes at once.
  if (surface_.isShown() && settings_.fade && surface_.supportsAlpha()) {
    fading_ = true;
    fadeOutLevel_ = targetAlpha();
    t_fade_a_->setEnabled(false);
    t_fade_z_->setEnabled(true);
  } else {
    // A fade-in still running must not bring the window back.
    t_fade_a_->setEnabled(false);
    fading_ = false;
    surface_.hideWindow();
  }
}

void WindowBehaviour::fadeInStep() {
  const FadeStep step = tarvik::fadeInStep(fadeInLevel_, settings_.transparent, targetAlpha());
  fadeInLevel_ = step.level;
  if (step.done) {
    t_fade_a_->setEnabled(false);
    fading_ = false;
  }
  applyAlpha(fadeInLevel_, true);
}

void WindowBehaviour::fadeOutStep() {
  const FadeStep step = tarvik::fadeOutStep(fadeOutLevel_);
  fadeOutLevel_ = step.level;
  if (step.done) {
    t_fade_z_->setEnabled(false);
    surface_.hideWindow();
    fading_ = false;
  }
  applyAlpha(fadeOutLevel_, true);
}

void WindowBehaviour::dragStart(WindowPoint grab) {
  if (fading_) return;
  t_hold_->setEnabled(false);
  grab_ = grab;
  dragPos_ = surface_.windowPosition();
  t_move_->setEnabled(true);
}

void WindowBehaviour::moveStep() {
  const auto cursor = surface_.cursorPosition();
  if (!cursor) return;
  dragPos_ = dragPosition(*cursor, grab_, surface_.windowWidth(), surface_.windowHeight(),
                          freeArea(), settings_.borders);
  surface_.moveWindow(dragPos_);
}

void WindowBehaviour::dragEnd() {
  if (!t_move_->enabled() || fading_) return;
  t_move_->setEnabled(false);
  applyAlpha(targetAlpha(), false);
  const WindowPoint stored = storedPosition(settings_.origin, dragPos_, surface_.screenSize());
  try {
    IniEdit edit{IniFile(files_.config())};
    writeKey(edit, sections::global(), global_keys::kX, stored.x);
    writeKey(edit, sections::global(), global_keys::kY, stored.y);
    edit.commit();
    settings_.x = stored.x;
    settings_.y = stored.y;
    if (settingsShown()) t_hold_->setEnabled(true);
  } catch (const IniWriteError&) {
    log_.append(" Failed saving new window position parameters.", true);
    std::error_code ec;
    if (!std::filesystem::exists(files_.noGo(), ec) && !positionMessageShown_) {
      user_.message(
          "Возникла ошибка при попытке записать файл на диск.\nПоложение окна состояния на "
          "экране не будет сохранено.");
      positionMessageShown_ = true;
    }
  }
}

bool WindowBehaviour::toggleSnapping() {
  settings_.borders = !settings_.borders;
  try {
    IniFile config(files_.config());
    writeSwitch(config, sections::global(), global_keys::kBorders, settings_.borders);
  } catch (const IniWriteError&) {
    // The check mark still follows the click; the setting lasts for this run.
  }
  return settings_.borders;
}

void WindowBehaviour::holdStep() {
  t_hold_->setEnabled(false);
  if (!settingsWindow_) return;
  const WindowPoint at = surface_.windowPosition();
  settingsWindow_->showWindowPosition(at.x, at.y);
}

void WindowBehaviour::priorityStep() {
  if (surface_.isShown() && !settingsShown()) surface_.raiseWindow();
}

}  // namespace tarvik
