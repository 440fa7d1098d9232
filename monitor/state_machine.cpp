#include "monitor/state_machine.h"

#include <algorithm>
#include <climits>

#include "config/keys.h"
#include "monitor/close_out.h"
#include "monitor/journal_file.h"
#include "monitor/meter.h"
#include "monitor/probe.h"
#include "monitor/quick_log.h"
#include "platform/clock.h"
#include "platform/event_log.h"
#include "platform/timer.h"
#include "platform/user.h"
#include "status/display_text.h"

namespace tarvik {

namespace {

bool isAuthenticationState(std::int32_t state) {
  return state == kRasAuthenticate || state == kRasAuthNotify || state == kRasAuthProject;
}

void stop(Timer* t) {
  if (t) t->setEnabled(false);
}

}  // namespace

ConnectionStateMachine::ConnectionStateMachine(const MonitorEnv& env, Probe& probe, Meter& meter,
                                               CloseOut& closeOut, QuickLog& quickLog,
                                               std::string& stateCode,
                                               const std::vector<std::string>& phonebookEntries)
    : env_(env),
      probe_(probe),
      meter_(meter),
      closeOut_(closeOut),
      quickLog_(quickLog),
      config_(env.files.config()),
      stateCode_(stateCode),
      entries_(phonebookEntries) {}

Section<Scope::Entry> ConnectionStateMachine::section(const std::string& entry) const {
  return sections::entry(entry);
}

void ConnectionStateMachine::setStateCode(std::string code) {
  stateCode_ = std::move(code);
  env_.user.showStateCode(stateCode_);
}

void ConnectionStateMachine::poll() {
  const bool connectedNow = probe_.probe(false, false);
  if (devicePending_ && !probe_.deviceName().empty()) {
    pendingDevice_ = probe_.deviceName();
    if (probe_.deviceCarriesTraffic() || connectedNow) logDevice();
  }
  // Before any transition, so a connection that comes up has its first reading as the base.
  meter_.sampleTraffic(probe_.connectionHandle(), probe_.trafficCounters());
  if (connectedNow == previousProbe_) {
    const bool authenticating = isAuthenticationState(probe_.rasState());
    if (authenticating && stateCode_ != "au" && !connectedNow) {
      currentEntry_ = resolveSettingsEntry(probe_.rasEntryName(), entries_, config_);
      authenticationStart(currentEntry_);
    } else if (!authenticating && stateCode_ == "au" && !connectedNow) {
      disconnect(currentEntry_, false);  // authentication ended without a connection
    }
  } else if (connectedNow) {
    currentEntry_ = resolveSettingsEntry(probe_.rasEntryName(), entries_, config_);
    connected(currentEntry_, false);
  } else {
    disconnect(currentEntry_, false);
  }
  previousProbe_ = connectedNow;
}

void ConnectionStateMachine::connectionStartWork(const std::string& entry) {
  env_.user.setOnlineMenu(true, stateCode_ == "au");
  env_.user.setField(DisplayField::Time, "00:00:00");
  env_.user.setCurrentEntry(entry);
  env_.log.append(" RAS or VPN activity detected.", true);
  // While a call authenticates, the service may only know the device it is made over; the
  // device line waits for the interface that will carry the traffic (named at the latest
  // when the connection is established or ends), so each connection logs it once.
  pendingDevice_ = probe_.deviceName();
  devicePending_ = !probe_.deviceCarriesTraffic() && stateCode_ == "au";
  if (!devicePending_) logDevice();
  env_.log.append(" Entry in use: " + oneLine(probe_.rasEntryName()));
  env_.log.append(" Entry settings: " + oneLine(entry));
  quickLog_.openLine(env_.clock.now());
  env_.user.setField(DisplayField::Currency,
                     currencyText(readDisplaySettings(config_, section(entry))));
}

void ConnectionStateMachine::authenticationStart(const std::string& entry) {
  connectedFlag_ = false;
  startDone_ = false;
  setStateCode("au");
  env_.hooks.connectionStarting();
  connectionStartWork(entry);
  startDone_ = true;
  authMetering_ = readSwitch(config_, section(entry), entry_keys::kAuthentification);
  if (authMetering_) {
    meter_.start(entry);
    env_.log.append(" Authentification...");
  }
  env_.user.balloon(entry, "Идёт опознание пользователя...", true);
}

void ConnectionStateMachine::connected(const std::string& entry, bool isVirtual) {
  connectedFlag_ = true;
  setStateCode("on");
  if (authMetering_) {
    env_.log.append(" Authentification successful.", true);
  } else {
    if (!startDone_) {
      // Also for the second half of a split: a first half whose booking failed must get its
      // quick-log line finished before this half opens one.
      env_.hooks.connectionStarting();
      connectionStartWork(entry);
    }
    meter_.start(entry);
  }
  startDone_ = false;
  if (isVirtual) {
    env_.log.append(" Connected (virtually).");
  } else {
    env_.log.append(" Connection established.", !authMetering_);
    env_.hooks.connectActions(entry);
    env_.user.balloon(entry,
                      "Соединение с интернетом установлено.\nТекущий тариф: «" +
                          meter_.tariffName() + "», " + std::to_string(meter_.costPerHour()) + " " +
                          meter_.display().currencyZ + "/час.",
                      false);
  }
  stop(env_.timers.hide);
}

void ConnectionStateMachine::logDevice() {
  env_.log.append(" Device in use: " + oneLine(pendingDevice_));
  devicePending_ = false;
}

void ConnectionStateMachine::disconnect(const std::string& entry, bool isVirtual) {
  const MonitorTimers& t = env_.timers;
  if (devicePending_) logDevice();
  setStateCode("of");
  env_.user.setOnlineMenu(false, false);
  stop(t.hangup);

  if (authMetering_ && !connectedFlag_) {
    env_.log.append(" Authentification failed.", true);
    writeClearedDisplay(env_.user, config_);
  } else if (!isVirtual) {
    env_.log.append(" Disconnected.", true);
  }

  for (Timer* timer : {t.general, t.securityA, t.securityZ, t.minute, t.second}) stop(timer);
  env_.hooks.setMidnightArmed(false);

  const auto sec = section(entry);
  if (t.hide) {
    // A hand-edited wait too long for a millisecond timer waits as long as one can.
    const int waitMs =
        std::clamp(readKey(config_, sec, entry_keys::kStatusWait), 0, INT_MAX / 1000) * 1000;
    if (t.hide->interval() != waitMs) t.hide->setInterval(waitMs);
    t.hide->setEnabled(readSwitch(config_, sec, entry_keys::kStatusHide));
  }

  if (isVirtual) {
    env_.log.append(" Disconnected (virtually).");
  } else if (connectedFlag_) {
    env_.hooks.disconnectSignals(entry);
  }

  bool booked = true;
  if (connectedFlag_) {
    CloseOutFigures figures;
    figures.figures = meter_.figures(entry);
    figures.isVirtual = isVirtual;
    env_.hooks.closingConnection(figures);
    booked = closeOut_.run(figures);
  } else {
    quickLog_.finishLine(neverEstablishedQuickLogTail(meter_.balance(), entry, env_.format));
  }

  env_.hooks.connectionBooked(entry, meter_.accountKind());

  connectedFlag_ = false;
  authMetering_ = false;
  startDone_ = false;
  meter_.resetFigures();
  // After a failed close-out the marked journal is all that still holds this connection.
  if (env_.hooks.connectionClosed(booked)) removeJournalFiles(env_.files);
}

void ConnectionStateMachine::split() {
  const std::string entry = currentEntry_;
  if (!connectedFlag_) {
    // A tariff change while the authentication is metered: nothing can be booked before the
    // connection exists, and the two halves would log a failed authentication and show "on"
    // while the line still authenticates. The count just starts again under the new tariff.
    meter_.start(entry);
    return;
  }
  disconnect(entry, true);
  connected(entry, true);
}

void ConnectionStateMachine::virtualReconnect(std::string_view reasonLine) {
  env_.log.append(reasonLine, true);
  split();
}

void ConnectionStateMachine::userReset() {
  if (connectedFlag_) virtualReconnect(" Virtual reconnect (user request).");
}

}  // namespace tarvik
