#pragma once

#include <string_view>

namespace tarvik {

// The tooltip of the tray icon: the program's name and version.
inline constexpr std::string_view kTrayHint = "Tarvik v4.0";

}  // namespace tarvik
