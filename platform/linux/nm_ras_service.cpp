#include "platform/linux/nm_ras_service.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QVariantMap>

#include "platform/linux/nm_state_map.h"

namespace tarvik {

namespace {

const QString kService = QStringLiteral("org.freedesktop.NetworkManager");
const QString kManagerPath = QStringLiteral("/org/freedesktop/NetworkManager");
const QString kManagerIface = QStringLiteral("org.freedesktop.NetworkManager");
const QString kSettingsPath = QStringLiteral("/org/freedesktop/NetworkManager/Settings");
const QString kSettingsIface = QStringLiteral("org.freedesktop.NetworkManager.Settings");
const QString kProfileIface = QStringLiteral("org.freedesktop.NetworkManager.Settings.Connection");
const QString kActiveIface = QStringLiteral("org.freedesktop.NetworkManager.Connection.Active");
const QString kVpnIface = QStringLiteral("org.freedesktop.NetworkManager.VPN.Connection");
const QString kDeviceIface = QStringLiteral("org.freedesktop.NetworkManager.Device");
const QString kPropertiesIface = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kStatisticsIface = QStringLiteral("org.freedesktop.NetworkManager.Device.Statistics");
// How often NetworkManager refreshes the counters while the program reads them, once a poll.
constexpr std::uint32_t kStatisticsRefreshMs = 1000;

using Settings = QMap<QString, QVariantMap>;

// The bus and the longest a call may wait for its answer.
struct Bus {
  const QDBusConnection& connection;
  int timeoutMs;
};

std::optional<QList<QVariant>> call(const Bus& bus, const QString& path, const QString& iface,
                                    const QString& method, const QList<QVariant>& args = {}) {
  QDBusMessage message = QDBusMessage::createMethodCall(kService, path, iface, method);
  message.setArguments(args);
  const QDBusMessage reply = bus.connection.call(message, QDBus::Block, bus.timeoutMs);
  if (reply.type() != QDBusMessage::ReplyMessage) return std::nullopt;
  return reply.arguments();
}

std::optional<QVariant> property(const Bus& bus, const QString& path, const QString& iface,
                                 const QString& name) {
  auto reply = call(bus, path, kPropertiesIface, QStringLiteral("Get"), {iface, name});
  if (!reply || reply->isEmpty()) return std::nullopt;
  return reply->front().value<QDBusVariant>().variant();
}

std::optional<QVariantMap> allProperties(const Bus& bus, const QString& path,
                                         const QString& iface) {
  auto reply = call(bus, path, kPropertiesIface, QStringLiteral("GetAll"), {iface});
  if (!reply || reply->isEmpty()) return std::nullopt;
  QVariantMap map;
  reply->front().value<QDBusArgument>() >> map;
  return map;
}

// Object paths arrive either as a list of paths or as a raw argument to demarshal.
QList<QDBusObjectPath> toPaths(const QVariant& value) {
  if (value.canConvert<QDBusArgument>()) {
    QList<QDBusObjectPath> paths;
    value.value<QDBusArgument>() >> paths;
    return paths;
  }
  return value.value<QList<QDBusObjectPath>>();
}

std::optional<Settings> profileSettings(const Bus& bus, const QString& path) {
  auto reply = call(bus, path, kProfileIface, QStringLiteral("GetSettings"));
  if (!reply || reply->isEmpty()) return std::nullopt;
  Settings settings;
  const QDBusArgument arg = reply->front().value<QDBusArgument>();
  arg.beginMap();
  while (!arg.atEnd()) {
    QString group;
    QVariantMap values;
    arg.beginMapEntry();
    arg >> group >> values;
    arg.endMapEntry();
    settings.insert(group, values);
  }
  arg.endMap();
  return settings;
}

std::optional<std::uint32_t> toUInt(const std::optional<QVariant>& value) {
  if (!value) return std::nullopt;
  bool ok = false;
  const std::uint32_t number = value->toUInt(&ok);
  if (!ok) return std::nullopt;
  return number;
}

// The stage of an activating connection: the VPN state for VPN profiles, else the state of
// its first device. Never "connected" while NetworkManager still calls it activating.
std::int32_t activatingStage(const Bus& bus, const QString& path, const QVariantMap& active) {
  std::optional<std::int32_t> stage;
  if (active.value(QStringLiteral("Vpn")).toBool()) {
    if (auto vpn = toUInt(property(bus, path, kVpnIface, QStringLiteral("VpnState")))) {
      stage = rasStateOfVpn(*vpn);
    }
  } else {
    const auto devices = toPaths(active.value(QStringLiteral("Devices")));
    if (!devices.isEmpty()) {
      if (auto state = toUInt(
              property(bus, devices.front().path(), kDeviceIface, QStringLiteral("State")))) {
        stage = rasStateOfDevice(*state);
      }
    }
  }
  if (!stage) return kRasAuthenticate;  // activating, stage unknown
  if (*stage == kRasConnected) return kRasAuthProject;
  return *stage;
}

void setRefreshRate(const Bus& bus, const QString& device, std::uint32_t ms) {
  call(bus, device, kPropertiesIface, QStringLiteral("Set"),
       {kStatisticsIface, QStringLiteral("RefreshRateMs"),
        QVariant::fromValue(QDBusVariant(QVariant::fromValue(ms)))});
}

// The interface a device sends its IP traffic through: ppp0 over a PPPoE device once PPP is
// up, the device itself once it has its IP configuration. Before that only the device's own
// name is known, which carries no traffic yet.
struct DeviceInterface {
  QString name;
  bool carriesTraffic = false;
};

DeviceInterface ipInterfaceOf(const Bus& bus, const QString& device) {
  if (auto ip = property(bus, device, kDeviceIface, QStringLiteral("IpInterface"))) {
    if (!ip->toString().isEmpty()) return {ip->toString(), true};
  }
  if (auto own = property(bus, device, kDeviceIface, QStringLiteral("Interface"))) {
    return {own->toString(), false};
  }
  return {};
}

// A VPN is started over a device of its own, but its traffic goes through its tunnel: the
// device that holds the VPN's IP configuration, which NetworkManager reports once the tunnel
// is up. Nullopt until then, and for every other connection.
std::optional<NmTunnel> vpnTunnel(const Bus& bus, const QVariantMap& active) {
  if (!active.value(QStringLiteral("Vpn")).toBool()) return std::nullopt;
  const QString config = active.value(QStringLiteral("Ip4Config")).value<QDBusObjectPath>().path();
  if (config.isEmpty() || config == QStringLiteral("/")) return std::nullopt;
  auto all = call(bus, kManagerPath, kManagerIface, QStringLiteral("GetDevices"));
  if (!all || all->isEmpty()) return std::nullopt;
  const auto own = toPaths(active.value(QStringLiteral("Devices")));
  for (const QDBusObjectPath& device : toPaths(all->front())) {
    if (own.contains(device)) continue;
    auto held = property(bus, device.path(), kDeviceIface, QStringLiteral("Ip4Config"));
    if (held && held->value<QDBusObjectPath>().path() == config) {
      QString name = ipInterfaceOf(bus, device.path()).name;
      if (!name.isEmpty()) return NmTunnel{device.path(), name};
    }
  }
  return std::nullopt;
}

}  // namespace

bool isDialUpProfile(const QString& connectionType, const QString& bluetoothType) {
  static const QStringList kDialUp = {
      QStringLiteral("gsm"),  QStringLiteral("cdma"), QStringLiteral("pppoe"),
      QStringLiteral("adsl"), QStringLiteral("vpn"),  QStringLiteral("wireguard"),
  };
  if (connectionType == QStringLiteral("bluetooth")) return bluetoothType == QStringLiteral("dun");
  return kDialUp.contains(connectionType);
}

NmRasService::NmRasService(QDBusConnection bus, int timeoutMs)
    : bus_(std::move(bus)), timeoutMs_(timeoutMs) {}

bool NmRasService::answers(const QDBusConnection& bus) {
  if (!bus.isConnected()) return false;
  QDBusMessage message = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
      QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
  message.setArguments({kService});
  const QDBusMessage reply = bus.call(message, QDBus::Block, kCallTimeoutMs);
  return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
         reply.arguments().front().toBool();
}

// The bus connection is what the program depends on; NetworkManager itself may restart, and
// then the polls just see no connection until it is back.
bool NmRasService::available() {
  return bus_.isConnected();
}

std::uint64_t NmRasService::handleOf(const QString& activePath) {
  auto [it, added] = handles_.try_emplace(activePath, nextHandle_);
  if (added) ++nextHandle_;
  return it->second;
}

std::optional<QString> NmRasService::pathOf(std::uint64_t handle) const {
  for (const auto& [path, h] : handles_) {
    if (h == handle) return path;
  }
  return std::nullopt;
}

std::vector<RasConnection> NmRasService::activeConnections() {
  const Bus bus{bus_, timeoutMs_};
  std::vector<RasConnection> result;
  auto list = property(bus, kManagerPath, kManagerIface, QStringLiteral("ActiveConnections"));
  if (!list) return result;
  const QList<QDBusObjectPath> paths = toPaths(*list);

  std::map<QString, std::uint64_t> stillActive;
  std::map<QString, QString> countedDevices;
  for (const QDBusObjectPath& activePath : paths) {
    const QString path = activePath.path();
    auto active = allProperties(bus, path, kActiveIface);
    if (!active) continue;
    const QString type = active->value(QStringLiteral("Type")).toString();
    QString bluetoothType;
    if (type == QStringLiteral("bluetooth")) {
      const QString profile =
          active->value(QStringLiteral("Connection")).value<QDBusObjectPath>().path();
      if (auto settings = profileSettings(bus, profile)) {
        bluetoothType =
            settings->value(QStringLiteral("bluetooth")).value(QStringLiteral("type")).toString();
      }
    }
    if (!isDialUpProfile(type, bluetoothType)) continue;

    // The tunnel stays for the life of the active connection, so it is looked for only
    // until it is found. Its counters are the VPN's volume; the device the VPN was started
    // over carries other traffic too, so a VPN without its tunnel has nothing to count.
    DeviceInterface device;
    QString counted;
    if (auto known = tunnels_.find(path); known != tunnels_.end()) {
      device = {known->second.interfaceName, true};
      counted = known->second.devicePath;
    } else if (auto tunnel = vpnTunnel(bus, *active)) {
      device = {tunnel->interfaceName, true};
      counted = tunnel->devicePath;
      tunnels_.emplace(path, *tunnel);
    } else {
      const auto devices = toPaths(active->value(QStringLiteral("Devices")));
      if (!devices.isEmpty()) {
        device = ipInterfaceOf(bus, devices.front().path());
        // A VPN's own traffic goes through the tunnel still to come, whatever its device has.
        if (active->value(QStringLiteral("Vpn")).toBool()) {
          device.carriesTraffic = false;
        } else {
          counted = devices.front().path();
        }
      }
    }
    countedDevices.emplace(path, counted);
    const std::uint64_t handle = handleOf(path);
    stillActive.emplace(path, handle);
    result.push_back({handle, active->value(QStringLiteral("Id")).toString().toStdString(),
                      device.name.toStdString(), device.carriesTraffic});
  }
  // Forget connections that are gone, so the map does not grow over a long run.
  handles_ = std::move(stillActive);
  countedDevices_ = std::move(countedDevices);
  if (counted_ && !handles_.contains(counted_->activePath)) stopCounting();
  std::erase_if(tunnels_, [this](const auto& known) { return !handles_.contains(known.first); });
  return result;
}

std::optional<std::int32_t> NmRasService::connectionState(std::uint64_t handle) {
  const Bus bus{bus_, timeoutMs_};
  auto path = pathOf(handle);
  if (!path) return std::nullopt;
  auto active = allProperties(bus, *path, kActiveIface);
  if (!active) return std::nullopt;
  bool ok = false;
  const std::uint32_t state = active->value(QStringLiteral("State")).toUInt(&ok);
  if (!ok) return std::nullopt;
  const std::int32_t ras = rasStateOfActiveConnection(state);
  if (ras != kRasFromStage) return ras;
  return activatingStage(bus, *path, *active);
}

void NmRasService::hangUp(std::uint64_t handle) {
  const Bus bus{bus_, timeoutMs_};
  auto path = pathOf(handle);
  if (!path) return;
  call(bus, kManagerPath, kManagerIface, QStringLiteral("DeactivateConnection"),
       {QVariant::fromValue(QDBusObjectPath(*path))});
}

std::optional<std::vector<std::string>> NmRasService::phonebookEntries() {
  const Bus bus{bus_, timeoutMs_};
  auto reply = call(bus, kSettingsPath, kSettingsIface, QStringLiteral("ListConnections"));
  if (!reply || reply->isEmpty()) return std::nullopt;
  std::vector<std::string> names;
  for (const QDBusObjectPath& profile : toPaths(reply->front())) {
    auto settings = profileSettings(bus, profile.path());
    if (!settings) continue;  // removed meanwhile, or not readable by this user
    const QVariantMap connection = settings->value(QStringLiteral("connection"));
    const QString bluetoothType =
        settings->value(QStringLiteral("bluetooth")).value(QStringLiteral("type")).toString();
    if (!isDialUpProfile(connection.value(QStringLiteral("type")).toString(), bluetoothType)) {
      continue;
    }
    names.push_back(connection.value(QStringLiteral("id")).toString().toStdString());
  }
  return names;
}

NmRasService::~NmRasService() {
  stopCounting();
}

std::optional<TrafficBytes> NmRasService::trafficCounters(std::uint64_t handle) {
  const Bus bus{bus_, timeoutMs_};
  auto path = pathOf(handle);
  if (!path) return std::nullopt;
  const auto known = countedDevices_.find(*path);
  if (known == countedDevices_.end() || known->second.isEmpty()) {
    if (counted_ && counted_->activePath == *path) stopCounting();
    return std::nullopt;
  }
  const QString& device = known->second;
  // A connection whose device was replaced (or a VPN whose tunnel just came up) is counted
  // on its new device from now on; the meter takes the new counter as one that restarted.
  if (!counted_ || counted_->activePath != *path || counted_->devicePath != device) {
    stopCounting();
    // Statistics are off (refresh rate 0) unless a client asks for them; a rate someone else
    // set is left alone and not reset afterwards.
    const auto rate =
        toUInt(property(bus, device, kStatisticsIface, QStringLiteral("RefreshRateMs")));
    const bool switchOn = rate && *rate == 0;
    if (switchOn) setRefreshRate(bus, device, kStatisticsRefreshMs);
    counted_ = CountedDevice{*path, device, switchOn};
  }
  auto stats = allProperties(bus, device, kStatisticsIface);
  if (!stats) return std::nullopt;
  bool rxOk = false;
  bool txOk = false;
  const qulonglong rx = stats->value(QStringLiteral("RxBytes")).toULongLong(&rxOk);
  const qulonglong tx = stats->value(QStringLiteral("TxBytes")).toULongLong(&txOk);
  if (!rxOk || !txOk) return std::nullopt;
  return TrafficBytes{rx, tx};
}

void NmRasService::stopCounting() {
  if (!counted_) return;
  if (counted_->switchedOn) setRefreshRate(Bus{bus_, timeoutMs_}, counted_->devicePath, 0);
  counted_.reset();
}

}  // namespace tarvik
