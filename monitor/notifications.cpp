#include "monitor/notifications.h"

#include <algorithm>
#include <climits>

#include "config/ini_file.h"
#include "config/keys.h"
#include "monitor/program_timers.h"

namespace tarvik {

namespace {

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
  timers_.minute.setInterval(intervalOf(TimerId::Minute));
  timers_.minute.onFire([this] { devices_.tunes.play(5); });
  timers_.second.onFire([this] { devices_.tunes.play(6); });
  timers_.flash.setInterval(intervalOf(TimerId::Flash));
  timers_.flash.onFire([this] { flashStepNow(); });
  timers_.flashAnti.onFire([this] { flashEnd(); });
  reloadGlobals();
}

void Notifications::reloadGlobals() {
  IniFile config(files_.config());
  const auto global = sections::global();
  warnWave_ = readSwitch(config, global, global_keys::kWarnWave);
  warnFile_ = readKey(config, global, global_keys::kWarnFile);
  warnBeep_ = readSwitch(config, global, global_keys::kWarnBeep);
  // A negative length would be a timer that never ends the flash; 0 is the same, and that is
  // what the user asked for.
  timers_.flashAnti.setInterval(secondsToMs(readKey(config, global, global_keys::kWarnTime)));
}

void Notifications::setHangupTimer(bool enabled) {
  timers_.hangup.setEnabled(enabled);
  user_.setKeepLineMenu(timers_.hangup.enabled());
}

void Notifications::connectActions(const std::string& entryName) {
  const auto entry = sections::entry(entryName);
  IniFile config(files_.config());
  timers_.hangup.setInterval(secondsToMs(readKey(config, entry, entry_keys::kHangUpTime)));
  setHangupTimer(readSwitch(config, entry, entry_keys::kHangUpAuto));

  if (readSwitch(config, entry, entry_keys::kOnLineWave))
    devices_.sound.play(readKey(config, entry, entry_keys::kOnLineFile));
  if (readSwitch(config, entry, entry_keys::kOnLineBeep)) devices_.tunes.play(3);

  if (readSwitch(config, entry, entry_keys::kExecute)) {
    // The count is read before every launch, so a count lowered meanwhile stops the list.
    for (int i = 0; i < readKey(IniFile(files_.config()), entry, entry_keys::kExeCountRunTime);
         ++i) {
      const std::string line = readKey(IniFile(files_.config()), entry, entry_keys::exeLine(i));
      if (!line.empty()) devices_.launcher.run(line);
      user_.bringStatusWindowToFront();
    }
  }
}

void Notifications::disconnectSignals(const std::string& entryName) {
  const auto entry = sections::entry(entryName);
  IniFile config(files_.config());
  if (readSwitch(config, entry, entry_keys::kOffLineWave))
    devices_.sound.play(readKey(config, entry, entry_keys::kOffLineFile));
  if (readSwitch(config, entry, entry_keys::kOffLineBeep)) devices_.tunes.play(4);
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
