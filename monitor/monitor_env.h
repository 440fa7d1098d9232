#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "config/number_text.h"
#include "config/program_files.h"

namespace tarvik {

class Clock;
class EventLog;
class Timer;
class User;
class SoundPlayer;
struct CloseOutFigures;

// The timers the state machine and the meter switch (ProgramTimers::forMonitor). The handlers
// of the crash journal, the beeps and the hang-up belong to their own units; the monitor only
// decides when each runs.
struct MonitorTimers {
  Timer* online = nullptr;     // t_online: the poller
  Timer* general = nullptr;    // t_general: the meter tick
  Timer* securityA = nullptr;  // t_security_a: crash journal, level 1
  Timer* securityZ = nullptr;  // t_security_z: crash journal, level 2
  Timer* minute = nullptr;     // t_minute: beep every minute
  Timer* second = nullptr;     // t_second: beep every "OnLinePeriod" seconds
  Timer* hangup = nullptr;     // t_hangup: automatic hang-up
  Timer* hide = nullptr;       // t_hide: hiding the status window after a disconnection
};

// Call points for the online notifications and actions, the midnight handling and the
// bookings' reports, which the program's assembly implements around the monitor.
class MonitorHooks {
 public:
  virtual ~MonitorHooks() = default;
  // A real connection came up: hang-up timer, connect sound and tune, programs to launch.
  virtual void connectActions(std::string_view entry) = 0;
  // A real, established connection ended: disconnect sound and tune.
  virtual void disconnectSignals(std::string_view entry) = 0;
  // A balance level was crossed: the indicator flashes.
  virtual void startWarningFlash() = 0;
  // The data limit was reached and asks for the line to be dropped: the same hang-up as the
  // automatic one after "HangUpTime", logged the same way.
  virtual void hangUp() = 0;
  // One of the numbered beep tunes (7 at zero balance).
  virtual void playTune(int tune) = 0;
  // Tells the midnight handling whether a connection is being metered.
  virtual void setMidnightArmed(bool armed) = 0;
  // A connection, an authentication or the second half of a split is about to be metered:
  // bookings kept from failed close-outs are completed first, before the meter reads the
  // balance they change.
  virtual void connectionStarting() = 0;
  // Right before a metered connection is booked (both halves of a virtual reconnect too): the
  // crash journal marks itself with the final figures, so that a kill during the booking or
  // before the journal is deleted cannot make the connection count twice, and sets the
  // booking's identity and whether earlier bookings still wait (then it is held back).
  virtual void closingConnection(CloseOutFigures& figures) = 0;
  // The close-out ended (`booked` false when a data file could not be written or it was held
  // back; the booking is then kept for a later attempt). Returns whether the crash journal
  // may be deleted.
  virtual bool connectionClosed(bool booked) = 0;
  // A connection of `entry` from an account of `accountKind` was booked: the windows that
  // show its statistics or the shared balances show them afresh.
  virtual void connectionBooked(std::string_view entry, int accountKind) = 0;
};

// Everything the monitor reaches outside itself.
struct MonitorEnv {
  const Clock& clock;
  ProgramFiles files;
  EventLog& log;
  User& user;
  SoundPlayer& sound;
  NumberFormat format;
  MonitorTimers timers;
  MonitorHooks& hooks;
};

}  // namespace tarvik
