#include "app/engine.h"

#include "app/banner.h"
#include "app/guard_wiring.h"
#include "config/ini_file.h"
#include "config/keys.h"
#include "monitor/monitor.h"
#include "monitor/probe.h"
#include "monitor/quick_log.h"
#include "stats/accounts.h"
#include "stats/statistics.h"
#include "status/display_text.h"

namespace tarvik {
namespace {

int readGlobal(const IniFile& config, const IntKey& key) {
  return readKey(config, kGlobalSection, key);
}

constexpr int kShortestPause = 1000;
constexpr int kPauseFallback = 5000;
// The first start of a month waits at least this long, so the user sees the reminder.
constexpr int kMonthStartPause = 5000;
constexpr int kShowDelay = 1000;

}  // namespace

Engine::Engine(Services services) : s_(std::move(services)) {
  createTimers();
  createMonitor();
}

void Engine::createMonitor() {
  probe_ = std::make_unique<Probe>(s_.ras, s_.log);
  accounts_ = std::make_unique<Accounts>(s_.files, s_.numberFormat, s_.log);
  statistics_ = std::make_unique<Statistics>(s_.files, s_.numberFormat, s_.log);
  MonitorTimers timers;
  timers.online = t_online_.get();
  timers.general = t_general_.get();
  timers.securityA = t_security_a_.get();
  timers.securityZ = t_security_z_.get();
  timers.minute = t_minute_.get();
  timers.second = t_second_.get();
  timers.hangup = t_hangup_.get();
  timers.hide = t_hide_.get();
  guard_ = std::make_unique<GuardWiring>(
      GuardServices{s_.clock, s_.log, s_.user, s_.tone, s_.sound, s_.process, s_.files,
                    s_.numberFormat},
      GuardTimers{*t_online_, *t_hangup_, *t_minute_, *t_second_, *t_flash_, *t_flash_anti_,
                  *t_security_a_, *t_security_z_, *t_remind_, *t_baloon_, *t_midnight_},
      *accounts_);
  const MonitorEnv env{s_.clock, s_.files,        s_.log, s_.user,
                       s_.sound, s_.numberFormat, timers, guard_.get()};
  monitor_ =
      std::make_unique<Monitor>(env, *probe_, *accounts_, *statistics_, stateCode_, entries_);
  guard_->attach(*monitor_, *probe_);
}

Engine::~Engine() = default;

void Engine::createTimers() {
  auto make = [this](const char* name, int interval) {
    auto timer = s_.timers.createTimer(name);
    timer->setEnabled(false);
    timer->setInterval(interval);
    return timer;
  };
  // Intervals that depend on settings get their key's default until the owner sets them.
  t_online_ = make("t_online", 1000);
  t_general_ = make("t_general", 750);
  t_security_a_ = make("t_security_a", 5000);
  t_security_z_ = make("t_security_z", 5555);
  t_remind_ = make("t_remind", 60000);
  t_minute_ = make("t_minute", 59995);
  t_second_ = make("t_second", entry_keys::kOnLinePeriod.def * 1000 - 5);
  t_hangup_ = make("t_hangup", entry_keys::kHangUpTime.def * 1000);
  t_flash_ = make("t_flash", 250);
  t_flash_anti_ = make("t_flash_anti", global_keys::kWarnTime.def * 1000);
  t_midnight_ = make("t_midnight", 888);
  t_reboot_ = make("t_reboot", global_keys::kPause.def);
  t_hide_ = make("t_hide", entry_keys::kStatusWait.def * 1000);
  t_baloon_ = make("t_baloon", global_keys::kHelpTime.def * 1000);
  t_reboot_->onFire([this] { t_rebootTimer(); });
}

void Engine::start() {
  // 1. Creating; the tray icon's hint.
  creating_ = true;
  s_.user.setTrayHint(kTrayHint);
  // 2. Per-window opacity is always available to the Qt status window; nothing to decide.

  // 3. Missing settings: every reader falls back to the defaults.
  const IniFile config(s_.files.config());
  if (!config.exists()) {
    s_.log.append(
        " Loading parameters...\n Failed. File not found.\n Default parameters will be loaded.");
  }
  // 4. The quick log exists from the first start on.
  QuickLog(s_.files.quickLog()).createIfMissing();
  // 5.
  listPhonebookEntries();
  // 6.
  const Rollover rollover = rollOverStatistics();
  // 7.
  applyPause();
  // 8.
  if (rollover.week) s_.log.append(" Week statistics updated.");
  if (rollover.month) {
    if (t_reboot_->interval() < kMonthStartPause) t_reboot_->setInterval(kMonthStartPause);
    s_.log.append(" Month statistics updated.");
    s_.user.balloon(
        "Напоминание...",
        "Рекомендуется сверить\nтекущие состояния счетов\nпрограммы и провайдера(ов)...", true);
  }
  // 9.
  delayedStart_ = readGlobal(config, global_keys::kInit) != 0 &&
                  classifyArgument(s_.firstArgument) == StartKind::Auto;
  // 10.
  searchCrashJournal();
  // 11.
  t_reboot_->setEnabled(true);
  reloadGlobalParameters(true, true);
  // 12.
  stateCode_ = "di";
  showStateCode();
  creating_ = false;
  clearStatusDisplay();
  // The poller's handler is attached even while a recovery question waits, so that the
  // answer given later can switch it on.
  attachPoller();
  // 13, 14. A postponed recovery question keeps the poller off until it is answered.
  if (t_remind_->enabled()) return;
  stateCode_ = "of";
  t_online_->setInterval(1000);
  t_online_->setEnabled(true);
  if (delayedStart_) {
    s_.user.makeInert();
    t_online_->setEnabled(false);
    stateCode_ = "di";
  } else {
    t_reboot_->setInterval(kShowDelay);
  }
  showStateCode();
}

void Engine::applyPause() {
  const IniFile config(s_.files.config());
  int pause = readGlobal(config, global_keys::kPause);
  if (pause < kShortestPause) pause = kPauseFallback;
  t_reboot_->setInterval(pause);
}

void Engine::reloadGlobalParameters(bool skinChanged, bool fromStartUp) {
  if (fromStartUp) s_.log.append(" Loading parameters...");
  {
    const IniFile config(s_.files.config());
    namespace g = global_keys;
    placeWindow();
    t_flash_anti_->setInterval(readGlobal(config, g::kWarnTime) * 1000);
    // The warning keys and t_midnight (which stays off after a midnight restart was cancelled).
    guard_->reloadGlobals(readGlobal(config, g::kMidnight) != 0);
  }
  reloadEntryParameters();
  // A skin that fails to load resets its keys (inside loadSkin), so the second try loads
  // the fallback.
  if (skinChanged && !loadSkin()) loadSkin();
  showWindow_ = readGlobal(IniFile(s_.files.config()), global_keys::kShow) != 0;
  if (fromStartUp) {
    listPhonebookEntries();
    s_.log.append(" StandBy.");
  }
}

void Engine::t_rebootTimer() {
  t_reboot_->setEnabled(false);
  if (showWindow_) s_.user.showStatusWindow();
  if (!delayedStart_) return;
  s_.user.hideTrayIcon();
  s_.user.showStatusWindow();
  s_.user.bringStatusWindowToFront();
  s_.process.startNewInstance("/reinitialize");
  s_.user.terminate();
}

void Engine::listPhonebookEntries() {
  probe_->listEntries();
  entries_ = probe_->entries();
}

Engine::Rollover Engine::rollOverStatistics() {
  // "Default" first, then the phonebook in its order; an entry not listed keeps its values.
  std::vector<std::string> entries{std::string(kDefaultEntry)};
  entries.insert(entries.end(), entries_.begin(), entries_.end());
  const RolloverResult result = statistics_->rollOver(entries, s_.clock.now());
  return {result.week, result.month};
}

void Engine::searchCrashJournal() {
  CrashJournal& journal = guard_->journal();
  journal.detectAtStart();
  crashJournalPath_ =
      journal.recoveryPending() ? journal.journalPath().string() : std::string(kNoCrashJournal);
}

void Engine::placeWindow() {
  s_.user.placeStatusWindow();
}

void Engine::reloadEntryParameters() {
  // While a connection is metered its entry's keys are read again (and warnings re-armed).
  if (monitor_->meter().running())
    monitor_->meter().reload(monitor_->stateMachine().currentEntry());
}

bool Engine::loadSkin() {
  return s_.user.loadSkin();
}

void Engine::clearStatusDisplay() {
  writeClearedDisplay(s_.user, IniFile(s_.files.config()));
}

void Engine::attachPoller() {
  monitor_->attachTimers();
}

}  // namespace tarvik
