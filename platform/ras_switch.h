#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ras_service.h"

namespace tarvik {

class EventLog;

// One remote-access service the switch may choose. `present` must be cheap (a file check or
// a flag kept up to date by a watcher): it is asked at every poll.
struct RasCandidate {
  std::string logName;  // as in " Remote access: NAME."
  std::function<bool()> present;
  std::function<std::unique_ptr<RasService>()> make;
  // Changes each time the service starts again (a new owner of its bus name): a restart
  // between two polls is a switch too, as the connections it reports are no longer the ones
  // it had. Empty for a service that cannot tell.
  std::function<std::uint64_t()> instance;
};

// The remote-access service of the running program. Services come and go while it runs
// (NetworkManager starts after the session, restarts, the simulated line's file is made or
// removed), so every poll re-checks the candidates in their order of preference and follows
// the first one present. A switch is logged once, and the first look after it shows no
// connection: a call metered on the old service ends there as a lost line, and starts again
// if the new service shows it, instead of carrying on as if nothing had happened.
class RasSwitch final : public RasService {
 public:
  RasSwitch(std::vector<RasCandidate> candidates, EventLog& log);

  // Called after each switch to a service that is there (the phonebook is the new
  // service's now).
  void setOnSwitch(std::function<void()> onSwitch) { onSwitch_ = std::move(onSwitch); }

  // Follows the first candidate present; returns whether the service changed.
  bool reselect();
  // The log name of the service in use, empty when there is none.
  std::string currentName() const;

  bool available() override;
  std::vector<RasConnection> activeConnections() override;
  std::optional<std::int32_t> connectionState(std::uint64_t handle) override;
  void hangUp(std::uint64_t handle) override;
  std::optional<std::vector<std::string>> phonebookEntries() override;
  std::optional<TrafficBytes> trafficCounters(std::uint64_t handle) override;

 private:
  static constexpr int kNone = -1;

  int firstPresent() const;
  std::uint64_t instanceOf(int candidate) const;

  std::vector<RasCandidate> candidates_;
  EventLog& log_;
  std::function<void()> onSwitch_;
  int chosen_ = kNone;
  std::uint64_t chosenInstance_ = 0;
  std::unique_ptr<RasService> service_;
  // Set by a switch, cleared by the next look at the connections.
  bool settling_ = false;
};

}  // namespace tarvik
