#pragma once

#include <QObject>
#include <QThread>

#include "platform/sound.h"

namespace tarvik {

class ToneWorker;

// Beep tones through the desktop's default audio output. The tunes block the user-interface
// thread for their whole length, so the audio is driven from a thread of its own while the
// caller waits for it without running its event loop.
class LinuxToneDevice : public ToneDevice {
 public:
  LinuxToneDevice();
  ~LinuxToneDevice() override;

  // Holds the caller for the tone's length. False when there is no output device, the
  // frequency is outside 20..20000 Hz, or the audio system has stopped taking samples. A
  // duration of zero or less plays nothing and is no failure.
  bool tone(int frequencyHz, int durationMs) override;
  void wait(int ms) override;

 private:
  QThread thread_;
  ToneWorker* worker_;
};

}  // namespace tarvik
