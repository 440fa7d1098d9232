#include <QAudioDevice>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <future>
#include <memory>

#include "platform/linux/audio/tone_device.h"

using tarvik::LinuxToneDevice;

// The speakers cannot be checked here; these tests pin down the blocking contract the tunes
// rely on and the failure when there is nothing to play on.
class ToneDeviceTest : public QObject {
  Q_OBJECT
 private slots:
  void waitBlocksWithoutRunningTheEventLoop() {
    LinuxToneDevice device;
    bool timerRan = false;
    QTimer::singleShot(0, this, [&] { timerRan = true; });
    QElapsedTimer elapsed;
    elapsed.start();
    device.wait(40);
    QVERIFY(elapsed.elapsed() >= 40);
    QVERIFY(!timerRan);  // timers due meanwhile fire after the tune, not inside it
    QTRY_VERIFY(timerRan);
  }

  void unplayableFrequenciesFail() {
    LinuxToneDevice device;
    QVERIFY(!device.tone(0, 100));
    QVERIFY(!device.tone(-5, 100));
    QVERIFY(!device.tone(30000, 100));
  }

  void nothingToPlayIsNoFailure() {
    LinuxToneDevice device;
    QElapsedTimer elapsed;
    elapsed.start();
    QVERIFY(device.tone(1000, 0));
    QVERIFY(device.tone(1000, -1));
    QVERIFY(device.tone(1000, -300));
    QVERIFY(elapsed.elapsed() < 100);
  }

  void toneBlocksForItsLengthOrFailsWithoutADevice() {
    LinuxToneDevice device;
    QElapsedTimer elapsed;
    elapsed.start();
    const bool played = device.tone(1500, 100);
    if (QMediaDevices::defaultAudioOutput().isNull()) {
      QVERIFY(!played);
      QVERIFY(elapsed.elapsed() < 1000);
    } else {
      QVERIFY(played);
      QVERIFY(elapsed.elapsed() >= 100);
      QVERIFY(device.tone(2500, 75));  // the device stays usable for the next tone
    }
  }

  // The tone thread stuck inside the audio system costs the caller one answer time, not one
  // per tone: the warning flash alone asks for a tone twice a second.
  void aStuckToneThreadHoldsTheCallerOnlyOnce() {
    LinuxToneDevice device([] { return true; });
    auto stall = [&device](std::promise<void>& release) {
      QMetaObject::invokeMethod(device.worker(),
                                [held = release.get_future().share()] { held.wait(); });
    };
    // Every check waits until the thread is released: a failed check must not leave it stuck.
    std::promise<void> first;
    stall(first);
    const bool firstPlayed = device.tone(1000, 100);  // not taken within the answer time
    QElapsedTimer elapsed;
    elapsed.start();
    const bool laterPlayed = device.tone(1000, 100) || device.tone(2500, 75);
    const qint64 held = elapsed.elapsed();
    first.set_value();
    QVERIFY(!firstPlayed && !laterPlayed);
    QVERIFY2(held < 1000, qPrintable(QString::number(held)));

    // Once the thread has answered, tones go to it again, and wait for it again.
    auto answered = std::make_shared<std::atomic<bool>>(false);
    QMetaObject::invokeMethod(device.worker(), [answered] { *answered = true; });
    QTRY_VERIFY(*answered);
    std::promise<void> second;
    stall(second);
    elapsed.restart();
    const bool played = device.tone(1000, 100);
    const qint64 waited = elapsed.elapsed();
    second.set_value();
    QVERIFY(!played);
    QVERIFY2(waited >= 1000, qPrintable(QString::number(waited)));
  }
};

QTEST_MAIN(ToneDeviceTest)
#include "tone_device_test.moc"
