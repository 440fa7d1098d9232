#pragma once

#include <QAudioFormat>
#include <QAudioSink>
#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <memory>

namespace tarvik {

// Lives on the tone thread. Keeps one output stream open in push mode and queues the tones
// and the pauses between them as samples, so a tune keeps its rhythm however late or in
// whatever pieces the audio system takes them: the pauses are silence in the stream, not gaps
// in the writing.
class ToneWorker : public QObject {
  Q_OBJECT
 public:
  ToneWorker();

  // Queues a tone; false when there is no output or the stream has stopped taking samples.
  bool play(int frequencyHz, int durationMs);
  // Queues `ms` of silence when a stream is open; nothing otherwise.
  void pause(int ms);

 private:
  bool openStream();
  void closeStream();
  void feed();
  qsizetype bytesFor(int ms) const;

  std::unique_ptr<QAudioSink> sink_;
  QIODevice* stream_ = nullptr;
  QAudioFormat format_;
  QByteArray pending_;
  QTimer feeder_;
  QElapsedTimer sinceLastSound_;
};

}  // namespace tarvik
