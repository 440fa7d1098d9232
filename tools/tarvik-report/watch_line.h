#pragma once

#include <string>

#include "app/live_status.h"

namespace tarvik::report {

enum class WatchFormat { Text, Json };

// One line for a panel bar from the running program's figures. Text: what the status window
// shows ("Home 00:01:05 0.65 $", or the state alone while offline). Json: one object with
// "text", "tooltip" and "class" (the state) as panel modules read them, then every figure.
std::string watchLine(const LiveFigures& figures, WatchFormat format);

}  // namespace tarvik::report
