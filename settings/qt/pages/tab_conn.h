#pragma once

#include "settings/qt/settings_tab.h"

namespace tarvik {

// Program launching, time limit, free time, visibility; still to come.
class TabConn : public SettingsTab {
 public:
  explicit TabConn(SettingsFrame& frame) : SettingsTab(PageId::Conn, frame, "tabConn") {}
};

}  // namespace tarvik
