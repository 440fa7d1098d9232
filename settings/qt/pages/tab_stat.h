#pragma once

#include "settings/qt/settings_tab.h"

namespace tarvik {

// Statistics and the weekly graph of the entry; still to come.
class TabStat : public SettingsTab {
 public:
  explicit TabStat(SettingsFrame& frame) : SettingsTab(PageId::Stat, frame, "tabStat") {}
};

}  // namespace tarvik
