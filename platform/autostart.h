#pragma once

#include <optional>

namespace tarvik {

// Where the program is registered to start with the user's session.
enum class AutostartScope { CurrentUser, AllUsers };

// The program's registration for starting with the session, in the scope of the current user
// or of all users. The registration starts the program with "/auto". It is the only record of
// the autostart state: no setting mirrors it.
class Autostart {
 public:
  virtual ~Autostart() = default;

  // Whether `scope` holds the registration; nullopt when it cannot be read.
  virtual std::optional<bool> registered(AutostartScope scope) = 0;
  // Registers (or re-registers, following a moved program) the running program in `scope`.
  // False when the scope cannot be written.
  virtual bool enable(AutostartScope scope) = 0;
  // Removes the registration from `scope`; true also when there was none.
  virtual bool disable(AutostartScope scope) = 0;
  // Whether this user may change `scope` at all; the dialog disables its controls otherwise.
  virtual bool writable(AutostartScope scope) = 0;
};

}  // namespace tarvik
