#include "app/lifecycle.h"

#include <exception>

#include "monitor/program_timers.h"
#include "monitor/quick_log.h"

namespace tarvik {

const char* const kExitWhileOnlineQuestion =
    "Внимание! Обнаружено соединение с Интернетом.\n"
    "Если программу закрыть - расчёты произведены НЕ будут.\n"
    "Вы уверены, что хотите закрыть программу?";
const char* const kMidnightDialogQuestion =
    "Для автоматической реинициализации в полночь требуется закрытие окна настроек.\n"
    "Оно будет закрыто. Сохранить настройки сейчас?";

Lifecycle::Lifecycle(const Clock& clock, EventLog& log, User& user, SettingsWindow& settings,
                     ProcessLauncher& launcher, CrashJournal& journal, LifecycleHost& host,
                     LifecycleTimers timers)
    : clock_(clock),
      log_(log),
      user_(user),
      settings_(settings),
      launcher_(launcher),
      journal_(journal),
      host_(host),
      timers_(timers),
      startDay_(clock.now()) {
  timers_.midnight.setInterval(intervalOf(TimerId::Midnight));
  timers_.midnight.onFire([this] { midnightTick(); });
}

void Lifecycle::reloadGlobals(bool midnightSwitch) {
  timers_.midnight.setInterval(intervalOf(TimerId::Midnight));
  timers_.midnight.setEnabled(midnightSwitch && !midnightCancelled_);
}

namespace {

void cancelDialogQuietly(SettingsWindow& settings) {
  try {
    if (settings.shown()) settings.cancel();
  } catch (const std::exception&) {
    // The program ends anyway; unsaved dialog changes are discarded by design.
  }
}

}  // namespace

void Lifecycle::exitCommand() {
  if (host_.meterRunning()) {
    if (user_.askYesNo(kExitWhileOnlineQuestion, true) != Answer::Yes) return;
    // Marked first, so that a kill before the journal is gone does not offer to book a
    // connection the user chose to drop.
    journal_.markIgnored();
    try {
      host_.finishQuickLogLine(abortedQuickLogTail(host_.currentEntry()));
    } catch (const std::exception&) {
    }
    journal_.remove();
  }
  cancelDialogQuietly(settings_);
  journal_.keepBeforeExit();
  log_.append(" Application terminated (user request).", true);
  user_.terminate();
}

void Lifecycle::restartCommand() {
  cancelDialogQuietly(settings_);
  log_.append(" Restarting application...", true);
  restartWith("/reboot");
}

void Lifecycle::restartWith(const char* programSwitch) {
  journal_.keepBeforeExit();
  // A new instance that cannot start is not reported; this one ends either way.
  launcher_.startNewInstance(programSwitch);
  user_.terminate();
}

void Lifecycle::enableCommand() {
  monitoringOn_ = !monitoringOn_;
  timers_.online.setEnabled(monitoringOn_);
  if (monitoringOn_) {
    host_.setStateCode("of");
    user_.setMonitoringMenu(true);
    log_.append(" Application enabled.\n StandBy.", true);
  } else {
    host_.setStateCode("di");
    user_.setMonitoringMenu(false);
    log_.append(" Application disabled.", true);
  }
}

void Lifecycle::midnightTick() {
  const LocalTime now = clock_.now();
  if (now.hour != 0 || now.minute != 0 || now.second != 0) return;
  if (now.year == startDay_.year && now.month == startDay_.month && now.day == startDay_.day) {
    return;
  }
  timers_.midnight.setEnabled(false);

  if (settings_.shown()) {
    switch (user_.askYesNoCancel(kMidnightDialogQuestion)) {
      case Answer::Yes:
        settings_.applyAndClose();
        break;
      case Answer::No:
        settings_.cancel();
        break;
      case Answer::Cancel:
        log_.append(" Midnight reinitialize aborted by user.", true);
        midnightCancelled_ = true;
        return;
    }
  }

  if (midnightArmed_) {
    log_.append(" Virtual reconnect (midnight).", true);
    timers_.online.setEnabled(false);
    host_.virtualDisconnect();
  }
  log_.append(" Midnight reinitialize...", true);
  restartWith("/reinitialize");
}

}  // namespace tarvik
