#pragma once

#include <QDBusConnection>
#include <memory>

#include "config/program_files.h"
#include "platform/linux/pppd_ras_service.h"
#include "platform/ras_service.h"
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

// Picks the remote-access service at start and logs the choice: the simulated line when its
// file is in the program directory, else NetworkManager when it answers on the bus, else
// pppd when it is installed. With none of them, the service returned is never available, so
// the probe reports the missing service once.
std::unique_ptr<RasService> selectRasService(const ProgramFiles& files, EventLog& log,
                                             RasChoices choices = {});

}  // namespace tarvik
