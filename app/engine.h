#pragma once

#include <memory>
#include <string>
#include <vector>

#include "config/number_text.h"
#include "config/program_files.h"
#include "platform/clock.h"
#include "platform/event_log.h"
#include "platform/process.h"
#include "platform/ras_service.h"
#include "platform/sound.h"
#include "platform/timer.h"
#include "platform/user.h"

namespace tarvik {

class Accounts;
class GuardWiring;
class Monitor;
class Probe;
class Statistics;

// What the engine is given by the entry point (or by a test).
struct Services {
  Clock& clock;
  TimerFactory& timers;
  RasService& ras;
  User& user;
  ToneDevice& tone;
  SoundPlayer& sound;
  ProcessLauncher& process;
  ProgramFiles files;
  NumberFormat numberFormat;
  EventLog& log;
  std::string firstArgument;
};

inline constexpr std::string_view kTrayHint = "Tarvik v4.0";
inline constexpr std::string_view kNoCrashJournal = "NULL";

// The status window's run-time state and behaviour, without any drawing: it owns every timer
// and runs the start-up sequence. The window classes forward their events here and draw what
// the engine tells them through User.
class Engine {
 public:
  explicit Engine(Services services);
  ~Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // The start-up sequence of the status window, in its fixed order.
  void start();

  // Re-reads the global keys; with `skinChanged`, also the skin. At start-up it is framed by
  // " Loading parameters..." and " StandBy." in the event log; from the dialog it is silent.
  void reloadGlobalParameters(bool skinChanged, bool fromStartUp = false);

  // t_reboot: shows the window after the start, or ends a delayed start by restarting.
  void t_rebootTimer();

  // Timers, owned here so that every part of the program attaches its handler to the same one.
  Timer& t_online() { return *t_online_; }
  Timer& t_general() { return *t_general_; }
  Timer& t_security_a() { return *t_security_a_; }
  Timer& t_security_z() { return *t_security_z_; }
  Timer& t_remind() { return *t_remind_; }
  Timer& t_minute() { return *t_minute_; }
  Timer& t_second() { return *t_second_; }
  Timer& t_hangup() { return *t_hangup_; }
  Timer& t_flash() { return *t_flash_; }
  Timer& t_flash_anti() { return *t_flash_anti_; }
  Timer& t_midnight() { return *t_midnight_; }
  Timer& t_reboot() { return *t_reboot_; }
  Timer& t_hide() { return *t_hide_; }
  Timer& t_baloon() { return *t_baloon_; }

  const std::string& stateCode() const { return stateCode_; }
  void setStateCode(std::string code) { stateCode_ = std::move(code); }
  void showStateCode() { s_.user.showStateCode(stateCode_); }

  bool creating() const { return creating_; }
  bool delayedStart() const { return delayedStart_; }
  const std::vector<std::string>& phonebookEntries() const { return entries_; }
  const std::string& crashJournalPath() const { return crashJournalPath_; }
  const Services& services() const { return s_; }

  // The connection monitor (probe, state machine, meter, close-out) and the accounts and
  // statistics it books into.
  Monitor& monitor() { return *monitor_; }
  Probe& probe() { return *probe_; }
  Accounts& accounts() { return *accounts_; }
  Statistics& statistics() { return *statistics_; }
  // Notifications, crash journal and the exit/restart/monitoring/midnight commands (the tray
  // commands m_exit, m_reboot, m_enable, m_hangup and m_nohangup go to guard().lifecycle()
  // and guard().notifications()).
  GuardWiring& guard() { return *guard_; }

 private:
  struct Rollover {
    bool week = false;
    bool month = false;
  };

  void createTimers();
  void createMonitor();
  void applyPause();

  // Phonebook entry listing into entries_ (line).
  void listPhonebookEntries();
  // Day/week/month rollover of the statistics, with the monthly log clearing (accounts).
  Rollover rollOverStatistics();
  // Crash journal search and the recovery question, arming t_remind on "later" (guard).
  void searchCrashJournal();
  // Places the status window from "O", "X", "Y" (desk).
  void placeWindow();
  // Reloads the per-entry keys while the meter runs (meter).
  void reloadEntryParameters();
  // Loads the skin chosen in the skin section; false when it failed (desk).
  bool loadSkin();
  // Empties the five display fields (meter).
  void clearStatusDisplay();
  // Attaches the connection poller to t_online (meter).
  void attachPoller();

  Services s_;
  std::unique_ptr<Timer> t_online_, t_general_, t_security_a_, t_security_z_, t_remind_, t_minute_,
      t_second_, t_hangup_, t_flash_, t_flash_anti_, t_midnight_, t_reboot_, t_hide_, t_baloon_;

  std::string stateCode_ = "di";
  bool creating_ = false;
  bool delayedStart_ = false;
  std::vector<std::string> entries_;
  std::string crashJournalPath_{kNoCrashJournal};
  // "Show" as the last reload read it: whether the window appears once the start is done.
  // The placement and look keys are the status window's own; it re-reads them when placed.
  bool showWindow_ = true;

  std::unique_ptr<Probe> probe_;
  std::unique_ptr<Accounts> accounts_;
  std::unique_ptr<Statistics> statistics_;
  std::unique_ptr<GuardWiring> guard_;  // the monitor's hooks: outlives it
  std::unique_ptr<Monitor> monitor_;
};

}  // namespace tarvik
