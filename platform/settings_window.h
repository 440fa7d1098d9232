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

}  // namespace tarvik
