#pragma once

#include <string_view>

#include "settings/page_keys.h"

namespace tarvik {

// The help topics by their context numbers. A page of the settings dialog opens the topic of
// its index; the contents is what "[ справка ]" and the tray menu's "Справка" open.
inline constexpr int kHelpContents = 9999;

// The topic of a dialog page (pages 0 to 9 have 5 to 9 and 11 to 15; 10 is not used).
int pageHelpContext(PageId page);

// The manual's section for a context number: the anchor its heading carries. An unknown
// number opens the contents, so an old link never ends on an empty window.
std::string_view helpSection(int context);

// The manual's first section, where a reader starts.
inline constexpr int kHelpStart = 1;

}  // namespace tarvik
