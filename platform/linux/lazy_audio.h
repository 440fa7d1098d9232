#pragma once

#include <QLibrary>
#include <QStringList>

#include <memory>

#include "platform/sound.h"
#include "platform/timer.h"

namespace tarvik {

// Tones and sound files through the audio module, which is loaded when the first tone or
// sound is asked for. A module that cannot be found or loaded is tried once; from then on
// tones fail (the tune stops, as without an audio device) and sounds play nothing.
// Given timers, the module is unloaded again after a minute of silence (its libraries and
// threads go with it) and loaded anew by the next tone or sound.
class LazyAudio {
 public:
  // `modules`: the module files to try, in order.
  explicit LazyAudio(QStringList modules = defaultModules(), TimerFactory* timers = nullptr);
  ~LazyAudio();
  LazyAudio(const LazyAudio&) = delete;
  LazyAudio& operator=(const LazyAudio&) = delete;

  ToneDevice& tone() { return tone_; }
  SoundPlayer& sound() { return sound_; }

  // Whether the module has been loaded (for tests and measurements).
  bool loaded() const { return toneDevice_ != nullptr; }

  // Beside the executable (an installed program, or a copy of it), then where it was built.
  static QStringList defaultModules();

 private:
  // Loads the module on the first call; false when it is not there. Each use counts the
  // minute of silence afresh.
  bool load();
  void unloadWhenSilent();

  class Tones : public ToneDevice {
   public:
    explicit Tones(LazyAudio& audio) : audio_(audio) {}
    bool tone(int frequencyHz, int durationMs) override;
    void wait(int ms) override;

   private:
    LazyAudio& audio_;
  };
  class Sounds : public SoundPlayer {
   public:
    explicit Sounds(LazyAudio& audio) : audio_(audio) {}
    void play(const std::string& file) override;

   private:
    LazyAudio& audio_;
  };

  QStringList modules_;
  bool tried_ = false;
  // The objects below come from the module: they go before it is unloaded.
  QLibrary library_;
  std::unique_ptr<ToneDevice> toneDevice_;
  std::unique_ptr<SoundPlayer> soundPlayer_;
  Tones tone_{*this};
  Sounds sound_{*this};
  std::unique_ptr<Timer> idle_;
};

}  // namespace tarvik
