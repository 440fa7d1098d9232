#include "platform/linux/audio/tone_worker.h"

#include <QAudioDevice>
#include <QMediaDevices>

#include "platform/tone_synth.h"

namespace tarvik {

namespace {
constexpr int kFeedIntervalMs = 5;
// After the last tone the stream is topped up with silence for a while: an audio system that
// waits for a minimum fill before it starts would otherwise hold back a short tone, and the
// next tone of a tune finds the stream already running.
constexpr int kKeepAliveMs = 2000;
constexpr int kKeepAliveLeadMs = 20;
// Samples the stream has not taken after this much audio mean it has stopped playing.
constexpr int kMaxBacklogMs = 5000;
}  // namespace

ToneWorker::ToneWorker() {
  feeder_.setParent(this);  // so that it moves to the tone thread with the worker
  feeder_.setInterval(kFeedIntervalMs);
  connect(&feeder_, &QTimer::timeout, this, &ToneWorker::feed);
}

qsizetype ToneWorker::bytesFor(int ms) const {
  return static_cast<qsizetype>(toneSampleCount(ms, format_.sampleRate())) *
         format_.bytesPerFrame();
}

bool ToneWorker::openStream() {
  if (sink_ && stream_ && sink_->error() != QAudio::OpenError &&
      sink_->error() != QAudio::IOError && sink_->error() != QAudio::FatalError)
    return true;
  closeStream();
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  if (device.isNull()) return false;

  QAudioFormat format = device.preferredFormat();
  format.setSampleFormat(QAudioFormat::Int16);
  if (format.sampleRate() <= 0) format.setSampleRate(48000);
  if (format.channelCount() <= 0) format.setChannelCount(1);
  if (!device.isFormatSupported(format)) {
    format.setSampleRate(48000);
    format.setChannelCount(1);
    if (!device.isFormatSupported(format)) return false;
  }
  format_ = format;
  sink_ = std::make_unique<QAudioSink>(device, format_);
  stream_ = sink_->start();
  if (!stream_ || sink_->error() != QAudio::NoError) {
    closeStream();
    return false;
  }
  return true;
}

void ToneWorker::closeStream() {
  feeder_.stop();
  pending_.clear();
  stream_ = nullptr;
  if (sink_) {
    sink_->stop();
    sink_.reset();
  }
}

bool ToneWorker::play(int frequencyHz, int durationMs) {
  if (!openStream()) return false;
  if (pending_.size() > bytesFor(kMaxBacklogMs)) {
    closeStream();  // opened afresh for the next tune
    return false;
  }
  const auto mono = synthesizeTone(
      {.frequencyHz = frequencyHz, .durationMs = durationMs, .sampleRate = format_.sampleRate()});
  const int channels = format_.channelCount();
  QByteArray pcm(static_cast<qsizetype>(mono.size() * channels * sizeof(std::int16_t)),
                 Qt::Uninitialized);
  auto* out = reinterpret_cast<std::int16_t*>(pcm.data());
  for (std::int16_t sample : mono)
    for (int c = 0; c < channels; ++c) *out++ = sample;
  pending_ += pcm;
  sinceLastSound_.invalidate();
  feed();
  return true;
}

void ToneWorker::pause(int ms) {
  if (!stream_ || ms <= 0) return;
  pending_ += QByteArray(bytesFor(ms), '\0');
  sinceLastSound_.invalidate();
  feed();
}

void ToneWorker::feed() {
  if (!sink_ || !stream_) return;
  const qsizetype frameBytes = format_.bytesPerFrame();
  qsizetype room = sink_->bytesFree();
  room -= room % frameBytes;  // whole frames only

  if (pending_.isEmpty()) {
    if (!sinceLastSound_.isValid()) sinceLastSound_.start();
    if (sinceLastSound_.elapsed() > kKeepAliveMs) {
      feeder_.stop();  // the stream runs dry and idles until the next tone
      return;
    }
    const qsizetype queued = sink_->bufferSize() - sink_->bytesFree();
    if (queued < bytesFor(kKeepAliveLeadMs))
      pending_ = QByteArray(bytesFor(kFeedIntervalMs * 2), '\0');
  }

  const qsizetype chunk = std::min(room, pending_.size());
  if (chunk > 0) {
    const qint64 written = stream_->write(pending_.constData(), chunk);
    if (written > 0) pending_.remove(0, written);
  }
  if (!feeder_.isActive()) feeder_.start();
}

}  // namespace tarvik
