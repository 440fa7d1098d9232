#pragma once

#include <string>
#include <string_view>

#include "monitor/crash_journal.h"
#include "platform/clock.h"
#include "platform/event_log.h"
#include "platform/process.h"
#include "platform/settings_window.h"
#include "platform/timer.h"
#include "platform/user.h"

namespace tarvik {

// What the exit, restart, monitoring switch and midnight handling need from the monitor.
class LifecycleHost {
 public:
  virtual ~LifecycleHost() = default;
  // The meter is running (a connection is being metered).
  virtual bool meterRunning() const = 0;
  virtual std::string currentEntry() const = 0;
  // Appends a tail and a line end to the open quick-log line; failures are ignored.
  virtual void finishQuickLogLine(const std::string& tail) = 0;
  // Makes `code` the monitor's state code and shows it.
  virtual void setStateCode(std::string_view code) = 0;
  // Disconnect(current entry, virtual = true): books the part so far as a connection and
  // deletes the crash journal.
  virtual void virtualDisconnect() = 0;
};

struct LifecycleTimers {
  Timer& online;    // t_online, the connection poller
  Timer& midnight;  // t_midnight
};

// The tray commands that end, restart or pause the program, and the restart at midnight.
// Every restart starts a new instance with a switch and terminates this one.
class Lifecycle {
 public:
  Lifecycle(const Clock& clock, EventLog& log, User& user, SettingsWindow& settings,
            ProcessLauncher& launcher, CrashJournal& journal, LifecycleHost& host,
            LifecycleTimers timers);

  // Part of the global-parameter reload: "Midnight" (global, default 0) switches t_midnight.
  void reloadGlobals(bool midnightSwitch);

  void exitCommand();     // m_exit "Выход"
  void restartCommand();  // m_reboot "Перезапуск"
  void enableCommand();   // m_enable "Выключить" / "Включить"
  void midnightTick();    // the t_midnight event

  // The m_enable tag: monitoring is on.
  bool monitoringOn() const { return monitoringOn_; }
  // Set by the meter's start, cleared by every disconnect.
  void setMidnightArmed(bool armed) { midnightArmed_ = armed; }

 private:
  void restartWith(const char* programSwitch);

  const Clock& clock_;
  EventLog& log_;
  User& user_;
  SettingsWindow& settings_;
  ProcessLauncher& launcher_;
  CrashJournal& journal_;
  LifecycleHost& host_;
  LifecycleTimers timers_;

  bool monitoringOn_ = true;
  bool midnightArmed_ = false;
  bool midnightCancelled_ = false;  // Cancel at midnight: no restart until the next start
  // The day this instance started: an instance started by the midnight restart itself may
  // still see 00:00:00 on its clock, and that midnight is already behind it.
  LocalTime startDay_;
};

extern const char* const kExitWhileOnlineQuestion;
extern const char* const kMidnightDialogQuestion;

}  // namespace tarvik
