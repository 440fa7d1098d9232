#pragma once

#include "settings/qt/settings_tab.h"

namespace tarvik {

// The skin editor; still to come.
class TabEditor : public SettingsTab {
 public:
  explicit TabEditor(SettingsFrame& frame) : SettingsTab(PageId::Editor, frame, "tabEditor") {}
};

}  // namespace tarvik
