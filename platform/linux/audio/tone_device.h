#pragma once

#include <QObject>
#include <QThread>

#include <chrono>
#include <functional>
#include <future>

#include "platform/sound.h"

namespace tarvik {

class ToneWorker;

// Beep tones through the desktop's default audio output. The tunes block the user-interface
// thread for their whole length, so the audio is driven from a thread of its own while the
// caller waits for it without running its event loop.
class LinuxToneDevice : public ToneDevice {
 public:
  // Whether the desktop has an audio output; tests stand in for the real check.
  using HasOutput = std::function<bool()>;
  explicit LinuxToneDevice(HasOutput hasOutput = {});
  ~LinuxToneDevice() override;

  // Holds the caller for the tone's length. False when there is no output device, the
  // frequency is outside 20..20000 Hz, or the audio system has stopped taking samples. A
  // duration of zero or less plays nothing and is no failure.
  bool tone(int frequencyHz, int durationMs) override;
  void wait(int ms) override;
  bool stuck() const override {
    return unanswered_.valid() &&
           unanswered_.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready;
  }

  // The object on the tone thread (for tests).
  QObject* worker() const;

 private:
  HasOutput hasOutput_;
  QThread thread_;
  ToneWorker* worker_;
  // The answer to a tone the tone thread did not take in time, while it is still owed.
  std::future<bool> unanswered_;
};

}  // namespace tarvik
