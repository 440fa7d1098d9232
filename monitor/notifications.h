#pragma once

#include <string>

#include "config/program_files.h"
#include "monitor/tunes.h"
#include "platform/event_log.h"
#include "platform/process.h"
#include "platform/sound.h"
#include "platform/timer.h"
#include "platform/user.h"

namespace tarvik {

// What the notifications need from the connection monitor.
class NotificationHost {
 public:
  virtual ~NotificationHost() = default;
  // The monitor's own state code ("of", "au", "on"), which the flash returns to.
  virtual std::string currentStateCode() const = 0;
  // Hang up through the probe with both flags set: logs " Hanging up..." and drops the line.
  virtual void hangUpNow() = 0;
};

// The status window's timers used by the notifications. They are created by the engine; the
// notifications attach their handlers and set intervals.
struct NotificationTimers {
  Timer& hangup;     // t_hangup: automatic hang-up, "HangUpTime" seconds
  Timer& minute;     // t_minute: tune 5 every 59 995 ms
  Timer& second;     // t_second: tune 6 every "OnLinePeriod" * 1000 - 5 ms
  Timer& flash;      // t_flash: 250 ms flash steps
  Timer& flashAnti;  // t_flash_anti: "WarnTime" seconds, ends a flash
};

// Sounds, beeps, the warning flash, the automatic hang-up and the programs launched when a
// connection comes up. The meter and the state machine decide when; this class knows how.
class Notifications {
 public:
  struct Devices {
    TunePlayer& tunes;
    SoundPlayer& sound;
    ProcessLauncher& launcher;
  };

  Notifications(const ProgramFiles& files, EventLog& log, User& user, Devices devices,
                NotificationHost& host, NotificationTimers timers);

  // Re-reads the global warning keys ("WarnWave", "WarnFile", "WarnBeep", "WarnTime"); part of
  // the global-parameter reload.
  void reloadGlobals();

  // A real (not virtual) connection was established: hang-up timer, connect sound and tune 3,
  // programs "ExeLine0".. launched in order.
  void connectActions(const std::string& entry);
  // A real connection that was established has ended: disconnect sound and tune 4.
  void disconnectSignals(const std::string& entry);

  // Any disconnect (virtual too): hang-up, minute and periodic beeps stop.
  void stopForDisconnect();

  // A balance warning level was crossed: flash "xx" with beeps for "WarnTime" seconds.
  void startWarningFlash();

  // Tray "Отключиться" and the t_hangup event.
  void hangUpNow();
  // Tray "Не разрывать связь": cancel a pending automatic hang-up.
  void keepLine();
  // Whether "Не разрывать связь" is shown (an automatic hang-up is pending).
  bool keepLineOffered() const { return timers_.hangup.enabled(); }

 private:
  void flashStepNow();
  void flashEnd();
  void setHangupTimer(bool enabled);

  ProgramFiles files_;
  EventLog& log_;
  User& user_;
  Devices devices_;
  NotificationHost& host_;
  NotificationTimers timers_;

  int flashStep_ = 0;
  bool warnWave_ = false;
  std::string warnFile_;
  bool warnBeep_ = true;
};

}  // namespace tarvik
