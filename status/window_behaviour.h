#pragma once

#include <memory>
#include <optional>

#include "config/ini_file.h"
#include "config/program_files.h"
#include "platform/event_log.h"
#include "platform/settings_window.h"
#include "platform/timer.h"
#include "platform/user.h"
#include "status/window_geometry.h"

namespace tarvik {

// What the window behaviour needs of the status window and the desktop.
class WindowSurface {
 public:
  virtual ~WindowSurface() = default;
  virtual bool isShown() const = 0;
  // Brings the window to the foreground and shows it.
  virtual void showWindow() = 0;
  virtual void hideWindow() = 0;
  virtual void raiseWindow() = 0;
  virtual bool supportsAlpha() const = 0;
  virtual void setAlpha(int level) = 0;
  virtual void moveWindow(WindowPoint topLeft) = 0;
  virtual WindowPoint windowPosition() const = 0;
  virtual int windowWidth() const = 0;
  virtual int windowHeight() const = 0;
  virtual ScreenSize screenSize() const = 0;
  // The part of the screen the desktop's panels leave to windows.
  virtual ScreenArea availableArea() const = 0;
  // nullopt when the cursor position cannot be read.
  virtual std::optional<WindowPoint> cursorPosition() const = 0;
};

// The global keys of the window behaviour, as the last reload read them.
struct WindowSettings {
  int origin = 0;
  int x = 99;
  int y = 56;
  bool borders = true;
  bool transparent = false;
  int opacity = 25;
  bool fade = true;
  int speed = 20;
  bool priority = false;
};

// The window keys of the global section.
WindowSettings readWindowSettings(const IniFile& config);

// Showing and hiding with fades, transparency, dragging with edge snapping and saving the
// position, and keeping the window on top. Owns the timers t_move, t_fade_a, t_fade_z, t_hold
// and t_priority.
class WindowBehaviour {
 public:
  WindowBehaviour(TimerFactory& timers, WindowSurface& surface, ProgramFiles files, EventLog& log,
                  User& user);

  // While the settings dialog is shown the window stays behind it, and a drag's end position
  // goes into the dialog's position fields. Without one there is no dialog to mind.
  void setSettingsWindow(SettingsWindow* settings) { settingsWindow_ = settings; }

  // New settings: places the window and sets the timers.
  void apply(const WindowSettings& settings);
  // Puts the window where the stored position says, inside the screen; again whenever the
  // window changes its size (a skin or mode switch), since the fit depends on it.
  void place();
  const WindowSettings& settings() const { return settings_; }

  // The settings dialog's live preview: the transparency becomes `percent` until the next
  // apply(); the window takes it at once unless it is fading.
  void previewTransparency(int percent);

  void show();
  void hide();
  // Left button pressed on the face, the indicator or a text, `grab` inside the window.
  void dragStart(WindowPoint grab);
  // Left button released.
  void dragEnd();
  // m_bounds: toggles edge snapping and stores it. Returns the new state.
  bool toggleSnapping();

  bool fading() const { return fading_; }
  bool dragging() const { return t_move_->enabled(); }
  int targetAlpha() const { return targetOpacity(settings_.transparent, settings_.opacity); }

  Timer& t_move() { return *t_move_; }
  Timer& t_fade_a() { return *t_fade_a_; }
  Timer& t_fade_z() { return *t_fade_z_; }
  Timer& t_hold() { return *t_hold_; }
  Timer& t_priority() { return *t_priority_; }

 private:
  void applyAlpha(int level, bool forced);
  bool settingsShown() const { return settingsWindow_ && settingsWindow_->shown(); }
  // The part of the screen the panels leave free; the whole screen when that is not known.
  ScreenArea freeArea() const;
  void moveStep();
  void fadeInStep();
  void fadeOutStep();
  void holdStep();
  void priorityStep();

  WindowSurface& surface_;
  ProgramFiles files_;
  EventLog& log_;
  User& user_;
  SettingsWindow* settingsWindow_ = nullptr;
  WindowSettings settings_;
  std::unique_ptr<Timer> t_move_, t_fade_a_, t_fade_z_, t_hold_, t_priority_;
  bool fading_ = false;
  int fadeInLevel_ = 0;
  int fadeOutLevel_ = 0;
  WindowPoint grab_;
  WindowPoint dragPos_;
  bool positionMessageShown_ = false;
};

}  // namespace tarvik
