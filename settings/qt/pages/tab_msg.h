#pragma once

#include "settings/qt/settings_tab.h"

namespace tarvik {

// Balloon duplication, sounds and balance warnings; still to come.
class TabMsg : public SettingsTab {
 public:
  explicit TabMsg(SettingsFrame& frame) : SettingsTab(PageId::Msg, frame, "tabMsg") {}
};

}  // namespace tarvik
