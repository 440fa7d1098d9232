#pragma once

namespace tarvik {

// The ten pages of the settings dialog, by their index in the page area. The tray menu, the
// double-clicks and the session bus open the dialog on one of them.
enum class PageId {
  Cfg = 0,
  App = 1,
  Skin = 2,
  Editor = 3,
  Info = 4,
  Cur = 5,
  Tar = 6,
  Conn = 7,
  Msg = 8,
  Stat = 9,
};
inline constexpr int kPageCount = 10;
// Every page in the order of its index.
inline constexpr PageId kAllPages[kPageCount] = {
    PageId::Cfg, PageId::App, PageId::Skin, PageId::Editor, PageId::Info,
    PageId::Cur, PageId::Tar, PageId::Conn, PageId::Msg,    PageId::Stat,
};

// The settings dialog as the core and the status window reach it. The Qt layer implements it
// around the dialog it makes when the dialog is first opened; until then it counts as hidden.
class SettingsWindow {
 public:
  virtual ~SettingsWindow() = default;
  virtual bool shown() const = 0;
  // Midnight, exit and restart: its ОК (saves both parts and closes) or its ОТМЕНА.
  virtual void applyAndClose() = 0;
  virtual void cancel() = 0;
  // A drag of the status window ended while the dialog was shown: its position fields follow.
  virtual void showWindowPosition(int left, int top) = 0;
};

}  // namespace tarvik
