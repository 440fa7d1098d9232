#pragma once

#include <span>
#include <string_view>

#include "platform/settings_window.h"
#include "settings/setting_key.h"

namespace tarvik {

// How a bound control shows its key's value. A check box is a switch, a spin box or track bar
// the number, a drop-down list the item index, an edit box the text.
enum class Shows {
  Plain,
  RadioPair,     // one button of a pair for a switch: checked when the switch is on (`value`
                 // 1) or off (`value` 0); a checked button stores `value`
  Choice,        // one radio button per value: checked when the key holds `value`
  Ranged,        // a spin box or track bar with the key's own range
  ScreenRanged,  // a window position: 0 to the screen's size less a margin, set at every show
};

// One row of the binding table: a control, the typed key it edits (its type, place, default
// and range come with it) and how it shows the value.
struct PageKey {
  std::string_view objectName;
  SettingKey key;
  Shows shows = Shows::Plain;
  int value = -1;  // radio buttons only

  bool radio() const { return shows == Shows::RadioPair || shows == Shows::Choice; }
  // The range a spin box or track bar offers; unbounded for other controls.
  Range range() const;
};

// The controls of a page that map straight to keys. A control with side effects has a row
// here too; the page adds its behaviour on top.
std::span<const PageKey> pageKeys(PageId page);

}  // namespace tarvik
