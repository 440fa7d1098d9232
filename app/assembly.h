#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/guard_wiring.h"
#include "app/services.h"
#include "monitor/monitor.h"
#include "monitor/probe.h"
#include "monitor/program_timers.h"
#include "stats/accounts.h"
#include "stats/statistics.h"

namespace tarvik {

// The program's working parts wired together: the timers of the one table, the connection
// monitor (probe, state machine, meter, close-out) with the accounts and statistics it books
// into, and the guard around it (notifications, crash journal, exit, restart and midnight) as
// the monitor's hooks. The program, the tests and the benchmarks all build it here, so they
// run the same wiring.
struct Assembly {
  explicit Assembly(const Services& services) : Assembly(services, nullptr) {}
  // The monitor on other hooks and without the guard: how the monitor's own tests watch the
  // call points.
  Assembly(const Services& services, MonitorHooks& hooks) : Assembly(services, &hooks) {}
  Assembly(const Assembly&) = delete;
  Assembly& operator=(const Assembly&) = delete;

  ProgramTimers timers;
  Probe probe;
  Accounts accounts;
  Statistics statistics;
  std::string stateCode = "di";
  std::vector<std::string> entries;  // the phonebook as last listed
  std::unique_ptr<GuardWiring> guard;
  Monitor monitor;

 private:
  Assembly(const Services& services, MonitorHooks* hooks);
};

}  // namespace tarvik
