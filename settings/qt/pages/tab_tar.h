#pragma once

#include "settings/qt/settings_tab.h"

namespace tarvik {

// The tariff editor of the entry; still to come.
class TabTar : public SettingsTab {
 public:
  explicit TabTar(SettingsFrame& frame) : SettingsTab(PageId::Tar, frame, "tabTar") {}
};

}  // namespace tarvik
