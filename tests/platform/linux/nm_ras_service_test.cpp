#include "platform/linux/nm_ras_service.h"

#include <signal.h>

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

#include "monitor/traffic_meter.h"
#include "platform/linux/nm_state_map.h"
#include "private_bus.h"

using namespace tarvik;

namespace {

using Settings = QMap<QString, QVariantMap>;

const QString kNm = QStringLiteral("org.freedesktop.NetworkManager");
const QString kMock = QStringLiteral("org.freedesktop.DBus.Mock");
const QString kDeviceIface = QStringLiteral("org.freedesktop.NetworkManager.Device");
const QString kIp4Config = QStringLiteral("/org/freedesktop/NetworkManager/IP4Config/7");
const QString kActiveIface = QStringLiteral("org.freedesktop.NetworkManager.Connection.Active");
const QString kVpnIface = QStringLiteral("org.freedesktop.NetworkManager.VPN.Connection");
const QString kStatsIface = QStringLiteral("org.freedesktop.NetworkManager.Device.Statistics");
constexpr qulonglong k32Bits = qulonglong{1} << 32;

// Python answers slowly on a busy machine; only the test of an unanswered call keeps the
// program's short timeout.
constexpr int kPatientMs = 5000;

QString pythonWithDbusmock() {
  // The system's Python carries python3-dbusmock; a python3 earlier in PATH may not.
  return QFile::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3")
                                                           : QStringLiteral("python3");
}

}  // namespace

// NetworkManager played by python-dbusmock's template on a private bus that this test
// starts and stops itself.
class NmRasServiceTest : public QObject {
  Q_OBJECT

 private:
  PrivateBus busDaemon_;
  QProcess mock_;
  QString address_;
  QDBusConnection bus_{QString()};
  QString ethernet_;
  QString modem_;

  QList<QVariant> callOn(const QString& path, const QString& iface, const QString& method,
                         const QList<QVariant>& args) {
    QDBusMessage message = QDBusMessage::createMethodCall(kNm, path, iface, method);
    message.setArguments(args);
    const QDBusMessage reply = bus_.call(message, QDBus::Block, 5000);
    if (reply.type() != QDBusMessage::ReplyMessage) {
      qWarning() << method << reply.errorMessage();
      return {};
    }
    return reply.arguments();
  }
  QString mock(const QString& method, const QList<QVariant>& args) {
    const auto reply = callOn(QStringLiteral("/org/freedesktop"), kMock, method, args);
    return reply.isEmpty() ? QString() : reply.front().toString();
  }
  void setProperty(const QString& path, const QString& iface, const QString& name,
                   const QVariant& value) {
    mock(QStringLiteral("SetProperty"),
         {path, iface, name, QVariant::fromValue(QDBusVariant(value))});
  }
  QString addProfile(const QString& id, const QString& type,
                     const QString& bluetoothType = QString()) {
    Settings settings;
    settings[QStringLiteral("connection")] = {{QStringLiteral("id"), id},
                                              {QStringLiteral("type"), type}};
    if (!bluetoothType.isEmpty()) {
      settings[QStringLiteral("bluetooth")] = {{QStringLiteral("type"), bluetoothType}};
    }
    const auto reply = callOn(QStringLiteral("/org/freedesktop/NetworkManager/Settings"),
                              QStringLiteral("org.freedesktop.NetworkManager.Settings"),
                              QStringLiteral("AddConnection"), {QVariant::fromValue(settings)});
    return reply.isEmpty() ? QString() : reply.front().value<QDBusObjectPath>().path();
  }
  QString activate(const QString& device, const QString& profile, const QString& name, uint state) {
    return mock(QStringLiteral("AddActiveConnection"),
                {QStringList{device}, profile, QStringLiteral("/"), name, state});
  }
  void deactivateAll() {
    const auto reply = callOn(QStringLiteral("/org/freedesktop/NetworkManager"),
                              QStringLiteral("org.freedesktop.DBus.Properties"),
                              QStringLiteral("Get"), {kNm, QStringLiteral("ActiveConnections")});
    QList<QDBusObjectPath> paths;
    if (!reply.isEmpty())
      reply.front().value<QDBusVariant>().variant().value<QDBusArgument>() >> paths;
    for (const auto& path : paths) {
      callOn(QStringLiteral("/org/freedesktop/NetworkManager"), kNm,
             QStringLiteral("DeactivateConnection"), {QVariant::fromValue(path)});
    }
  }
  // The device's statistics as NetworkManager offers them: off (refresh rate 0) until asked.
  void addStatistics(const QString& device, qulonglong rx, qulonglong tx, uint rateMs = 0) {
    callOn(device, kMock, QStringLiteral("AddProperties"),
           {kStatsIface, QVariantMap{{QStringLiteral("RefreshRateMs"), rateMs},
                                     {QStringLiteral("RxBytes"), rx},
                                     {QStringLiteral("TxBytes"), tx}}});
  }
  void setCounters(const QString& device, qulonglong rx, qulonglong tx) {
    setProperty(device, kStatsIface, QStringLiteral("RxBytes"), rx);
    setProperty(device, kStatsIface, QStringLiteral("TxBytes"), tx);
  }
  uint refreshRate(const QString& device) {
    const auto reply =
        callOn(device, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
               {kStatsIface, QStringLiteral("RefreshRateMs")});
    return reply.isEmpty() ? 9999u : reply.front().value<QDBusVariant>().variant().toUInt();
  }
  std::int32_t stateOf(NmRasService& nm, std::size_t index = 0) {
    const auto connections = nm.activeConnections();
    if (connections.size() <= index) return -100;
    return nm.connectionState(connections[index].handle).value_or(-200);
  }

