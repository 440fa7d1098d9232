#include "app/qt/qt_clock.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <cstdlib>
#include <vector>

namespace tarvik {

// Timer semantics on the real event loop. A timer started outside a timer's handler never fires
// early, so the lower bounds are exact; the upper bounds leave room for a loaded machine.
class QtClockTest : public QObject {
  Q_OBJECT

 private:
  QtTimerFactory factory;

  // Milliseconds from now to the timer's first firing, or -1 if it did not fire in `limit`.
  static qint64 firstFire(Timer& timer, QElapsedTimer& since, int limit) {
    qint64 at = -1;
    timer.onFire([&] {
      if (at < 0) at = since.elapsed();
    });
    while (at < 0 && since.elapsed() <= limit) QTest::qWait(5);
    return at;
  }

 private slots:
  void clockFollowsLocalTime() {
    QtClock clock;
    const LocalTime t = clock.now();
    const QDateTime q = QDateTime::currentDateTime();
    QCOMPARE(t.year, q.date().year());
    QCOMPARE(t.weekday, q.date().dayOfWeek() % 7);  // Qt: 7 = Sunday
    const std::int64_t diff =
        toLocalMs(makeLocalTime(q.date().year(), q.date().month(), q.date().day(), q.time().hour(),
                                q.time().minute(), q.time().second(), q.time().msec())) -
        toLocalMs(t);
    QVERIFY(diff >= 0 && diff < 2000);
    const std::int64_t a = clock.ticks();
    QTest::qWait(20);
    QVERIFY(clock.ticks() >= a + 20);
  }

  void disabledOrZeroIntervalNeverFires() {
    auto timer = factory.createTimer("t_test");
    QCOMPARE(QString::fromStdString(timer->name()), QString("t_test"));
    QCOMPARE(timer->interval(), 1000);
    QVERIFY(!timer->enabled());
    int fired = 0;
    timer->onFire([&] { ++fired; });
    timer->setInterval(10);
    QTest::qWait(100);
    QCOMPARE(fired, 0);
    timer->setInterval(0);
    timer->setEnabled(true);
    QTest::qWait(100);
    QCOMPARE(fired, 0);
    timer->setInterval(10);  // a positive interval while enabled starts it
    QTRY_VERIFY(fired >= 3);
  }

  void enabledTimerRepeatsUntilDisabledInItsHandler() {
    auto timer = factory.createTimer("t_repeat");
    int fired = 0;
    timer->setInterval(10);
    timer->onFire([&] {
      if (++fired == 3) timer->setEnabled(false);
    });
    timer->setEnabled(true);
    QTRY_COMPARE(fired, 3);
    QTest::qWait(100);
    QCOMPARE(fired, 3);
    QVERIFY(!timer->enabled());
  }

  void newIntervalWhileEnabledRestartsTheCountdown() {
    auto timer = factory.createTimer("t_restart");
    QElapsedTimer since;
    timer->setInterval(300);
    timer->setEnabled(true);
    since.start();
    QTest::qWait(200);
    timer->setInterval(301);
    const qint64 at = firstFire(*timer, since, 2000);
    QVERIFY2(at >= 200 + 301, qPrintable(QString::number(at)));
  }

  void reEnablingOrSameIntervalDoesNotRestart() {
    auto timer = factory.createTimer("t_keep");
    QElapsedTimer since;
    timer->setInterval(400);
    timer->setEnabled(true);
    since.start();
    QTest::qWait(250);
    timer->setEnabled(true);
    timer->setInterval(400);
    const qint64 at = firstFire(*timer, since, 2000);
    QVERIFY2(at >= 400 && at < 250 + 400, qPrintable(QString::number(at)));
  }

  void disableAndEnableRestarts() {
    auto timer = factory.createTimer("t_toggle");
    QElapsedTimer since;
    timer->setInterval(300);
    timer->setEnabled(true);
    since.start();
    QTest::qWait(200);
    timer->setEnabled(false);
    timer->setEnabled(true);
    const qint64 at = firstFire(*timer, since, 2000);
    QVERIFY2(at >= 200 + 300, qPrintable(QString::number(at)));
  }

