#include "platform/linux/pppd_ras_service.h"

#include <signal.h>

#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <set>

using namespace tarvik;
namespace fs = std::filesystem;

// A fake /etc/ppp, /run, /sys/class/net and /proc below a temporary folder.
class PppdRasServiceTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir tmp_;
  PppdRoots roots_;
  std::vector<std::pair<pid_t, int>> signals_;
  std::set<std::string> addressed_;

  void write(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
  }
  void startPppd(pid_t pid, const std::vector<std::string>& argv) {
    std::string cmdline;
    for (const auto& arg : argv) cmdline += arg + '\0';
    write(roots_.proc / std::to_string(pid) / "cmdline", cmdline);
    // The kernel's short name: the executable's file name, cut to 15 characters.
    const std::string name = fs::path(argv.empty() ? "" : argv[0]).filename().string();
    write(roots_.proc / std::to_string(pid) / "comm", name.substr(0, 15) + "\n");
  }
  void bringUp(const std::string& interface, bool up) {
    write(roots_.sysClassNet / interface / "flags", up ? "0x1091\n" : "0x1090\n");
    addressed_.insert(interface);
  }
  PppdRasService service() {
    return PppdRasService(
        roots_,
        [this](pid_t pid, int sig) {
          signals_.emplace_back(pid, sig);
          return 0;
        },
        [this](const std::string& interface) { return addressed_.count(interface) > 0; });
  }

 private slots:
  void init() {
    QVERIFY(tmp_.isValid());
    const fs::path base = tmp_.path().toStdString();
    fs::remove_all(base);
    roots_ = {base / "etc/ppp", base / "run", base / "sys/class/net", base / "proc"};
    fs::create_directories(roots_.run);
    fs::create_directories(roots_.proc);
    fs::create_directories(roots_.sysClassNet);
    signals_.clear();
    addressed_.clear();
    write(roots_.etcPpp / "peers/provider", "/dev/ttyS0\n115200\nuser \"me\"\n");
    write(roots_.etcPpp / "peers/dsl-provider", "plugin rp-pppoe.so eth0\n");
    write(roots_.etcPpp / "peers/provider~", "old\n");
    write(roots_.proc / "1/cmdline", std::string("/sbin/init\0splash\0", 18));
  }

  void peersAreThePhonebook() {
    auto ras = service();
    QVERIFY(ras.available());
    const auto entries = ras.phonebookEntries();
    QVERIFY(entries.has_value());
    QCOMPARE(*entries, (std::vector<std::string>{"dsl-provider", "provider"}));

    fs::remove_all(roots_.etcPpp);
    QVERIFY(!ras.available());
    QVERIFY(!ras.phonebookEntries().has_value());
  }

  void commandLinesNamingAPeer() {
    QCOMPARE(pppdPeerOf({"/usr/sbin/pppd", "call", "provider"}), std::string("provider"));
    QCOMPARE(pppdPeerOf({"pppd", "file", "/etc/ppp/peers/dsl", "nodetach"}), std::string("dsl"));
    QCOMPARE(pppdPeerOf({"/usr/bin/vim", "call", "provider"}), std::string());
    QCOMPARE(pppdPeerOf({"/usr/sbin/pppd", "call"}), std::string());
    QCOMPARE(pppdPeerOf({"pppd", "file", "/tmp/options"}), std::string());
  }

  void authenticatesUntilTheInterfaceIsUpWithAnAddress() {
    auto ras = service();
    QVERIFY(ras.activeConnections().empty());

    startPppd(4242, {"/usr/sbin/pppd", "call", "provider"});
    auto connections = ras.activeConnections();
    QCOMPARE(connections.size(), size_t(1));
    QCOMPARE(connections[0].entry, std::string("provider"));
    // Only the modem line is known while it dials: not where the traffic will go.
    QCOMPARE(connections[0].device, std::string("ttyS0"));
    QVERIFY(!connections[0].deviceCarriesTraffic);
    QCOMPARE(ras.connectionState(connections[0].handle), std::optional<std::int32_t>(5));

    write(roots_.run / "ppp0.pid", "4242\n");
    write(roots_.sysClassNet / "ppp0/flags", "0x1090\n");  // created, not up yet
    QCOMPARE(ras.connectionState(4242), std::optional<std::int32_t>(5));
    connections = ras.activeConnections();
    QCOMPARE(connections[0].device, std::string("ppp0"));
    QVERIFY(connections[0].deviceCarriesTraffic);
    write(roots_.sysClassNet / "ppp0/flags", "0x1091\n");  // up, but no address yet
    QCOMPARE(ras.connectionState(4242), std::optional<std::int32_t>(5));
    addressed_.insert("ppp0");
    QCOMPARE(ras.connectionState(4242), std::optional<std::int32_t>(8192));

    fs::remove_all(roots_.proc / "4242");  // pppd ended
    QVERIFY(ras.activeConnections().empty());
    QCOMPARE(ras.connectionState(4242), std::nullopt);
  }

  void byteCountersOfThePppInterface() {
    auto ras = service();
    startPppd(4242, {"/usr/sbin/pppd", "call", "provider"});
    QCOMPARE(ras.trafficCounters(4242), std::nullopt);  // no interface yet
    write(roots_.run / "ppp0.pid", "4242\n");
    bringUp("ppp0", true);
    QCOMPARE(ras.trafficCounters(4242), std::nullopt);  // no statistics to read
    write(roots_.sysClassNet / "ppp0/statistics/rx_bytes", "8589934592\n");
    write(roots_.sysClassNet / "ppp0/statistics/tx_bytes", "1234\n");
    QCOMPARE(ras.trafficCounters(4242), (std::optional<TrafficBytes>{{8589934592, 1234}}));
    write(roots_.sysClassNet / "ppp0/statistics/tx_bytes", "garbage\n");
    QCOMPARE(ras.trafficCounters(4242), std::nullopt);
    QCOMPARE(ras.trafficCounters(999), std::nullopt);  // no such pppd
  }

  void linknamePidFileNamesTheInterface() {
    auto ras = service();
    startPppd(300, {"/usr/sbin/pppd", "call", "dsl-provider", "linkname", "dsl-provider"});
    // A PPPoE peer names no serial line: pppd itself stands in until the session has ppp3.
    QCOMPARE(ras.activeConnections().front().device, std::string("pppd"));
    write(roots_.run / "ppp-dsl-provider.pid", "300\nppp3\n");
    QCOMPARE(ras.activeConnections().front().device, std::string("ppp3"));
    bringUp("ppp3", true);
    QCOMPARE(ras.connectionState(300), std::optional<std::int32_t>(8192));
    // A pid file left behind by an earlier pppd does not make this one connected.
    write(roots_.run / "ppp-dsl-provider.pid", "299\nppp3\n");
    QCOMPARE(ras.connectionState(300), std::optional<std::int32_t>(5));
  }

  void onlyProcessesNamedPppdHaveTheirCommandLineRead() {
    auto ras = service();
    startPppd(500, {"/usr/sbin/pppd", "call", "provider"});
    // A process that rewrote its arguments to look like pppd is still not one.
    startPppd(501, {"/usr/sbin/pppd", "call", "dsl-provider"});
    write(roots_.proc / "501/comm", "python3\n");
    const auto connections = ras.activeConnections();
    QCOMPARE(connections.size(), size_t(1));
    QCOMPARE(connections[0].handle, std::uint64_t(500));
    ras.hangUp(501);
    QVERIFY(signals_.empty());
  }

  void twoCallsOldestFirst() {
    auto ras = service();
    startPppd(900, {"/usr/sbin/pppd", "call", "dsl-provider"});
    startPppd(120, {"/usr/sbin/pppd", "call", "provider"});
    const auto connections = ras.activeConnections();
    QCOMPARE(connections.size(), size_t(2));
    QCOMPARE(connections[0].handle, std::uint64_t(120));
    QCOMPARE(connections[1].entry, std::string("dsl-provider"));
  }

  void hangUpSignalsOnlyARunningPppdOfAPeer() {
    auto ras = service();
    startPppd(777, {"/usr/sbin/pppd", "call", "provider"});
    startPppd(778, {"/usr/bin/sleep", "100"});
    ras.hangUp(777);
    ras.hangUp(778);    // not pppd: the pid may have been reused
    ras.hangUp(12345);  // gone
    ras.hangUp(0);
    ras.hangUp(std::uint64_t(-1));
    QCOMPARE(signals_.size(), size_t(1));
    QCOMPARE(signals_[0].first, pid_t(777));
    QCOMPARE(signals_[0].second, SIGTERM);
  }
};

QTEST_MAIN(PppdRasServiceTest)
#include "pppd_ras_service_test.moc"
