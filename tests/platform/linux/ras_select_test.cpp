#include "platform/linux/ras_select.h"

#include <QDBusConnectionInterface>
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
    QVERIFY(dynamic_cast<SimLine*>(ras.get()) != nullptr);
    QCOMPARE(ras->phonebookEntries(), std::optional(std::vector<std::string>{"ISP"}));
    QCOMPARE(logText(), std::string(" Remote access: simulated line.\r\n"));
  }

  void networkManagerWhenItOwnsItsNameOnTheBus() {
    PrivateBus daemon;
    const QString address = daemon.start();
    QVERIFY(!address.isEmpty());
    QDBusConnection bus = QDBusConnection::connectToBus(address, QStringLiteral("select-test"));
    QVERIFY(bus.isConnected());

    RasChoices choices = nothing();
    choices.bus = bus;
    fs::create_directories(choices.pppdRoots.etcPpp / "peers");
    {
      EventLog log(files_.eventLog(), clock_);
      auto ras = selectRasService(files_, log, choices);
      QVERIFY(dynamic_cast<PppdRasService*>(ras.get()) != nullptr);  // name not owned yet
    }
    QVERIFY(bus.registerService(QStringLiteral("org.freedesktop.NetworkManager")));
    EventLog log(files_.eventLog(), clock_);
    auto ras = selectRasService(files_, log, choices);
    QVERIFY(dynamic_cast<NmRasService*>(ras.get()) != nullptr);
    QCOMPARE(logText(),
             std::string(" Remote access: pppd.\r\n Remote access: NetworkManager.\r\n"));

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
