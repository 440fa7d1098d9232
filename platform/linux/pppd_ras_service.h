#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ras_service.h"

namespace tarvik {

// Where pppd keeps its peers, pid files and interfaces; tests point these at a fake tree.
struct PppdRoots {
  std::filesystem::path etcPpp = "/etc/ppp";
  std::filesystem::path run = "/run";
  std::filesystem::path sysClassNet = "/sys/class/net";
  std::filesystem::path proc = "/proc";
};

// pppd as the remote-access service: the phonebook is /etc/ppp/peers, a call is a running
// pppd for one peer. It authenticates while its ppp interface is not up, and is connected
// once the interface is up with an address. Hang-up does what poff does: SIGTERM to it.
class PppdRasService final : public RasService {
 public:
  using Signal = std::function<int(pid_t, int)>;
  using HasAddress = std::function<bool(const std::string& interface)>;

  // The defaults are the live system: kill(2) and the interface addresses of getifaddrs(3).
  explicit PppdRasService(PppdRoots roots = {}, Signal signal = {}, HasAddress hasAddress = {});

  // pppd counts as installed when its peers folder exists.
  bool available() override;
  std::vector<RasConnection> activeConnections() override;
  std::optional<std::int32_t> connectionState(std::uint64_t handle) override;
  void hangUp(std::uint64_t handle) override;
  std::optional<std::vector<std::string>> phonebookEntries() override;
  // The ppp interface's rx_bytes and tx_bytes in /sys/class/net.
  std::optional<TrafficBytes> trafficCounters(std::uint64_t handle) override;

  // One running pppd: its process id, the peer it was called for, and its ppp interface
  // once pppd has created one.
  struct Call {
    pid_t pid = 0;
    std::string peer;
    std::string interface;
  };
  std::vector<Call> calls() const;

 private:
  std::optional<Call> callOf(pid_t pid) const;
  std::string interfaceOf(pid_t pid, const std::string& peer) const;
  bool interfaceUp(const std::string& interface) const;
  std::string lineOf(const Call& call) const;

  PppdRoots roots_;
  Signal signal_;
  HasAddress hasAddress_;
};

// The peer named by a pppd command line ("call PEER" or "file .../peers/PEER"), or empty
// when the arguments are not those of a pppd started for a peer.
std::string pppdPeerOf(const std::vector<std::string>& argv);

}  // namespace tarvik
