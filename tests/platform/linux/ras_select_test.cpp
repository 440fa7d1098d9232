#include "platform/linux/ras_select.h"

#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "monitor/probe.h"
#include "platform/event_log.h"
#include "platform/linux/nm_ras_service.h"
#include "platform/virtual_clock.h"
#include "private_bus.h"

using namespace tarvik;
namespace fs = std::filesystem;

class RasSelectTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir tmp_;
  ProgramFiles files_;
  VirtualClock clock_;

  std::string logText() const {
    std::ifstream in(files_.eventLog(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // No simulated line, no bus, no pppd: only what a test adds.
  RasChoices nothing() const {
    RasChoices choices{[this] { return toLocalMs(clock_.now()); },
                       QDBusConnection(QStringLiteral("not-connected")), PppdRoots{}};
    const fs::path base = tmp_.path().toStdString();
    choices.pppdRoots = {base / "etc/ppp", base / "run", base / "sys", base / "proc"};
    return choices;
  }

 private slots:
  void init() {
    files_.dir = fs::path(tmp_.path().toStdString()) / "program";
    fs::remove_all(files_.dir);
    fs::remove_all(fs::path(tmp_.path().toStdString()) / "etc");
    fs::create_directories(files_.dir);
  }

  void simulatedLineWhenItsFileIsThere() {
    SimLine(SimLine::fileIn(files_.dir), [] { return 0; }).addEntry("ISP");
    fs::create_directories(nothing().pppdRoots.etcPpp / "peers");
    EventLog log(files_.eventLog(), clock_);
    auto ras = selectRasService(files_, log, nothing());
    QCOMPARE(ras->currentName(), std::string("simulated line"));
    QCOMPARE(ras->phonebookEntries(), std::optional(std::vector<std::string>{"ISP"}));
    QCOMPARE(logText(), std::string(" Remote access: simulated line.\r\n"));
  }

  // NetworkManager comes, goes and comes back on the bus while the program runs; the simulated
  // line's file is made and removed. Each change is followed at the next poll and logged once.
  void followsServicesAsTheyComeAndGo() {
    PrivateBus daemon;
    const QString address = daemon.start();
    QVERIFY(!address.isEmpty());
    QDBusConnection bus = QDBusConnection::connectToBus(address, QStringLiteral("select-test"));
    QVERIFY(bus.isConnected());
    // NetworkManager's name is owned by a connection of its own, as a separate process would.
    QDBusConnection nm = QDBusConnection::connectToBus(address, QStringLiteral("nm"));
    QVERIFY(nm.isConnected());

    RasChoices choices = nothing();
    choices.bus = bus;
    fs::create_directories(choices.pppdRoots.etcPpp / "peers");
    EventLog log(files_.eventLog(), clock_);
    auto ras = selectRasService(files_, log, choices);
    int switches = 0;
    ras->setOnSwitch([&switches] { ++switches; });
    QCOMPARE(ras->currentName(), std::string("pppd"));

    QVERIFY(nm.registerService(QStringLiteral("org.freedesktop.NetworkManager")));
    QTRY_VERIFY_WITH_TIMEOUT((ras->available(), ras->currentName() == "NetworkManager"), 5000);
    SimLine(SimLine::fileIn(files_.dir), [] { return 0; }).addEntry("ISP");
    QVERIFY(ras->available());
    QCOMPARE(ras->currentName(), std::string("simulated line"));
    fs::remove(SimLine::fileIn(files_.dir));
    QVERIFY(ras->available());
    QCOMPARE(ras->currentName(), std::string("NetworkManager"));

    // A restart between two polls: both changes of the name's owner are in before the next
    // poll (a watcher of the test's own sees them in the same delivery).
    QDBusServiceWatcher seen(QStringLiteral("org.freedesktop.NetworkManager"), bus,
                             QDBusServiceWatcher::WatchForOwnerChange);
    int changes = 0;
    connect(&seen, &QDBusServiceWatcher::serviceOwnerChanged, [&changes] { ++changes; });
    QVERIFY(nm.unregisterService(QStringLiteral("org.freedesktop.NetworkManager")));
    QVERIFY(nm.registerService(QStringLiteral("org.freedesktop.NetworkManager")));
    QTRY_COMPARE_WITH_TIMEOUT(changes, 2, 5000);
    QVERIFY(ras->reselect());
    QCOMPARE(ras->currentName(), std::string("NetworkManager"));
    QVERIFY(!ras->reselect());

    QVERIFY(nm.unregisterService(QStringLiteral("org.freedesktop.NetworkManager")));
    QTRY_VERIFY_WITH_TIMEOUT((ras->available(), ras->currentName() == "pppd"), 5000);
    fs::remove_all(choices.pppdRoots.etcPpp);
    QVERIFY(!ras->available());
    QVERIFY(!ras->available());
    QCOMPARE(ras->currentName(), std::string());
    QCOMPARE(switches, 5);  // the switch to none has no phonebook to list
    QCOMPARE(logText(), std::string(" Remote access: pppd.\r\n"
                                    " Remote access: NetworkManager.\r\n"
                                    " Remote access: simulated line.\r\n"
                                    " Remote access: NetworkManager.\r\n"
                                    " Remote access: NetworkManager.\r\n"
                                    " Remote access: pppd.\r\n"
                                    " Remote access: none found.\r\n"));

    QDBusConnection::disconnectFromBus(QStringLiteral("nm"));
    QDBusConnection::disconnectFromBus(QStringLiteral("select-test"));
  }

  void noneFoundIsReportedOnceByTheProbe() {
    EventLog log(files_.eventLog(), clock_);
    auto ras = selectRasService(files_, log, nothing());
    QVERIFY(!ras->available());
    Probe probe(*ras, log);
    QVERIFY(!probe.probe(false, false));
    QVERIFY(!probe.probe(false, false));
    QCOMPARE(
        logText(),
        std::string(" Remote access: none found.\r\n"
                    "\r\n07.12.2026 12:00:00\r\n"
                    " Failed loading RasApi32.DLL.\r\n"
                    " Remote Access Server connection can not be visible for application.\r\n"));
  }
};

QTEST_MAIN(RasSelectTest)
#include "ras_select_test.moc"
