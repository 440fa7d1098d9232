#include "app/engine.h"

#include "app/assembly.h"
#include "app/banner.h"
#include "app/first_run.h"
#include "config/ini_file.h"
#include "config/keys.h"
#include "monitor/quick_log.h"
#include "status/display_text.h"

namespace tarvik {
namespace {

int readGlobal(const IniFile& config, const IntKey<Scope::Global>& key) {
  return readKey(config, sections::global(), key);
}

constexpr int kShortestPause = 1000;
constexpr int kPauseFallback = 5000;
// The first start of a month waits at least this long, so the user sees the reminder.
constexpr int kMonthStartPause = 5000;
constexpr int kShowDelay = 1000;

}  // namespace

Engine::Engine(Services services) : s_(std::move(services)), a_(std::make_unique<Assembly>(s_)) {
  timer(TimerId::Reboot).onFire([this] { rebootTimerFired(); });
}

Engine::~Engine() = default;

Timer& Engine::timer(TimerId id) {
  return a_->timers[id];
}

const std::string& Engine::stateCode() const {
  return a_->stateCode;
}

const Meter& Engine::meter() const {
  return a_->monitor.meter();
}

const PendingBalances& Engine::pendingBalances() const {
  return a_->guard->journal();
}

const std::vector<std::string>& Engine::phonebookEntries() const {
  return a_->entries;
}

void Engine::showStateCode() {
  s_.user.showStateCode(a_->stateCode);
}

void Engine::start() {
  Timer& t_reboot = timer(TimerId::Reboot);
  Timer& t_online = timer(TimerId::Online);
  creating_ = true;
  s_.user.setTrayHint(kTrayHint);
  // Missing settings: every reader falls back to the defaults.
  const IniFile config(s_.files.config());
  const bool firstRun = !config.exists();
  if (firstRun) {
    s_.log.append(
        " Loading parameters...\n Failed. File not found.\n Default parameters will be loaded.");
  }
  // The quick log exists from the first start on.
  QuickLog(s_.files.quickLog()).createIfMissing();
  // The phonebook first: the rollover covers its entries.
  listPhonebookEntries();
  const Rollover rollover = rollOverStatistics();
  applyPause();
  if (rollover.week) s_.log.append(" Week statistics updated.");
  if (rollover.month) {
    if (t_reboot.interval() < kMonthStartPause) t_reboot.setInterval(kMonthStartPause);
    s_.log.append(" Month statistics updated.");
    s_.user.balloon(
        "Напоминание...",
        "Рекомендуется сверить\nтекущие состояния счетов\nпрограммы и провайдера(ов)...", true);
  }
  // After the reminder, which it replaces: on a first start there is nothing to compare yet.
  if (firstRun) s_.user.balloon(kFirstRunTitle, kFirstRunText, false);
  delayedStart_ = readGlobal(config, global_keys::kInit) != 0 &&
                  classifyArgument(s_.firstArgument) == StartKind::Auto;
  // An interrupted connection is asked about before anything else is shown.
  searchCrashJournal();
  t_reboot.setEnabled(true);
  loadParameters(true, true);
  a_->stateCode = "di";
  showStateCode();
  creating_ = false;
  writeClearedDisplay(s_.user, IniFile(s_.files.config()));
  // A postponed recovery question keeps the poller off until it is answered (its handler is
  // attached already, so the answer can switch it on).
  if (timer(TimerId::Remind).enabled()) return;
  a_->stateCode = "of";
  t_online.setInterval(intervalOf(TimerId::Online));
  t_online.setEnabled(true);
  if (delayedStart_) {
    s_.user.makeInert();
    t_online.setEnabled(false);
    a_->stateCode = "di";
  } else {
    t_reboot.setInterval(kShowDelay);
  }
  showStateCode();
}

void Engine::applyPause() {
  const IniFile config(s_.files.config());
  int pause = readGlobal(config, global_keys::kPause);
  if (pause < kShortestPause) pause = kPauseFallback;
  timer(TimerId::Reboot).setInterval(pause);
}

void Engine::reloadGlobalParameters(bool skinChanged) {
  loadParameters(skinChanged, false);
}

void Engine::loadParameters(bool skinChanged, bool fromStartUp) {
  if (fromStartUp) s_.log.append(" Loading parameters...");
  {
    const IniFile config(s_.files.config());
    namespace g = global_keys;
    s_.user.placeStatusWindow();
    timer(TimerId::FlashAnti).setInterval(readGlobal(config, g::kWarnTime) * 1000);
    // The warning keys and t_midnight (which stays off after a midnight restart was cancelled).
    a_->guard->reloadGlobals(readGlobal(config, g::kMidnight) != 0);
  }
  // While a connection is metered its entry's keys are read again (and warnings re-armed).
  Monitor& monitor = a_->monitor;
  if (monitor.meter().running()) monitor.meter().reload(monitor.stateMachine().currentEntry());
  // A skin that fails to load resets its keys (inside loadSkin), so the second try loads
  // the fallback.
  if (skinChanged && !s_.user.loadSkin()) s_.user.loadSkin();
  showWindow_ = readGlobal(IniFile(s_.files.config()), global_keys::kShow) != 0;
  if (fromStartUp) {
    listPhonebookEntries();
    s_.log.append(" StandBy.");
  }
  showTrayHint();
}

void Engine::showTrayHint() {
  // Until an entry is set up the tooltip says where; saving the settings ends that, and so does
  // a phonebook that brings an entry with settings of its own.
  s_.user.setTrayHint(nothingConfigured(IniFile(s_.files.config()), a_->entries) ? kSetupHint
                                                                                 : kTrayHint);
}

void Engine::rebootTimerFired() {
  timer(TimerId::Reboot).setEnabled(false);
  if (showWindow_) s_.user.showStatusWindow();
  if (!delayedStart_) return;
  s_.user.hideTrayIcon();
  s_.user.showStatusWindow();
  s_.user.bringStatusWindowToFront();
  s_.process.startNewInstance("/reinitialize");
  s_.user.terminate();
}

void Engine::listPhonebookEntries() {
  a_->probe.listEntries();
  a_->entries = a_->probe.entries();
}

Engine::Rollover Engine::rollOverStatistics() {
  // "Default" first, then the phonebook in its order; an entry not listed keeps its values.
  std::vector<std::string> entries{std::string(kDefaultEntry)};
  entries.insert(entries.end(), a_->entries.begin(), a_->entries.end());
  const RolloverResult result = a_->statistics.rollOver(entries, s_.clock.now());
  return {result.week, result.month};
}

void Engine::searchCrashJournal() {
  CrashJournal& journal = a_->guard->journal();
  journal.detectAtStart();
  crashJournalPath_ =
      journal.recoveryPending() ? journal.journalPath().string() : std::string(kNoCrashJournal);
}

void Engine::exit() {
  a_->guard->lifecycle().exitCommand();
}

void Engine::restart() {
  a_->guard->lifecycle().restartCommand();
}

void Engine::toggleMonitoring() {
  a_->guard->lifecycle().enableCommand();
}

void Engine::serviceSwitched() {
  listPhonebookEntries();
  showTrayHint();
  s_.events.serviceSwitched();
}

void Engine::newCount() {
  a_->monitor.stateMachine().userReset();
}

void Engine::keepLine() {
  a_->guard->notifications().keepLine();
}

void Engine::hangUp() {
  a_->guard->notifications().hangUpNow();
}

bool Engine::connectionActive() {
  return a_->probe.probe(false, false);
}

}  // namespace tarvik
