#include "tools/tarvik-report/watch_bus.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QVariantMap>
#include <iostream>
#include <string>

namespace tarvik::report {
namespace {

constexpr const char* kService = "org.tarvik.Meter";
constexpr const char* kPath = "/org/tarvik/Meter";
constexpr const char* kProperties = "org.freedesktop.DBus.Properties";
constexpr int kNotRunning = 2;

void apply(LiveFigures& f, const QVariantMap& values) {
  for (auto it = values.begin(); it != values.end(); ++it) {
    const QString& name = it.key();
    const QVariant& v = it.value();
    if (name == "Service") f.service = v.toString().toStdString();
    if (name == "State") f.state = v.toString().toStdString();
    if (name == "Entry") f.entry = v.toString().toStdString();
    if (name == "SecondsOnline") f.secondsOnline = v.toLongLong();
    if (name == "Cost") f.cost = v.toDouble();
    if (name == "Currency") f.currency = v.toString().toStdString();
    if (name == "Balance") f.balance = v.toDouble();
    if (name == "Received") f.received = v.toULongLong();
    if (name == "Sent") f.sent = v.toULongLong();
    if (name == "ForecastTime") f.forecastTime = v.toString().toStdString();
    if (name == "Price") f.price = v.toDouble();
  }
}

// Receives PropertiesChanged; Qt delivers a D-Bus signal only to a slot of a QObject.
class Listener : public QObject {
  Q_OBJECT

 public:
  Listener(LiveFigures& figures, WatchFormat format) : figures_(figures), format_(format) {}
  // A change the line does not show (the bytes, in text) prints nothing: the panel would only
  // redraw the same text.
  void print() {
    std::string line = watchLine(figures_, format_);
    if (line == last_) return;
    std::cout << line << std::endl;
    last_ = std::move(line);
  }

 public slots:
  void changed(const QString&, const QVariantMap& values, const QStringList&) {
    apply(figures_, values);
    print();
  }

 private:
  LiveFigures& figures_;
  WatchFormat format_;
  std::string last_;
};

int notRunning() {
  std::cerr << "tarvik-report: Tarvik is not running (no " << kService << " on the session bus)\n";
  return kNotRunning;
}

}  // namespace

int watchProgram(int argc, char** argv, WatchFormat format) {
  QCoreApplication app(argc, argv);
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    std::cerr << "tarvik-report: no session bus: " << bus.lastError().message().toStdString()
              << '\n';
    return kNotRunning;
  }
  LiveFigures figures;
  Listener listener(figures, format);
  // Subscribed before the first reading, so no change falls between the two.
  bus.connect(kService, kPath, kProperties, "PropertiesChanged", &listener,
              SLOT(changed(QString, QVariantMap, QStringList)));
  QDBusServiceWatcher gone(kService, bus, QDBusServiceWatcher::WatchForUnregistration);
  int status = 0;
  QObject::connect(&gone, &QDBusServiceWatcher::serviceUnregistered, &app, [&] {
    std::cerr << "tarvik-report: Tarvik has ended\n";
    status = kNotRunning;
    app.quit();
  });
  QDBusMessage getAll = QDBusMessage::createMethodCall(kService, kPath, kProperties, "GetAll");
  getAll << QString(kService);
  const QDBusReply<QVariantMap> all = bus.call(getAll);
  if (!all.isValid()) return notRunning();
  apply(figures, all.value());
  listener.print();
  app.exec();
  return status;
}

}  // namespace tarvik::report

#include "watch_bus.moc"
