#pragma once

#include <QLibrary>
#include <QStringList>

#include <memory>

#include "platform/sound.h"

namespace tarvik {

// Tones and sound files through the audio module, which is loaded when the first tone or
// sound is asked for. A module that cannot be found or loaded is tried once; from then on
// tones fail (the tune stops, as without an audio device) and sounds play nothing.
class LazyAudio {
 public:
  // `modules`: the module files to try, in order.
  explicit LazyAudio(QStringList modules = defaultModules());
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
  // Loads the module on the first call; false when it is not there.
  bool load();

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
  // The module is never unloaded: the objects below come from it, and its libraries keep
  // threads of their own.
  QLibrary library_;
  std::unique_ptr<ToneDevice> toneDevice_;
  std::unique_ptr<SoundPlayer> soundPlayer_;
  Tones tone_{*this};
  Sounds sound_{*this};
};

}  // namespace tarvik
