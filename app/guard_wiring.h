#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "app/lifecycle.h"
#include "app/services.h"
#include "monitor/crash_journal.h"
#include "monitor/monitor_env.h"
#include "monitor/notifications.h"
#include "monitor/program_timers.h"
#include "monitor/tunes.h"

namespace tarvik {

class Accounts;
class Monitor;
class Probe;

// Ties the online notifications, the crash journal and the exit/restart/midnight commands to
// the connection monitor. The assembly builds it before the monitor (whose hooks it is) and
// then attaches it to the monitor.
class GuardWiring final : public MonitorHooks,
                          private NotificationHost,
                          private CrashJournalHost,
                          private LifecycleHost {
 public:
  GuardWiring(const Services& services, const ProgramTimers& timers, Accounts& accounts);
  ~GuardWiring() override;
  GuardWiring(const GuardWiring&) = delete;
  GuardWiring& operator=(const GuardWiring&) = delete;

  void attach(Monitor& monitor, Probe& probe);

  // The global-parameter reload: warning flash keys and the midnight switch.
  void reloadGlobals(bool midnightSwitch);

  Notifications& notifications() { return *notifications_; }
  CrashJournal& journal() { return *journal_; }
  Lifecycle& lifecycle() { return *lifecycle_; }

  // MonitorHooks
  void connectActions(std::string_view entry) override;
  void disconnectSignals(std::string_view entry) override;
  void startWarningFlash() override;
  void hangUp() override;
  void playTune(int tune) override;
  void setMidnightArmed(bool armed) override;
  void connectionStarting() override;
  void closingConnection(CloseOutFigures& figures) override;
  bool connectionClosed(bool booked) override;
  void connectionBooked(std::string_view entry, int accountKind) override;

 private:
  // NotificationHost
  std::string currentStateCode() const override;
  void hangUpNow() override;
  // CrashJournalHost
  ConnectionFigures meterFigures() const override;
  bool closeOutRecovered(const CloseOutFigures& connection) override;
  bool closeOutKept(const std::vector<CloseOutFigures>& connections) override;
  void finishQuickLogLine(const std::string& tail) override;
  std::string quickLogTail(const CloseOutFigures& connection) override;
  std::optional<float> storedBalance(const std::string& entry, int accountKind) override;
  void bookBalance(const std::string& entry, int accountKind, float balance) override;
  void resumeMonitoring() override;
  // LifecycleHost
  bool meterRunning() const override;
  std::string currentEntry() const override;
  void setStateCode(std::string_view code) override;
  void virtualDisconnect() override;

  Services services_;
  Timer& online_;
  Accounts& accounts_;
  Monitor* monitor_ = nullptr;
  Probe* probe_ = nullptr;
  TunePlayer tunes_;
  std::unique_ptr<Notifications> notifications_;
  std::unique_ptr<CrashJournal> journal_;
  std::unique_ptr<Lifecycle> lifecycle_;
};

}  // namespace tarvik
