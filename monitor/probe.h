#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/ras_service.h"

namespace tarvik {

class EventLog;

// The program's only view of the network: asks the remote-access service whether a
// connection is up, on which entry and device and in which RAS state, hangs it up on
// request, and keeps the list of phonebook entries.
class Probe {
 public:
  static constexpr std::size_t kMaxEntryName = 256;
  static constexpr std::size_t kMaxDeviceName = 128;

  Probe(RasService& service, EventLog& log);

  // One look at the line. The hang-up happens only when both flags are true (the poller
  // passes false, false). Returns whether a single connection is up in the connected state.
  bool probe(bool hangUp, bool hangUpConfirmed);

  // Replaces the entry list with the phonebook; on failure the list stays empty, so only
  // the "Default" settings are used.
  void listEntries();

  // The stored result of the last probe that reached the service.
  bool connected() const { return connected_; }
  std::int32_t rasState() const { return rasState_; }
  const std::string& rasEntryName() const { return rasEntryName_; }
  const std::string& deviceName() const { return deviceName_; }
  // Whether deviceName() is the interface the connection's traffic goes through.
  bool deviceCarriesTraffic() const { return deviceCarriesTraffic_; }
  // The listed connection's handle and its interface counters (nullopt when none is listed
  // or the service cannot tell).
  std::uint64_t connectionHandle() const { return handle_; }
  const std::optional<TrafficBytes>& trafficCounters() const { return traffic_; }

  const std::vector<std::string>& entries() const { return entries_; }

 private:
  void storeNothing();

  RasService& service_;
  EventLog& log_;
  bool connected_ = false;
  std::int32_t rasState_ = 0;
  std::string rasEntryName_;
  std::string deviceName_;
  bool deviceCarriesTraffic_ = true;
  std::uint64_t handle_ = 0;
  std::optional<TrafficBytes> traffic_;
  std::vector<std::string> entries_;
  bool missingServiceReported_ = false;
  bool entriesFailureLogged_ = false;
};

// Cuts UTF-8 text to at most `maxChars` characters without splitting a character.
std::string cutToChars(const std::string& text, std::size_t maxChars);

}  // namespace tarvik
