// Balloons through the desktop notification service, on a private session bus with a
// notification service of the test's own.
#include "status/qt/balloon_notifier.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QLabel>
#include <QtTest>
#include <csignal>
#include <cstdio>
#include <cstdlib>

using namespace tarvik;

// Records what the program asks of the notification service.
class FakeNotifications : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

 public:
  struct Call {
    uint replacesId;
    QString summary, body;
    int timeout;
  };
  QList<Call> notified;
  QList<uint> closed;
  uint nextId = 41;

 public slots:
  uint Notify(const QString&, uint replacesId, const QString&, const QString& summary,
              const QString& body, const QStringList&, const QVariantMap&, int timeout) {
    notified.append({replacesId, summary, body, timeout});
    return replacesId != 0 ? replacesId : ++nextId;
  }
  void CloseNotification(uint id) { closed.append(id); }
};

class BalloonNotifierTest : public QObject {
  Q_OBJECT

 private slots:
  // Neither a notification service nor a tray that shows the icon: the balloon stands beside
  // the status window until it is removed, and a newer one takes its place.
  void fallsBackToAPopupBesideTheWindow() {
    QSystemTrayIcon tray;  // never shown: a balloon through it would be lost
    BalloonNotifier notifier(tray);
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.setGeometry(300, 400, 99, 26);
    window.show();
    notifier.setAnchor(&window);
    notifier.setRoute([](bool) { return BalloonRoute::Popup; });
    notifier.show("Provider", "Time spent online: 00:00:01", 10000);
    QCOMPARE(notifier.lastId(), 0u);
    BalloonPopup* popup = notifier.popup();
    QVERIFY(popup && popup->isVisible());
    QCOMPARE(popup->findChild<QLabel*>("s_balloon_title")->text(), QString("Provider"));
    QCOMPARE(popup->findChild<QLabel*>("s_balloon_text")->text(),
             QString("Time spent online: 00:00:01"));
    QVERIFY(popup->geometry().bottom() < window.geometry().top());
    QCOMPARE(popup->geometry().right(), window.frameGeometry().right());

    notifier.setRoute([](bool) { return BalloonRoute::TrayBalloon; });
    notifier.show("second", "replaces the first", 10000);
    QVERIFY(popup->isVisible());
    QCOMPARE(popup->findChild<QLabel*>("s_balloon_title")->text(), QString("second"));
    notifier.remove();
    QVERIFY(!popup->isVisible());
  }

  void usesTheServiceAndReplacesByIdAndCloses() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) QSKIP("no session bus");
    FakeNotifications service;
    QVERIFY(bus.registerObject("/org/freedesktop/Notifications", &service,
                               QDBusConnection::ExportAllSlots));
    QVERIFY(bus.registerService("org.freedesktop.Notifications"));

    QSystemTrayIcon tray;
    BalloonNotifier notifier(tray);
    notifier.show("Provider", "a < b & c", 10000);
    QCOMPARE(service.notified.size(), 1);
    QCOMPARE(service.notified[0].replacesId, 0u);
    QCOMPARE(service.notified[0].summary, QString("Provider"));
    QCOMPARE(service.notified[0].body, QString("a &lt; b &amp; c"));
    QCOMPARE(service.notified[0].timeout, 10000);
    QCOMPARE(notifier.lastId(), 42u);

    notifier.show("second", "replaces the first", 10000);
    QCOMPARE(service.notified.size(), 2);
    QCOMPARE(service.notified[1].replacesId, 42u);

    notifier.remove();
    QTRY_COMPARE(service.closed.size(), 1);
    QCOMPARE(service.closed[0], 42u);
    QCOMPARE(notifier.lastId(), 0u);
    bus.unregisterService("org.freedesktop.Notifications");
    bus.unregisterObject("/org/freedesktop/Notifications");
  }
};

int main(int argc, char** argv) {
  // A session bus of the test's own, started before Qt connects to any.
  long daemonPid = 0;
  if (FILE* p =
          popen("dbus-daemon --session --fork --print-address=1 --print-pid=1 2>/dev/null", "r")) {
    char address[512] = {0};
    if (fgets(address, sizeof address, p)) {
      address[strcspn(address, "\n")] = 0;
      setenv("DBUS_SESSION_BUS_ADDRESS", address, 1);
      if (fscanf(p, "%ld", &daemonPid) != 1) daemonPid = 0;
    } else {
      unsetenv("DBUS_SESSION_BUS_ADDRESS");
    }
    pclose(p);
  }
  QApplication app(argc, argv);
  BalloonNotifierTest test;
  const int result = QTest::qExec(&test, argc, argv);
  if (daemonPid > 0) kill(static_cast<pid_t>(daemonPid), SIGTERM);
  return result;
}

#include "balloon_notifier_test.moc"
