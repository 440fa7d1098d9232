#pragma once

#include "platform/autostart.h"

namespace tarvik {

// The start-up group's view of the autostart registration.
struct AutostartState {
  bool on = false;
  // Which scope holds it; all users when both do (that one is kept).
  AutostartScope scope = AutostartScope::AllUsers;
  bool scopeKnown = false;  // a scope was found holding it
  bool readFailed = false;  // a scope could not be read
};

AutostartState readAutostart(Autostart& autostart);

// Registers the program in `primary` (or removes it from there when `on` is false) and then
// removes it from the other scope, so that at most one scope holds it. The other scope is only
// cleaned after the primary was written: a registration there survives a failed change.
// False when any write failed.
bool writeAutostart(Autostart& autostart, bool on, AutostartScope primary);

}  // namespace tarvik
