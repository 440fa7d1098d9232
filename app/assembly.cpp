#include "app/assembly.h"

namespace tarvik {

Assembly::Assembly(const Services& s, MonitorHooks* hooks)
    : timers(s.timers),
      probe(s.ras, s.log),
      accounts(s.files, s.numberFormat, s.log),
      statistics(s.files, s.numberFormat, s.log),
      // The guard is the monitor's hooks, so it is built first and attached afterwards.
      guard(hooks ? nullptr : std::make_unique<GuardWiring>(s, timers, accounts)),
      monitor(MonitorEnv{s.clock, s.files, s.log, s.user, s.sound, s.numberFormat,
                         timers.forMonitor(), hooks ? *hooks : *guard},
              probe, accounts, statistics, stateCode, entries) {
  if (guard) guard->attach(monitor, probe);
  monitor.attachTimers();
}

}  // namespace tarvik
