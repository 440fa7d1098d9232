#pragma once

#include <QSoundEffect>

#include "platform/sound.h"

namespace tarvik {

// WAV files through the default audio output, played asynchronously. A new sound replaces
// the one still playing.
class LinuxSoundPlayer : public SoundPlayer {
 public:
  void play(const std::string& file) override;
  bool playing() const override { return effect_.isPlaying(); }

  // What is playing or was played last (for tests).
  const QSoundEffect& effect() const { return effect_; }

 private:
  QSoundEffect effect_;
};

}  // namespace tarvik
