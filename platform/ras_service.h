#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/traffic.h"

namespace tarvik {

// RAS connection states the monitor cares about.
enum RasState : std::int32_t {
  kRasNone = 0,
  kRasConnectDevice = 2,
  kRasAuthenticate = 5,
  kRasAuthNotify = 6,
  kRasAuthProject = 10,
  kRasConnected = 8192,
  kRasDisconnected = 8193,
};

struct RasConnection {
  std::uint64_t handle = 0;
  std::string entry;   // phonebook entry name
  std::string device;  // modem or adapter name
  // False while `device` is only what the connection is made over, not yet the interface
  // its traffic will go through (the Ethernet device under a PPPoE session before ppp0
  // exists, a VPN's parent device before its tunnel is up).
  bool deviceCarriesTraffic = true;
};

// The remote-access service: whatever on this system dials, reports and hangs up the
// connections of the phonebook (NetworkManager, pppd, the simulated line).
class RasService {
 public:
  virtual ~RasService() = default;
  // False when the service cannot be reached at all on this system.
  virtual bool available() = 0;
  // The active connections, in the service's order.
  virtual std::vector<RasConnection> activeConnections() = 0;
  // RAS state number of one connection, or nullopt when the query failed.
  virtual std::optional<std::int32_t> connectionState(std::uint64_t handle) = 0;
  // Drops the connection; returns at once, without waiting for the line to drop.
  virtual void hangUp(std::uint64_t handle) = 0;
  // The phonebook's entry names in order, or nullopt when listing failed.
  virtual std::optional<std::vector<std::string>> phonebookEntries() = 0;
  // The byte counters of the connection's interface, or nullopt when the service cannot tell.
  // They may wrap or start again from 0 (a new interface); the meter copes with both.
  virtual std::optional<TrafficBytes> trafficCounters(std::uint64_t handle) {
    (void)handle;
    return std::nullopt;
  }
};

}  // namespace tarvik
