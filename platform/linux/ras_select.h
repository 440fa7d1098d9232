#pragma once

#include <QDBusConnection>
#include <memory>

#include "config/program_files.h"
#include "platform/linux/pppd_ras_service.h"
#include "platform/ras_switch.h"
#include "platform/sim_line.h"

namespace tarvik {

class EventLog;

// What selectRasService() may look at; the defaults are the live system.
struct RasChoices {
  // Time source of the simulated line; epoch milliseconds.
  SimLine::NowMs simLineNow = SimLine::systemNowMs;
  QDBusConnection bus = QDBusConnection::systemBus();
  PppdRoots pppdRoots;
};

// The remote-access service of this system, followed while the program runs: the simulated
// line while its file is in the program directory, else NetworkManager while it owns its
// name on the bus (watched through the bus's name-owner signals, never asked at every poll),
// else pppd while it is installed. With none of them the service is not available, so the
// probe reports the missing service once.
std::unique_ptr<RasSwitch> selectRasService(const ProgramFiles& files, EventLog& log,
                                            RasChoices choices = {});

}  // namespace tarvik
