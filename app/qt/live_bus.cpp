#include "app/qt/live_bus.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QVariantMap>

#include "app/qt/program_events.h"
#include "platform/settings_window.h"
#include "status/qt/tray_host.h"
#include "status/qt/tray_menu.h"

namespace tarvik {
namespace {

QVariant valueOf(const LiveFigures& f, std::string_view name) {
  const auto text = [](const std::string& s) { return QVariant(QString::fromStdString(s)); };
  if (name == "Service") return text(f.service);
  if (name == "State") return text(f.state);
  if (name == "Entry") return text(f.entry);
  if (name == "SecondsOnline") return QVariant::fromValue<qlonglong>(f.secondsOnline);
  if (name == "Cost") return f.cost;
  if (name == "Currency") return text(f.currency);
  if (name == "Balance") return f.balance;
  if (name == "Received") return QVariant::fromValue<qulonglong>(f.received);
  if (name == "Sent") return QVariant::fromValue<qulonglong>(f.sent);
  if (name == "ForecastTime") return text(f.forecastTime);
  return f.price;
}

}  // namespace

LiveBus::LiveBus(const Engine& engine, ServiceName service, TrayMenu& menu, TrayHost& host,
                 const Clock& clock)
    : engine_(engine), service_(std::move(service)), menu_(menu), host_(host), announcer_(clock) {
  new LiveBusAdaptor(*this);
  soon_.setSingleShot(true);
  soon_.setInterval(0);
  connect(&soon_, &QTimer::timeout, this, [this] { look(); });
  heldBack_.setSingleShot(true);
  heldBack_.setInterval(static_cast<int>(LiveAnnouncer::kMinGapMs));
  connect(&heldBack_, &QTimer::timeout, this, [this] { look(); });
}

void LiveBus::listenTo(const ProgramEvents& events) {
  connect(&events, &ProgramEvents::figuresShown, this, &LiveBus::lookSoon);
  connect(&events, &ProgramEvents::serviceSwitched, this, &LiveBus::lookSoon);
}

LiveBus::~LiveBus() {
  if (!published_) return;
  QDBusConnection bus = QDBusConnection::sessionBus();
  bus.unregisterObject(kLiveBusPath);
  bus.unregisterService(kLiveBusService);
}

bool LiveBus::publish(QString& error) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  // A session without a bus (a bare X session, the tests) has no panel to serve: no complaint.
  if (!bus.isConnected()) return false;
  if (!bus.registerObject(kLiveBusPath, this, QDBusConnection::ExportAdaptors)) {
    error = "the object path is taken";
    return false;
  }
  if (!bus.registerService(kLiveBusService)) {
    error = bus.lastError().message();
    bus.unregisterObject(kLiveBusPath);
    return false;
  }
  published_ = true;
  look();
  return true;
}

void LiveBus::lookSoon() {
  if (published_ && !soon_.isActive()) soon_.start();
}

void LiveBus::look() {
  const LiveFigures now = figures();
  const std::vector<std::string_view> changed = announcer_.look(now);
  if (changed.empty()) {
    if (now != announcer_.announced() && !heldBack_.isActive()) heldBack_.start();
    return;
  }
  QVariantMap values;
  for (std::string_view name : changed)
    values.insert(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())),
                  valueOf(now, name));
  QDBusMessage signal = QDBusMessage::createSignal(kLiveBusPath, "org.freedesktop.DBus.Properties",
                                                   "PropertiesChanged");
  signal << QString(kLiveBusService) << values << QStringList();
  QDBusConnection::sessionBus().send(signal);
}

LiveBusAdaptor::LiveBusAdaptor(LiveBus& bus) : QDBusAbstractAdaptor(&bus), bus_(bus) {}

// The commands go through the tray menu's own items, so a disabled item (a delayed start, a
// pending recovery question, hanging up while offline) does nothing here either.
void LiveBusAdaptor::ShowStatusWindow() {
  bus_.menu().m_status_show->trigger();
}

void LiveBusAdaptor::OpenSettings(int page) {
  if (page < 0 || page >= kPageCount || !bus_.menu().m_settings->isEnabled()) return;
  bus_.host().openSettings(kAllPages[page]);
}

void LiveBusAdaptor::OpenStatistics() {
  bus_.menu().m_stat->trigger();
}

void LiveBusAdaptor::HangUp() {
  bus_.menu().m_hangup->trigger();
}

}  // namespace tarvik
