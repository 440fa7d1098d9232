#include "monitor/monitor.h"

#include "monitor/program_timers.h"
#include "platform/timer.h"
#include "platform/user.h"

namespace tarvik {

Monitor::Monitor(const MonitorEnv& env, Probe& probe, Accounts& accounts, Statistics& statistics,
                 std::string& stateCode, const std::vector<std::string>& phonebookEntries)
    : env_(env),
      quickLog_(env_.files.quickLog()),
      meter_(env_, accounts),
      closeOut_(env_, statistics, accounts, quickLog_),
      machine_(env_, probe, meter_, closeOut_, quickLog_, stateCode, phonebookEntries) {}

void Monitor::attachTimers() {
  const MonitorTimers& t = env_.timers;
  if (t.online) {
    t.online->setInterval(intervalOf(TimerId::Online));
    t.online->onFire([this] { machine_.poll(); });
  }
  if (t.general) {
    t.general->setInterval(intervalOf(TimerId::General));
    t.general->onFire([this] {
      if (meter_.tick()) machine_.split();
    });
  }
  if (t.hide) {
    t.hide->onFire([this] {
      env_.timers.hide->setEnabled(false);
      env_.user.hideStatusWindow();
    });
  }
}

}  // namespace tarvik
