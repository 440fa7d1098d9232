#include "app/guard_wiring.h"

#include <cmath>
#include <limits>
#include <set>
#include <utility>

#include "config/ini_file.h"
#include "config/keys.h"
#include "monitor/close_out.h"
#include "monitor/monitor.h"
#include "monitor/probe.h"
#include "stats/accounts.h"

namespace tarvik {

GuardWiring::GuardWiring(const Services& services, const ProgramTimers& timers, Accounts& accounts)
    : services_(services),
      online_(timers[TimerId::Online]),
      accounts_(accounts),
      tunes_(services.tone, services.log) {
  NotificationHost& notificationHost = *this;
  CrashJournalHost& journalHost = *this;
  LifecycleHost& lifecycleHost = *this;
  notifications_ = std::make_unique<Notifications>(
      services.files, services.log, services.user,
      Notifications::Devices{tunes_, services.sound, services.process}, notificationHost,
      NotificationTimers{timers[TimerId::Hangup], timers[TimerId::Minute], timers[TimerId::Second],
                         timers[TimerId::Flash], timers[TimerId::FlashAnti]});
  journal_ = std::make_unique<CrashJournal>(
      services.files, services.clock, services.log, services.user, journalHost,
      CrashJournalTimers{timers[TimerId::SecurityA], timers[TimerId::SecurityZ],
                         timers[TimerId::Remind], timers[TimerId::Baloon]},
      services.numberFormat);
  // A connection that starts while bookings wait is metered from the balances they will leave.
  accounts_.setPendingBalances(journal_.get());
  lifecycle_ = std::make_unique<Lifecycle>(
      services.clock, services.log, services.user, services.settingsWindow, services.process,
      *journal_, lifecycleHost,
      LifecycleTimers{timers[TimerId::Online], timers[TimerId::Midnight]});
}

GuardWiring::~GuardWiring() {
  accounts_.setPendingBalances(nullptr);
}

void GuardWiring::attach(Monitor& monitor, Probe& probe) {
  monitor_ = &monitor;
  probe_ = &probe;
}

void GuardWiring::reloadGlobals(bool midnightSwitch) {
  notifications_->reloadGlobals();
  lifecycle_->reloadGlobals(midnightSwitch);
}

void GuardWiring::connectActions(std::string_view entry) {
  notifications_->connectActions(std::string(entry));
}

void GuardWiring::disconnectSignals(std::string_view entry) {
  notifications_->disconnectSignals(std::string(entry));
}

void GuardWiring::startWarningFlash() {
  notifications_->startWarningFlash();
}

void GuardWiring::hangUp() {
  notifications_->hangUpNow();
}

void GuardWiring::playTune(int tune) {
  tunes_.play(tune);
}

void GuardWiring::setMidnightArmed(bool armed) {
  lifecycle_->setMidnightArmed(armed);
}

void GuardWiring::connectionStarting() {
  journal_->connectionStarting();
}

void GuardWiring::closingConnection(CloseOutFigures& f) {
  f.identity = journal_->markClosing(f.figures);
  f.held = journal_->bookingKept();
}

bool GuardWiring::connectionClosed(bool booked) {
  return journal_->closeOutEnded(booked);
}

void GuardWiring::connectionBooked(std::string_view entry, int accountKind) {
  services_.events.connectionBooked(entry, accountKind);
}

std::string GuardWiring::currentStateCode() const {
  return monitor_ ? monitor_->stateMachine().stateCode() : "di";
}

void GuardWiring::hangUpNow() {
  if (probe_) probe_->probe(true, true);
}

ConnectionFigures GuardWiring::meterFigures() const {
  if (!monitor_) return {};
  return monitor_->meter().figures(monitor_->stateMachine().currentEntry());
}

bool GuardWiring::closeOutRecovered(const CloseOutFigures& c) {
  if (!monitor_) return false;
  const bool booked = monitor_->closeOut().run(c);
  connectionBooked(c.figures.entry, c.figures.accountKind);
  return booked;
}

bool GuardWiring::closeOutKept(const std::vector<CloseOutFigures>& connections) {
  if (!monitor_) return false;
  if (!monitor_->closeOut().runKept(connections, " Kept connection data:")) return false;
  // Each entry's open statistics are refreshed once, after the last of its bookings.
  std::set<std::pair<std::string, int>> refreshed;
  for (auto c = connections.rbegin(); c != connections.rend(); ++c) {
    const ConnectionFigures& f = c->figures;
    if (refreshed.emplace(f.entry, f.accountKind).second) connectionBooked(f.entry, f.accountKind);
  }
  return true;
}

std::string GuardWiring::quickLogTail(const CloseOutFigures& c) {
  return monitor_ ? monitor_->closeOut().quickLogTail(c) : std::string();
}

void GuardWiring::finishQuickLogLine(const std::string& tail) {
  if (monitor_) monitor_->quickLog().finishLine(tail);
}

std::optional<float> GuardWiring::storedBalance(const std::string& entry, int accountKind) {
  const AccountKey key = accountKey(entry, accountKind);
  const IniFile accounts(services_.files.accounts());
  if (!hasKey(accounts, key.section, key.key)) return std::nullopt;
  const std::optional<double> value = parseDecimal(readKey(accounts, key.section, key.key, ""));
  if (!value || std::fabs(*value) > std::numeric_limits<float>::max()) return std::nullopt;
  return static_cast<float>(*value);
}

void GuardWiring::bookBalance(const std::string& entry, int accountKind, float balance) {
  accounts_.bookBalance(entry, accountKind, balance);
}

void GuardWiring::resumeMonitoring() {
  online_.setInterval(intervalOf(TimerId::Online));
  online_.setEnabled(true);
  setStateCode("of");
}

bool GuardWiring::meterRunning() const {
  return monitor_ && monitor_->meter().running();
}

std::string GuardWiring::currentEntry() const {
  return monitor_ ? monitor_->stateMachine().currentEntry() : std::string(kDefaultEntry);
}

void GuardWiring::setStateCode(std::string_view code) {
  if (monitor_) {
    monitor_->stateMachine().setStateCode(std::string(code));
  } else {
    services_.user.showStateCode(code);
  }
}

void GuardWiring::virtualDisconnect() {
  if (monitor_) monitor_->stateMachine().disconnect(currentEntry(), true);
}

}  // namespace tarvik
