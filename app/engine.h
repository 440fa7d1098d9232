#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/services.h"
#include "monitor/program_timers.h"
#include "stats/accounts.h"
#include "status/tray_hint.h"

namespace tarvik {

struct Assembly;
class Meter;

inline constexpr std::string_view kNoCrashJournal = "NULL";

// The program at run time, without any drawing: it owns the assembly, runs the start-up
// sequence and carries out the commands of the tray menu and the settings dialog. The window
// classes draw what the engine tells them through User.
class Engine {
 public:
  explicit Engine(Services services);
  ~Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // The start-up sequence of the status window, in its fixed order.
  void start();

  // The commands of the tray menu and the settings dialog.
  void exit();              // "Выход": asks first while a connection is metered
  void restart();           // "Перезапуск"
  void toggleMonitoring();  // "Выключить" / "Включить"
  // Re-reads the global keys; with `skinChanged`, also the skin (the dialog's ОК and
  // ПРИМЕНИТЬ, the tray's account/expenses toggle).
  void reloadGlobalParameters(bool skinChanged);
  // The status window went from hidden to shown: the configuration is read again, and while a
  // connection is metered its entry's settings too, which picks up hand edits and re-arms the
  // balance warnings (one still below its threshold comes again).
  void statusWindowShown() { reloadGlobalParameters(false); }
  void newCount();  // "Начать отсчёт заново": a virtual reconnect
  void keepLine();  // "Не разрывать связь": cancels the automatic hang-up
  void hangUp();    // "Отключиться"
  // Whether the probe finds an active dial-up connection (double-click actions 4 and 5).
  bool connectionActive();
  // The remote-access service changed while running: its phonebook replaces the entries, and
  // the windows that list them hear of it.
  void serviceSwitched();

  // The program's timers: the status window runs its balloons and its hiding on t_baloon and
  // t_hide, and tests watch them.
  Timer& timer(TimerId id);

  const std::string& stateCode() const;
  // The running figures of the connection being metered (zero while none is).
  const Meter& meter() const;
  const std::vector<std::string>& phonebookEntries() const;
  // The balances that bookings still waiting to be written will leave.
  const PendingBalances& pendingBalances() const;
  bool creating() const { return creating_; }
  bool delayedStart() const { return delayedStart_; }
  const std::string& crashJournalPath() const { return crashJournalPath_; }

 private:
  struct Rollover {
    bool week = false;
    bool month = false;
  };

  // t_reboot: shows the window after the start, or ends a delayed start by restarting.
  void rebootTimerFired();
  void applyPause();
  // At start-up it is framed by " Loading parameters..." and " StandBy." in the event log;
  // from the dialog it is silent.
  void loadParameters(bool skinChanged, bool fromStartUp);
  void showStateCode();
  // Phonebook entry listing into the assembly's entries.
  void listPhonebookEntries();
  void showTrayHint();
  // Day/week/month rollover of the statistics, with the monthly log clearing.
  Rollover rollOverStatistics();
  // Crash journal search and the recovery question, arming t_remind on "later".
  void searchCrashJournal();

  Services s_;
  std::unique_ptr<Assembly> a_;
  bool creating_ = false;
  bool delayedStart_ = false;
  std::string crashJournalPath_{kNoCrashJournal};
  // "Show" as the last reload read it: whether the window appears once the start is done.
  // The placement and look keys are the status window's own; it re-reads them when placed.
  bool showWindow_ = true;
};

}  // namespace tarvik
