#pragma once

#include <QDBusConnection>
#include <QString>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/ras_service.h"

namespace tarvik {

// The device a VPN's traffic goes through, and that device's interface name (tun0).
struct NmTunnel {
  QString devicePath;
  QString interfaceName;
};

// NetworkManager on the system bus as the remote-access service. The phonebook is the
// connection profiles of dial-up-like types (mobile broadband, PPPoE, ADSL, Bluetooth
// dial-up, VPN, WireGuard); Ethernet and Wi-Fi are never reported. Every call has a short
// timeout so a hung NetworkManager cannot freeze the user interface; a call that fails
// simply means "not connected" for that poll.
class NmRasService final : public RasService {
 public:
  static constexpr int kCallTimeoutMs = 250;

  // `timeoutMs` is for tests on a loaded machine; the program keeps the short default.
  explicit NmRasService(QDBusConnection bus = QDBusConnection::systemBus(),
                        int timeoutMs = kCallTimeoutMs);

  // Whether NetworkManager owns its name on the bus right now.
  static bool answers(const QDBusConnection& bus);

  bool available() override;
  std::vector<RasConnection> activeConnections() override;
  std::optional<std::int32_t> connectionState(std::uint64_t handle) override;
  void hangUp(std::uint64_t handle) override;
  std::optional<std::vector<std::string>> phonebookEntries() override;
  // RxBytes and TxBytes of the device that carries the connection's traffic (its first
  // device, or a VPN's tunnel); its statistics are switched on (RefreshRateMs) while it is
  // read and off again once its connection is gone or moved to another device.
  std::optional<TrafficBytes> trafficCounters(std::uint64_t handle) override;
  ~NmRasService() override;

 private:
  // The device whose statistics this program switched on, and the connection it belongs to.
  struct CountedDevice {
    QString activePath;
    QString devicePath;
    bool switchedOn = false;  // so it is switched off again
  };
  void stopCounting();
  std::optional<CountedDevice> counted_;

  std::uint64_t handleOf(const QString& activePath);
  std::optional<QString> pathOf(std::uint64_t handle) const;

  QDBusConnection bus_;
  int timeoutMs_;
  // Handles stay the same for the life of an active connection object and are never reused.
  std::map<QString, std::uint64_t> handles_;
  // The tunnels of the VPNs that have one, by active connection.
  std::map<QString, NmTunnel> tunnels_;
  // The device whose counters are a connection's volume, by active connection; empty while
  // there is none (a VPN before its tunnel is up). Refreshed by every poll.
  std::map<QString, QString> countedDevices_;
  std::uint64_t nextHandle_ = 1;
};

// Whether a profile of this NetworkManager type (connection.type, and bluetooth.type for
// Bluetooth) is a dial-up-like connection the program meters.
bool isDialUpProfile(const QString& connectionType, const QString& bluetoothType);

}  // namespace tarvik
