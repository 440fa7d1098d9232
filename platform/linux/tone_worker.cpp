#include "platform/linux/tone_worker.h"

#include <QAudioDevice>
#include <QMediaDevices>

#include "platform/tone_synth.h"

namespace tarvik {

void ToneWorker::play(int frequencyHz, int durationMs, Done done) {
  if (done_) finish(false);  // a tone the caller gave up on
  done_ = std::move(done);

  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  if (device.isNull()) return finish(false);

  QAudioFormat format = device.preferredFormat();
  format.setSampleFormat(QAudioFormat::Int16);
  if (format.sampleRate() <= 0) format.setSampleRate(48000);
  if (format.channelCount() <= 0) format.setChannelCount(1);
  if (!device.isFormatSupported(format)) {
    format.setSampleRate(48000);
    format.setChannelCount(1);
    if (!device.isFormatSupported(format)) return finish(false);
  }

  const auto mono = synthesizeTone(
      {.frequencyHz = frequencyHz, .durationMs = durationMs, .sampleRate = format.sampleRate()});
  const int channels = format.channelCount();
  QByteArray pcm(static_cast<qsizetype>(mono.size() * channels * sizeof(std::int16_t)),
                 Qt::Uninitialized);
  auto* out = reinterpret_cast<std::int16_t*>(pcm.data());
  for (std::int16_t sample : mono)
    for (int c = 0; c < channels; ++c) *out++ = sample;

  buffer_ = std::make_unique<QBuffer>();
  buffer_->setData(pcm);
  buffer_->open(QIODevice::ReadOnly);
  sink_ = std::make_unique<QAudioSink>(device, format);
  connect(sink_.get(), &QAudioSink::stateChanged, this, [this](QAudio::State state) {
    if (!sink_) return;
    if (state == QAudio::IdleState) {
      finish(true);  // the buffer has been played out
    } else if (state == QAudio::StoppedState && sink_->error() != QAudio::NoError) {
      finish(false);
    }
  });
  sink_->start(buffer_.get());
  if (sink_->error() != QAudio::NoError) finish(false);
}

void ToneWorker::finish(bool played) {
  if (sink_) {
    sink_->disconnect(this);
    sink_->stop();
  }
  // Deleted later: this may run inside the sink's own signal.
  if (sink_) sink_.release()->deleteLater();
  if (buffer_) buffer_.release()->deleteLater();
  if (auto done = std::move(done_)) {
    done_ = nullptr;
    done(played);
  }
}

}  // namespace tarvik
