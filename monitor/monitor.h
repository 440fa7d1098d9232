#pragma once

#include "monitor/close_out.h"
#include "monitor/meter.h"
#include "monitor/monitor_env.h"
#include "monitor/quick_log.h"
#include "monitor/state_machine.h"

namespace tarvik {

class Probe;
class Statistics;

// The connection monitor as one piece: quick log, meter, close-out and state machine wired
// together over the engine's probe, accounts, statistics and timers.
class Monitor {
 public:
  Monitor(const MonitorEnv& env, Probe& probe, Accounts& accounts, Statistics& statistics,
          std::string& stateCode, const std::vector<std::string>& phonebookEntries);
  Monitor(const Monitor&) = delete;
  Monitor& operator=(const Monitor&) = delete;

  // Hands t_online to the poller, t_general to the meter tick and t_hide to the hiding of
  // the status window (which stops t_hide).
  void attachTimers();

  ConnectionStateMachine& stateMachine() { return machine_; }
  Meter& meter() { return meter_; }
  QuickLog& quickLog() { return quickLog_; }
  CloseOut& closeOut() { return closeOut_; }

 private:
  MonitorEnv env_;
  QuickLog quickLog_;
  Meter meter_;
  CloseOut closeOut_;
  ConnectionStateMachine machine_;
};

}  // namespace tarvik