 private slots:
  void initTestCase() {
    qDBusRegisterMetaType<Settings>();
    address_ = busDaemon_.start();
    QVERIFY(!address_.isEmpty());

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address_);
    env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), address_);
    mock_.setProcessEnvironment(env);
    // The mock logs every call on its output; unread, the pipe would fill and stall it.
    mock_.setStandardOutputFile(QProcess::nullDevice());
    mock_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    mock_.start(pythonWithDbusmock(),
                {QStringLiteral("-m"), QStringLiteral("dbusmock"), QStringLiteral("--session"),
                 QStringLiteral("--template"), QStringLiteral("networkmanager")});
    QVERIFY2(mock_.waitForStarted(5000), "python3 -m dbusmock did not start");

    bus_ = QDBusConnection::connectToBus(address_, QStringLiteral("nm-test"));
    QVERIFY(bus_.isConnected());
    QTRY_VERIFY_WITH_TIMEOUT(NmRasService::answers(bus_), 15000);

    ethernet_ = mock(QStringLiteral("AddEthernetDevice"),
                     {QStringLiteral("eth"), QStringLiteral("eth0"), 100});
    modem_ = mock(QStringLiteral("AddEthernetDevice"),
                  {QStringLiteral("modem"), QStringLiteral("ttyUSB0"), 30});
    QVERIFY(!ethernet_.isEmpty() && !modem_.isEmpty());
    addStatistics(ethernet_, 9000000, 8000000);
    addStatistics(modem_, 0, 0);

    // Profiles 0 to 7, in this order.
    QVERIFY(!addProfile(QStringLiteral("Office LAN"), QStringLiteral("802-3-ethernet")).isEmpty());
    addProfile(QStringLiteral("Мобильный"), QStringLiteral("gsm"));
    addProfile(QStringLiteral("Home Wi-Fi"), QStringLiteral("802-11-wireless"));
    addProfile(QStringLiteral("Work VPN"), QStringLiteral("vpn"));
    addProfile(QStringLiteral("Phone DUN"), QStringLiteral("bluetooth"), QStringLiteral("dun"));
    addProfile(QStringLiteral("Phone PAN"), QStringLiteral("bluetooth"), QStringLiteral("panu"));
    addProfile(QStringLiteral("DSL"), QStringLiteral("pppoe"));
    addProfile(QStringLiteral("wg0"), QStringLiteral("wireguard"));
  }

  void cleanupTestCase() {
    QDBusConnection::disconnectFromBus(QStringLiteral("nm-test"));
    if (mock_.state() != QProcess::NotRunning) {
      ::kill(static_cast<pid_t>(mock_.processId()), SIGCONT);
      mock_.terminate();
      if (!mock_.waitForFinished(5000)) {
        mock_.kill();
        mock_.waitForFinished(5000);
      }
    }
    busDaemon_.stop();
  }

  void cleanup() { deactivateAll(); }

  void stateTablesMapOntoRasNumbers() {
    QCOMPARE(rasStateOfActiveConnection(1), kRasFromStage);
    QCOMPARE(rasStateOfActiveConnection(2), std::int32_t(8192));
    QCOMPARE(rasStateOfActiveConnection(4), std::int32_t(8193));
    QCOMPARE(rasStateOfDevice(40), std::int32_t(2));
    QCOMPARE(rasStateOfDevice(50), std::int32_t(5));
    QCOMPARE(rasStateOfDevice(60), std::int32_t(6));
    for (uint ipStage : {70u, 80u, 90u}) QCOMPARE(rasStateOfDevice(ipStage), std::int32_t(10));
    QCOMPARE(rasStateOfDevice(100), std::int32_t(8192));
    QCOMPARE(rasStateOfDevice(120), std::int32_t(8193));
    QCOMPARE(rasStateOfVpn(3), std::int32_t(5));
    QCOMPARE(rasStateOfVpn(2), std::int32_t(6));
    QCOMPARE(rasStateOfVpn(4), std::int32_t(10));
    QCOMPARE(rasStateOfVpn(5), std::int32_t(8192));
    QCOMPARE(rasStateOfVpn(6), std::int32_t(8193));
    // Numbers a newer NetworkManager might add are nothing the monitor could meter.
    QCOMPARE(rasStateOfDevice(55), std::int32_t(0));
    QCOMPARE(rasStateOfVpn(99), std::int32_t(0));
  }

  void dialUpProfilesAreThePhonebookInOrder() {
    NmRasService nm(bus_, kPatientMs);
    const auto entries = nm.phonebookEntries();
    QVERIFY(entries.has_value());
    QCOMPARE(*entries,
             (std::vector<std::string>{"Мобильный", "Work VPN", "Phone DUN", "DSL", "wg0"}));
  }

  void mobileBroadbandActivatesAndGoesAway() {
    NmRasService nm(bus_, kPatientMs);
    const QString profile = QStringLiteral("/org/freedesktop/NetworkManager/Settings/1");
    const QString active = activate(modem_, profile, QStringLiteral("gsm"), 1);
    QVERIFY(!active.isEmpty());

    const auto connections = nm.activeConnections();
    QCOMPARE(connections.size(), size_t(1));
    QCOMPARE(connections[0].entry, std::string("Мобильный"));
    QCOMPARE(connections[0].device, std::string("ttyUSB0"));
    QVERIFY(!connections[0].deviceCarriesTraffic);  // no IP interface yet

    const std::pair<uint, std::int32_t> stages[] = {{40, 2}, {50, 5}, {60, 6}, {70, 10}, {90, 10}};
    for (const auto& [deviceState, ras] : stages) {
      setProperty(modem_, kDeviceIface, QStringLiteral("State"), deviceState);
      QCOMPARE(stateOf(nm), ras);
    }
    // The device may report activated before the connection does: still getting addresses.
    setProperty(modem_, kDeviceIface, QStringLiteral("State"), 100u);
    QCOMPARE(stateOf(nm), std::int32_t(10));
    setProperty(active, kActiveIface, QStringLiteral("State"), 2u);
    QCOMPARE(stateOf(nm), std::int32_t(8192));
    // Once up, the traffic goes through the modem's own IP interface.
    setProperty(modem_, kDeviceIface, QStringLiteral("IpInterface"), QStringLiteral("ppp0"));
    QCOMPARE(nm.activeConnections().at(0).device, std::string("ppp0"));
    QVERIFY(nm.activeConnections().at(0).deviceCarriesTraffic);
    setProperty(modem_, kDeviceIface, QStringLiteral("IpInterface"), QString());
    setProperty(active, kActiveIface, QStringLiteral("State"), 3u);
    QCOMPARE(stateOf(nm), std::int32_t(8193));

    mock(QStringLiteral("RemoveActiveConnection"), {modem_, active});
    QVERIFY(nm.activeConnections().empty());
    QCOMPARE(nm.connectionState(connections[0].handle), std::nullopt);
  }

  // The device statistics through a whole connection: switched on while read, a 32-bit
  // wrap, the device replaced by one whose counter starts again, switched off at the end.
  void modemCountersBecomeTheConnectionsVolume() {
    NmRasService nm(bus_, kPatientMs);
    setCounters(modem_, k32Bits - 1000, 700);
    const QString active =
        activate(modem_, QStringLiteral("/org/freedesktop/NetworkManager/Settings/1"),
                 QStringLiteral("gsm4"), 2);
    const auto connections = nm.activeConnections();
    QCOMPARE(connections.size(), size_t(1));
    const std::uint64_t handle = connections[0].handle;
    QCOMPARE(refreshRate(modem_), 0u);

    TrafficMeter meter;
    const auto poll = [&] {
      QCOMPARE(nm.activeConnections().size(), size_t(1));
      meter.sample(handle, nm.trafficCounters(handle));
    };
    poll();
    QCOMPARE(nm.trafficCounters(handle), (TrafficBytes{k32Bits - 1000, 700}));
    QCOMPARE(refreshRate(modem_), 1000u);
    setCounters(modem_, k32Bits - 400, 1000);
    poll();
    QCOMPARE(meter.volume(), (TrafficBytes{600, 300}));
    setCounters(modem_, 300, 1100);  // received wrapped at 32 bits
    poll();
    QCOMPARE(meter.volume(), (TrafficBytes{1300, 400}));

    // The modem comes back as another device; another client already asked that one for
    // statistics every 2 s, which is left as it is.
    const QString second = mock(QStringLiteral("AddEthernetDevice"),
                                {QStringLiteral("modem2"), QStringLiteral("ttyUSB1"), 100});
    addStatistics(second, 250, 50, 2000);
    setProperty(active, kActiveIface, QStringLiteral("Devices"),
                QVariant::fromValue(QList<QDBusObjectPath>{QDBusObjectPath(second)}));
    poll();
    QCOMPARE(meter.volume(), (TrafficBytes{1550, 450}));
    QCOMPARE(refreshRate(modem_), 0u);
    QCOMPARE(refreshRate(second), 2000u);
    setCounters(second, 1250, 60);
    poll();
    QCOMPARE(meter.volume(), (TrafficBytes{2550, 460}));

    mock(QStringLiteral("RemoveActiveConnection"), {second, active});
    QVERIFY(nm.activeConnections().empty());
    QCOMPARE(nm.trafficCounters(handle), std::nullopt);
    QCOMPARE(refreshRate(second), 2000u);
    QCOMPARE(refreshRate(modem_), 0u);
  }

  void vpnFollowsItsVpnStateAndIsHungUpByTheProgram() {
    NmRasService nm(bus_, kPatientMs);
    const QString profile = QStringLiteral("/org/freedesktop/NetworkManager/Settings/3");
    const QString active = activate(ethernet_, profile, QStringLiteral("vpn"), 1);
    callOn(active, kMock, QStringLiteral("AddProperty"),
           {kVpnIface, QStringLiteral("VpnState"), QVariant::fromValue(QDBusVariant(1u))});

    const auto connections = nm.activeConnections();
    QCOMPARE(connections.size(), size_t(1));
    QCOMPARE(connections[0].entry, std::string("Work VPN"));
    QCOMPARE(connections[0].device, std::string("eth0"));
    QVERIFY(!connections[0].deviceCarriesTraffic);
    // The Ethernet device under the VPN is activated: only the VPN state counts.
    QCOMPARE(stateOf(nm), std::int32_t(2));
    const std::pair<uint, std::int32_t> stages[] = {{2, 6}, {3, 5}, {4, 10}};
    for (const auto& [vpnState, ras] : stages) {
      setProperty(active, kVpnIface, QStringLiteral("VpnState"), vpnState);
      QCOMPARE(stateOf(nm), ras);
    }
    setProperty(active, kVpnIface, QStringLiteral("VpnState"), 5u);
    setProperty(active, kActiveIface, QStringLiteral("State"), 2u);
    QCOMPARE(stateOf(nm), std::int32_t(8192));
    // The tunnel is the device that holds the VPN's IP configuration; it is named from then on.
    const QString tunnel = mock(QStringLiteral("AddEthernetDevice"),
                                {QStringLiteral("tun"), QStringLiteral("tun0"), 100});
    const auto config =
        QVariant::fromValue(QDBusVariant(QVariant::fromValue(QDBusObjectPath(kIp4Config))));
    callOn(tunnel, kMock, QStringLiteral("AddProperty"),
           {kDeviceIface, QStringLiteral("Ip4Config"), config});
    QCOMPARE(nm.activeConnections().at(0).device, std::string("eth0"));  // not the VPN's yet
    // The Ethernet device also carries traffic outside the VPN, so it is never counted.
    QCOMPARE(nm.trafficCounters(connections[0].handle), std::nullopt);
    QCOMPARE(refreshRate(ethernet_), 0u);
    callOn(active, kMock, QStringLiteral("AddProperty"),
           {kActiveIface, QStringLiteral("Ip4Config"), config});
    QCOMPARE(nm.activeConnections().at(0).device, std::string("tun0"));
    QVERIFY(nm.activeConnections().at(0).deviceCarriesTraffic);
    addStatistics(tunnel, 4096, 512);
    QCOMPARE(nm.trafficCounters(connections[0].handle), (TrafficBytes{4096, 512}));
    QCOMPARE(refreshRate(tunnel), 1000u);
    QCOMPARE(refreshRate(ethernet_), 0u);

    nm.hangUp(connections[0].handle);
    QVERIFY(nm.activeConnections().empty());
    QCOMPARE(refreshRate(tunnel), 0u);
  }

  void ethernetAndWifiAreNeverReportedButTwoDialUpsAre() {
    NmRasService nm(bus_, kPatientMs);
    activate(ethernet_, QStringLiteral("/org/freedesktop/NetworkManager/Settings/0"),
             QStringLiteral("lan"), 2);
    activate(ethernet_, QStringLiteral("/org/freedesktop/NetworkManager/Settings/5"),
             QStringLiteral("pan"), 2);
    QVERIFY(nm.activeConnections().empty());

    activate(modem_, QStringLiteral("/org/freedesktop/NetworkManager/Settings/1"),
             QStringLiteral("gsm2"), 2);
    activate(ethernet_, QStringLiteral("/org/freedesktop/NetworkManager/Settings/4"),
             QStringLiteral("dun"), 2);
    const auto connections = nm.activeConnections();
    QCOMPARE(connections.size(), size_t(2));
    QCOMPARE(connections[0].entry, std::string("Мобильный"));
    QCOMPARE(connections[1].entry, std::string("Phone DUN"));
    QVERIFY(connections[0].handle != connections[1].handle);

    // Hanging up one leaves the other.
    nm.hangUp(connections[1].handle);
    const auto left = nm.activeConnections();
    QCOMPARE(left.size(), size_t(1));
    QCOMPARE(left[0].entry, std::string("Мобильный"));
    QCOMPARE(left[0].handle, connections[0].handle);
  }

  void anUnansweredCallMeansNotConnected() {
    NmRasService nm(bus_);
    activate(modem_, QStringLiteral("/org/freedesktop/NetworkManager/Settings/1"),
             QStringLiteral("gsm3"), 2);
    const auto connections = nm.activeConnections();
    QCOMPARE(connections.size(), size_t(1));

    ::kill(static_cast<pid_t>(mock_.processId()), SIGSTOP);
    const bool noneSeen = nm.activeConnections().empty();
    const auto state = nm.connectionState(connections[0].handle);
    ::kill(static_cast<pid_t>(mock_.processId()), SIGCONT);
    QVERIFY(noneSeen);
    QCOMPARE(state, std::nullopt);
    QVERIFY(nm.available());
    QCOMPARE(nm.connectionState(12345), std::nullopt);
  }
};

QTEST_MAIN(NmRasServiceTest)
#include "nm_ras_service_test.moc"
