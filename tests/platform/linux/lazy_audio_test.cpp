#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/linux/lazy_audio.h"
#include "platform/virtual_clock.h"

using tarvik::LazyAudio;

namespace {

// Whether this process has Qt Multimedia mapped: this test program does not link it, so only
// the audio module brings it in.
bool multimediaMapped() {
  QFile maps(QStringLiteral("/proc/self/maps"));
  return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6Multimedia");
}

int threadCount() {
  return QDir(QStringLiteral("/proc/self/task"))
      .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
      .size();
}

}  // namespace

class LazyAudioTest : public QObject {
  Q_OBJECT
 private slots:
  // Without the module nothing is played, nothing hangs and the pauses still pause; it is
  // looked for once, not again for every tone of a tune.
  void aMissingModuleFailsTonesAndPlaysNoSound() {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("libtarvik-audio.so"));
    QFile notALibrary(dir.filePath(QStringLiteral("broken.so")));
    QVERIFY(notALibrary.open(QIODevice::WriteOnly) && notALibrary.write("not a library") > 0);
    notALibrary.close();
    LazyAudio audio({missing, notALibrary.fileName()});
    QElapsedTimer elapsed;
    elapsed.start();
    QVERIFY(!audio.tone().tone(1000, 100));
    audio.sound().play(dir.filePath(QStringLiteral("ring.wav")).toStdString());
    audio.tone().wait(30);
    QVERIFY(elapsed.elapsed() >= 30);
    QVERIFY(elapsed.elapsed() < 1000);
    QVERIFY(!audio.loaded());
    // Put in place later, it is not picked up: the program keeps what it found at the first tone.
    QVERIFY(QFile::copy(LazyAudio::defaultModules().constLast(), missing));
    QVERIFY(!audio.tone().tone(1000, 50));
    QVERIFY(!audio.loaded());
  }

  // The program starts without the audio libraries; the first tone loads them, and from then
  // on the module's own device answers: its checks of the frequency and length hold. A minute
  // after the last tone the module goes with its libraries and threads; a tone within the
  // minute counts it afresh, and the next tone after it loads the module again.
  void theFirstToneLoadsTheModuleAndSilenceUnloadsIt() {
    QVERIFY(!multimediaMapped());
    const int threadsBefore = threadCount();
    tarvik::VirtualClock clock;
    LazyAudio audio(LazyAudio::defaultModules(), &clock);
    audio.sound().play("");  // no sound chosen: nothing to load for
    QVERIFY(!audio.loaded());
    QVERIFY(!multimediaMapped());

    QVERIFY(audio.tone().tone(1000, 0));  // nothing to play is no failure
    QVERIFY(audio.loaded());
    QVERIFY(multimediaMapped());
    QVERIFY(!audio.tone().tone(30000, 100));
    QElapsedTimer elapsed;
    elapsed.start();
    if (audio.tone().tone(1500, 100)) QVERIFY(elapsed.elapsed() >= 100);
    elapsed.restart();
    audio.tone().wait(40);
    QVERIFY(elapsed.elapsed() >= 40);

    clock.advance(59'000);
    audio.tone().wait(0);
    clock.advance(59'000);
    QVERIFY(audio.loaded());
    clock.advance(1'000);
    QVERIFY(!audio.loaded());
    QVERIFY(!multimediaMapped());
    QTRY_COMPARE(threadCount(), threadsBefore);

    QVERIFY(audio.tone().tone(1000, 0));
    QVERIFY(multimediaMapped());
    QVERIFY(!audio.tone().tone(30000, 100));
    clock.advance(60'000);
    QVERIFY(!audio.loaded());
    QVERIFY(!multimediaMapped());
  }
};

QTEST_MAIN(LazyAudioTest)
#include "lazy_audio_test.moc"
