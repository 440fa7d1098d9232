#pragma once

#include <memory>

namespace tarvik {

class EventLog;

// Chooses the window system before the application object is made (see planDisplay) and sets
// the toolkit's platform accordingly. Without any display it says so in one line on stderr and
// in the log, and ends the program with exit status 1 instead of letting the toolkit abort.
// Keep what it returns until the application object is made (see x11Connection).
std::shared_ptr<void> chooseDisplayOrExit(int argc, char** argv, EventLog& log);

}  // namespace tarvik
