#pragma once

#include <QAudioSink>
#include <QBuffer>
#include <QObject>

#include <functional>
#include <memory>

namespace tarvik {

// Lives on the tone thread: plays one tone at a time in pull mode and reports the end.
class ToneWorker : public QObject {
  Q_OBJECT
 public:
  using Done = std::function<void(bool played)>;

  // Plays a tone on the default output and calls `done` once, from the tone thread.
  void play(int frequencyHz, int durationMs, Done done);

 private:
  void finish(bool played);

  std::unique_ptr<QAudioSink> sink_;
  std::unique_ptr<QBuffer> buffer_;
  Done done_;
};

}  // namespace tarvik
