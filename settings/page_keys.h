#pragma once

#include <span>
#include <string_view>

namespace tarvik {

// The ten pages of the settings dialog, by their index in the page area.
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

// One control bound to one key. How the value shows depends on the control: a check box is a
// switch, a spin box or track bar the number, a drop-down list the item index, an edit box the
// text. A radio button is checked when the key holds `radioValue` (for a switch pair: when the
// switch is on for 1, off for 0), and a checked radio stores `radioValue`.
struct PageKey {
  std::string_view objectName;
  std::string_view key;
  int radioValue = -1;
  bool radioSwitch = false;  // radioValue 1 = any value but 0
  int min = 0;               // spin boxes and track bars only
  int max = 0;
  int step = 0;
};

// The controls of a page that map straight to keys. A control with side effects has a row
// here too; the page adds its behaviour on top.
std::span<const PageKey> pageKeys(PageId page);

}  // namespace tarvik
