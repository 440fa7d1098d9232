#pragma once

#include "settings/qt/settings_tab.h"

namespace tarvik {

// Transparency, fading and the skin choice; its controls are still to come.
class TabSkin : public SettingsTab {
 public:
  explicit TabSkin(SettingsFrame& frame) : SettingsTab(PageId::Skin, frame, "tabSkin") {}
};

}  // namespace tarvik
