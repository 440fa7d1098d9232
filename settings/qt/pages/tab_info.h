#pragma once

#include "settings/qt/settings_tab.h"

namespace tarvik {

// Title, version, links and help; still to come.
class TabInfo : public SettingsTab {
 public:
  explicit TabInfo(SettingsFrame& frame) : SettingsTab(PageId::Info, frame, "tabInfo") {}
};

}  // namespace tarvik
