#include <QTemporaryDir>
#include <QtTest>

#include <cstdint>
#include <fstream>

#include "platform/linux/audio/sound_player.h"

using tarvik::LinuxSoundPlayer;

namespace {

// A valid 8 kHz mono 16-bit WAV file of `samples` silent samples.
void writeWav(const QString& path, std::uint32_t samples) {
  std::ofstream out(path.toStdString(), std::ios::binary);
  auto u32 = [&](std::uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
  auto u16 = [&](std::uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
  out.write("RIFF", 4);
  u32(36 + samples * 2);
  out.write("WAVEfmt ", 8);
  u32(16);
  u16(1);
  u16(1);
  u32(8000);
  u32(16000);
  u16(2);
  u16(16);
  out.write("data", 4);
  u32(samples * 2);
  for (std::uint32_t i = 0; i < samples; ++i) u16(0);
}

}  // namespace

class SoundPlayerTest : public QObject {
  Q_OBJECT
 private slots:
  void emptyOrMissingFilesPlayNothing() {
    QTemporaryDir dir;
    LinuxSoundPlayer player;
    player.play("");
    QVERIFY(player.effect().source().isEmpty());
    player.play((dir.path() + "/gone.wav").toStdString());
    QVERIFY(player.effect().source().isEmpty());
    player.play(dir.path().toStdString());  // a folder is not a sound
    QVERIFY(player.effect().source().isEmpty());
  }

  void aFileIsPlayedAndTheNextReplacesIt() {
    QTemporaryDir dir;
    const QString first = dir.path() + "/online.wav";
    const QString second = dir.path() + "/offline.wav";
    writeWav(first, 800);
    writeWav(second, 800);
    LinuxSoundPlayer player;
    player.play(first.toStdString());
    QCOMPARE(player.effect().source(), QUrl::fromLocalFile(first));
    player.play(second.toStdString());
    QCOMPARE(player.effect().source(), QUrl::fromLocalFile(second));
    // A missing file afterwards leaves the last sound alone rather than failing.
    player.play((dir.path() + "/gone.wav").toStdString());
    QCOMPARE(player.effect().source(), QUrl::fromLocalFile(second));
  }
};

QTEST_MAIN(SoundPlayerTest)
#include "sound_player_test.moc"
