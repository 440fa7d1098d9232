#include "settings/autostart_choice.h"

namespace tarvik {

AutostartState readAutostart(Autostart& autostart) {
  AutostartState state;
  for (const AutostartScope scope : {AutostartScope::CurrentUser, AutostartScope::AllUsers}) {
    const std::optional<bool> held = autostart.registered(scope);
    if (!held) {
      state.readFailed = true;
      continue;
    }
    if (!*held) continue;
    state.on = true;
    state.scope = scope;
    state.scopeKnown = true;
  }
  return state;
}

bool writeAutostart(Autostart& autostart, bool on, AutostartScope primary) {
  const AutostartScope secondary =
      primary == AutostartScope::AllUsers ? AutostartScope::CurrentUser : AutostartScope::AllUsers;
  const bool written = on ? autostart.enable(primary) : autostart.disable(primary);
  return written && autostart.disable(secondary);
}

}  // namespace tarvik
