#include "platform/linux/tray_watch.h"

#include <QDBusConnection>
#include <QObject>
#include <QThread>
#include <QtTest>
#include <atomic>

#include "private_bus.h"

namespace {

// A StatusNotifier watcher as a desktop's panel runs it: in a thread of its own, as the
// watch asks it with a blocking call.
class FakeWatcher : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
  Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)

 public:
  bool hostRegistered() const { return host; }
  std::atomic<bool> host = false;

 signals:
  void StatusNotifierHostRegistered();
};

}  // namespace

class TrayWatchTest : public QObject {
  Q_OBJECT

 private slots:
  // A host that comes and goes on the session bus is seen from the bus's own notices: the
  // watch does not ask every few seconds.
  void aHostThatComesAndGoesIsSeenWithoutPolling() {
    PrivateBus daemon;
    const QString address = daemon.start();
    if (address.isEmpty()) QSKIP("no dbus-daemon");
    qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());

    tarvik::TrayWatch watch;
    QList<bool> answers;
    watch.onChange = [&answers](bool present) { answers.append(present); };
    QVERIFY(!watch.probe());
    QCOMPARE(answers, QList<bool>{false});
    QVERIFY(!watch.polling());

    QDBusConnection panel = QDBusConnection::connectToBus(address, QStringLiteral("panel"));
    auto* fake = new FakeWatcher;
    QVERIFY(panel.registerObject(
        QStringLiteral("/StatusNotifierWatcher"), fake,
        QDBusConnection::ExportAllProperties | QDBusConnection::ExportAllSignals));
    QThread thread;
    fake->moveToThread(&thread);
    thread.start();
    const auto stop = qScopeGuard([&] {
      panel.unregisterObject(QStringLiteral("/StatusNotifierWatcher"));
      fake->deleteLater();  // in its own thread, as it ends
      thread.quit();
      thread.wait();
    });
    QVERIFY(panel.registerService(QStringLiteral("org.kde.StatusNotifierWatcher")));
    // A watcher without a host is no notification area.
    QTest::qWait(200);
    QCOMPARE(answers, QList<bool>{false});

    QMetaObject::invokeMethod(fake, [fake] {
      fake->host = true;
      emit fake->StatusNotifierHostRegistered();
    });
    QTRY_COMPARE_WITH_TIMEOUT(answers, (QList<bool>{false, true}), 5000);
    QVERIFY(watch.present());

    QVERIFY(panel.unregisterService(QStringLiteral("org.kde.StatusNotifierWatcher")));
    QTRY_COMPARE_WITH_TIMEOUT(answers, (QList<bool>{false, true, false}), 5000);
    QVERIFY(!watch.polling());
  }
};

QTEST_MAIN(TrayWatchTest)
#include "tray_watch_test.moc"
