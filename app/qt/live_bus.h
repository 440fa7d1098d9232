#pragma once

#include <QDBusAbstractAdaptor>
#include <QObject>
#include <QTimer>
#include <functional>

#include "app/live_status.h"

namespace tarvik {

class Engine;
class ProgramEvents;
class TrayHost;
class TrayMenu;

inline constexpr const char* kLiveBusService = "org.tarvik.Meter";
inline constexpr const char* kLiveBusPath = "/org/tarvik/Meter";

// The running program on the session bus, for panel bars and scripts: its figures as read-only
// properties with PropertiesChanged as LiveAnnouncer decides, and the tray menu's commands.
// Only the session's own user reaches the session bus; nothing is offered elsewhere.
class LiveBus final : public QObject {
  Q_OBJECT

 public:
  using ServiceName = std::function<std::string()>;
  LiveBus(const Engine& engine, ServiceName service, TrayMenu& menu, TrayHost& host,
          const Clock& clock);
  ~LiveBus() override;

  // Takes the bus name; false when there is no session bus, or (with the reason in `error`) when
  // another program holds the name.
  bool publish(QString& error);

  LiveFigures figures() const { return readLiveFigures(engine_, service_()); }
  TrayMenu& menu() { return menu_; }
  TrayHost& host() { return host_; }

  // Looks at the figures whenever the program shows something new or switches its service.
  void listenTo(const ProgramEvents& events);
  // Looks at the figures once the current event is handled, so several changes of one tick are
  // looked at together and nothing wakes the program while nothing is shown.
  void lookSoon();

 private:
  void look();

  const Engine& engine_;
  ServiceName service_;
  TrayMenu& menu_;
  TrayHost& host_;
  LiveAnnouncer announcer_;
  QTimer soon_;
  // A change the announcer held back is looked at again once its gap is over, even when
  // nothing is shown by then.
  QTimer heldBack_;
  bool published_ = false;
};

// The interface itself: Qt exposes its properties and slots, and introspection describes them.
class LiveBusAdaptor final : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.tarvik.Meter")
  Q_PROPERTY(QString Service READ service)
  Q_PROPERTY(QString State READ state)
  Q_PROPERTY(QString Entry READ entry)
  Q_PROPERTY(qlonglong SecondsOnline READ secondsOnline)
  Q_PROPERTY(double Cost READ cost)
  Q_PROPERTY(QString Currency READ currency)
  Q_PROPERTY(double Balance READ balance)
  Q_PROPERTY(qulonglong Received READ received)
  Q_PROPERTY(qulonglong Sent READ sent)
  Q_PROPERTY(QString ForecastTime READ forecastTime)
  Q_PROPERTY(double Price READ price)

 public:
  explicit LiveBusAdaptor(LiveBus& bus);

  QString service() const { return QString::fromStdString(bus_.figures().service); }
  QString state() const { return QString::fromStdString(bus_.figures().state); }
  QString entry() const { return QString::fromStdString(bus_.figures().entry); }
  qlonglong secondsOnline() const { return bus_.figures().secondsOnline; }
  double cost() const { return bus_.figures().cost; }
  QString currency() const { return QString::fromStdString(bus_.figures().currency); }
  double balance() const { return bus_.figures().balance; }
  qulonglong received() const { return bus_.figures().received; }
  qulonglong sent() const { return bus_.figures().sent; }
  QString forecastTime() const { return QString::fromStdString(bus_.figures().forecastTime); }
  double price() const { return bus_.figures().price; }

 public slots:
  void ShowStatusWindow();
  void OpenSettings(int page);
  void OpenStatistics();
  void HangUp();

 private:
  LiveBus& bus_;
};

}  // namespace tarvik
