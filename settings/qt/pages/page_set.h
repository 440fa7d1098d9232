#pragma once

#include <array>

#include "settings/qt/settings_tab.h"

namespace tarvik {

// The ten pages in the order of their indices, parented by the caller's page area.
std::array<SettingsTab*, kPageCount> makePages(SettingsFrame& frame);

}  // namespace tarvik
