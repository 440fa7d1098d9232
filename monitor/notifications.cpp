#include "monitor/notifications.h"

#include <algorithm>
#include <climits>

#include "config/entry_section.h"
#include "config/ini_file.h"

namespace tarvik {

namespace {

constexpr const char* kGlobal = "Olm:TK";

// Seconds from a file as a timer interval. A hand-edited huge value would wrap round to a
// short interval (an early hang-up), so it is held at the longest interval there is; 0 and
// below give 0, a timer that never fires.
int secondsToMs(int seconds) {
  return std::clamp(seconds, 0, INT_MAX / 1000) * 1000;
}

}  // namespace

Notifications::Notifications(const ProgramFiles& files, EventLog& log, User& user, Devices devices,
                             NotificationHost& host, NotificationTimers timers)
    : files_(files), log_(log), user_(user), devices_(devices), host_(host), timers_(timers) {
  timers_.hangup.onFire([this] { hangUpNow(); });
  timers_.minute.setInterval(kMinuteBeepMs);
  timers_.minute.onFire([this] { devices_.tunes.play(5); });
  timers_.second.onFire([this] { devices_.tunes.play(6); });
  timers_.flash.setInterval(kFlashStepMs);
  timers_.flash.onFire([this] { flashStepNow(); });
  timers_.flashAnti.onFire([this] { flashEnd(); });
  reloadGlobals();
}

void Notifications::reloadGlobals() {
  IniFile config(files_.config());
  warnWave_ = config.readInt(kGlobal, "WarnWave", 0) != 0;
  warnFile_ = config.readString(kGlobal, "WarnFile", "");
  warnBeep_ = config.readInt(kGlobal, "WarnBeep", 1) != 0;
  // A negative length would be a timer that never ends the flash; 0 is the same, and that is
  // what the user asked for.
  timers_.flashAnti.setInterval(secondsToMs(config.readInt(kGlobal, "WarnTime", 5)));
}

void Notifications::setHangupTimer(bool enabled) {
  timers_.hangup.setEnabled(enabled);
  user_.setKeepLineMenu(timers_.hangup.enabled());
}

void Notifications::connectActions(const std::string& entryName) {
  const std::string entry = sectionForEntry(entryName);
  IniFile config(files_.config());
  timers_.hangup.setInterval(secondsToMs(config.readInt(entry, "HangUpTime", 15)));
  setHangupTimer(config.readInt(entry, "HangUpAuto", 0) != 0);

  if (config.readInt(entry, "OnLineWave", 0) != 0)
    devices_.sound.play(config.readString(entry, "OnLineFile", ""));
  if (config.readInt(entry, "OnLineBeep", 0) != 0) devices_.tunes.play(3);

  if (config.readInt(entry, "Execute", 0) != 0) {
    // The count is read before every launch, so a count lowered meanwhile stops the list.
    for (int i = 0; i < IniFile(files_.config()).readInt(entry, "ExeCount", 0); ++i) {
      const std::string line =
          IniFile(files_.config()).readString(entry, "ExeLine" + std::to_string(i), "");
      if (!line.empty()) devices_.launcher.run(line);
      user_.bringStatusWindowToFront();
    }
  }
}

void Notifications::disconnectSignals(const std::string& entryName) {
  const std::string entry = sectionForEntry(entryName);
  IniFile config(files_.config());
  if (config.readInt(entry, "OffLineWave", 0) != 0)
    devices_.sound.play(config.readString(entry, "OffLineFile", ""));
  if (config.readInt(entry, "OffLineBeep", 0) != 0) devices_.tunes.play(4);
}

void Notifications::startPeriodicBeeps(const std::string& entryName) {
  const std::string entry = sectionForEntry(entryName);
  IniFile config(files_.config());
  timers_.minute.setInterval(kMinuteBeepMs);
  timers_.minute.setEnabled(config.readInt(entry, "OnLineMinute", 1) != 0);
  const int period = config.readInt(entry, "OnLinePeriod", 15);
  // A period of 0 s or less gives a timer that never fires rather than a negative interval.
  timers_.second.setInterval(std::max(0, secondsToMs(period) - 5));
  timers_.second.setEnabled(config.readInt(entry, "OnLineSecond", 0) != 0);
}

void Notifications::stopForDisconnect() {
  setHangupTimer(false);
  timers_.minute.setEnabled(false);
  timers_.second.setEnabled(false);
}

void Notifications::startWarningFlash() {
  flashStep_ = 0;
  timers_.flash.setEnabled(true);
  timers_.flashAnti.setEnabled(true);
  flashStepNow();
}

void Notifications::flashStepNow() {
  switch (flashStep_) {
    case 0:
      flashStep_ = 1;
      if (warnWave_) devices_.sound.play(warnFile_);
      [[fallthrough]];
    case 1:
      flashStep_ = 2;
      if (warnBeep_) devices_.tunes.play(0);
      user_.showStateCode("xx");
      break;
    default:
      flashStep_ = 1;
      user_.showStateCode(host_.currentStateCode());
      break;
  }
}

void Notifications::flashEnd() {
  // t_flash_anti keeps running on purpose: every "WarnTime" seconds it puts the monitor's
  // own state code back, whatever a flash left on the indicator.
  timers_.flash.setEnabled(false);
  flashStep_ = 2;
  flashStepNow();
}

void Notifications::hangUpNow() {
  // The timer is not stopped here: if the line does not drop, the next interval tries again
  // until the disconnect stops it.
  host_.hangUpNow();
}

void Notifications::keepLine() {
  setHangupTimer(false);
}

}  // namespace tarvik
