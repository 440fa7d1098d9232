#pragma once

#include "tools/tarvik-report/watch_line.h"

namespace tarvik::report {

// Follows the running program on the session bus and prints a line at start and one per
// announced change, until the program ends. 2 with a message on stderr when it is not running
// (or ends).
int watchProgram(int argc, char** argv, WatchFormat format);

}  // namespace tarvik::report
