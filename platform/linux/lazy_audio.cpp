#include "platform/linux/lazy_audio.h"

#include <QCoreApplication>

#include <chrono>
#include <thread>

#include "config/regular_file.h"
#include "platform/linux/audio/audio_module.h"

namespace tarvik {

// A minute without a tone or a sound playing.
constexpr int kSilenceMs = 60'000;

LazyAudio::LazyAudio(QStringList modules, TimerFactory* timers) : modules_(std::move(modules)) {
  if (!timers) return;
  idle_ = timers->createTimer("audio_idle");
  idle_->setInterval(kSilenceMs);
  idle_->onFire([this] { unloadWhenSilent(); });
}

// The objects go before the application does; the tone thread ends with its device.
LazyAudio::~LazyAudio() = default;

QStringList LazyAudio::defaultModules() {
  const QString file = QString::fromLatin1(kAudioModuleFile);
  QStringList modules{QCoreApplication::applicationDirPath() + '/' + file};
#ifdef TARVIK_AUDIO_BUILD_DIR
  // A copy of a freshly built program (make run, the tests) has no module beside it.
  modules << QStringLiteral(TARVIK_AUDIO_BUILD_DIR "/") + file;
#endif
  return modules;
}

bool LazyAudio::load() {
  if (idle_ && loaded()) {
    idle_->setEnabled(false);  // counts the minute from now
    idle_->setEnabled(true);
  }
  if (tried_) return loaded();
  tried_ = true;
  for (const QString& module : modules_) {
    library_.setFileName(module);
    if (!library_.load()) continue;
    auto createTone = reinterpret_cast<ToneDevice* (*)()>(library_.resolve(kCreateToneDevice));
    auto createSound = reinterpret_cast<SoundPlayer* (*)()>(library_.resolve(kCreateSoundPlayer));
    if (!createTone || !createSound) continue;
    soundPlayer_.reset(createSound());
    toneDevice_.reset(createTone());
    if (idle_) idle_->setEnabled(true);
    return true;
  }
  return false;
}

void LazyAudio::unloadWhenSilent() {
  // A long sound file may still be playing, or a tone hang in the audio system (closing the
  // device would wait for it): it is asked again a minute later.
  if (!loaded() || soundPlayer_->playing() || toneDevice_->stuck()) return;
  idle_->setEnabled(false);
  soundPlayer_.reset();
  toneDevice_.reset();  // ends the tone thread
  library_.unload();
  tried_ = false;  // the next tone or sound loads it again
}

bool LazyAudio::Tones::tone(int frequencyHz, int durationMs) {
  return audio_.load() && audio_.toneDevice_->tone(frequencyHz, durationMs);
}

void LazyAudio::Tones::wait(int ms) {
  if (audio_.load()) {
    audio_.toneDevice_->wait(ms);
  } else if (ms > 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  }
}

void LazyAudio::Sounds::play(const std::string& file) {
  // No sound chosen is nothing to load the audio libraries for.
  // A FIFO or device chosen as a sound would hang the player's loader.
  if (!file.empty() && isRegularFile(file) && audio_.load()) audio_.soundPlayer_->play(file);
}

}  // namespace tarvik