  // Started by the poll's handler, the meter tick and the journal share the poll's wake-ups:
  // their events fall on the poll's, and each such pair fires in one go.
  void timersStartedByAnEventKeepItsRhythm() {
    auto poll = factory.createTimer("t_poll");
    auto tick = factory.createTimer("t_tick");
    QElapsedTimer clock;
    clock.start();
    std::vector<qint64> polls, ticks;
    poll->setInterval(40);
    tick->setInterval(80);
    poll->onFire([&] {
      polls.push_back(clock.nsecsElapsed());
      if (tick->enabled()) return;
      // Started a moment after the event, as the meter is after the probe's work.
      QElapsedTimer busy;
      busy.start();
      while (busy.nsecsElapsed() < 3'000'000) {
      }
      tick->setEnabled(true);
    });
    tick->onFire([&] { ticks.push_back(clock.nsecsElapsed()); });
    poll->setEnabled(true);
    QTRY_VERIFY_WITH_TIMEOUT(ticks.size() >= 4, 5000);
    poll->setEnabled(false);
    tick->setEnabled(false);
    for (const qint64 at : ticks) {
      const auto with = std::find_if(polls.begin(), polls.end(), [at](qint64 p) {
        return at >= p && at - p < 2'000'000;  // the same wake-up, not 3 ms later
      });
      QVERIFY2(with != polls.end(), qPrintable(QString::number(at)));
    }
  }

  // Paced by the poll, a timer started between its events fires in its wake-ups, also after
  // the poll starts afresh.
  void pacedTimerSharesTheLeadersWakeUps() {
    auto poll = factory.createTimer("t_poll");
    auto follower = factory.createTimer("t_keep_on_top");
    factory.pace(*follower, *poll);
    QElapsedTimer clock;
    clock.start();
    std::vector<qint64> polls, follows;
    poll->setInterval(40);
    follower->setInterval(40);
    poll->onFire([&] { polls.push_back(clock.nsecsElapsed()); });
    follower->onFire([&] {
      if (poll->enabled()) follows.push_back(clock.nsecsElapsed());
    });
    poll->setEnabled(true);
    QTest::qWait(15);
    follower->setEnabled(true);
    QTRY_VERIFY_WITH_TIMEOUT(follows.size() >= 2, 5000);
    poll->setEnabled(false);
    QTest::qWait(15);
    poll->setEnabled(true);
    QTRY_VERIFY_WITH_TIMEOUT(follows.size() >= 4, 5000);
    poll->setEnabled(false);
    follower->setEnabled(false);
    for (const qint64 at : follows) {
      const auto with = std::find_if(polls.begin(), polls.end(), [at](qint64 p) {
        return std::abs(at - p) < 2'000'000;  // the same wake-up, not 15 ms apart
      });
      QVERIFY2(with != polls.end(), qPrintable(QString::number(at)));
    }
  }

  // A handler that waits in a modal loop (a question to the user) does not hold the others.
  void timersGoOnWhileAHandlerRunsAModalLoop() {
    auto asking = factory.createTimer("t_remind");
    auto other = factory.createTimer("t_flash");
    int otherFired = 0;
    int firedInside = -1;
    asking->setInterval(10);
    asking->onFire([&] {
      asking->setEnabled(false);
      QEventLoop modal;
      QTimer::singleShot(200, &modal, &QEventLoop::quit);
      modal.exec();
      firedInside = otherFired;
    });
    other->setInterval(10);
    other->onFire([&] { ++otherFired; });
    asking->setEnabled(true);
    other->setEnabled(true);
    QTRY_VERIFY(firedInside >= 0);
    QVERIFY2(firedInside >= 3, qPrintable(QString::number(firedInside)));
  }

  void timerMayBeDestroyedByItsOwnHandler() {
    auto timer = factory.createTimer("t_self");
    bool fired = false;
    timer->setInterval(5);
    timer->onFire([&] {
      fired = true;
      timer.reset();
    });
    timer->setEnabled(true);
    QTRY_VERIFY(fired);
    QTest::qWait(50);
    QVERIFY(!timer);
  }
};

}  // namespace tarvik

QTEST_MAIN(tarvik::QtClockTest)
#include "qt_clock_test.moc"
