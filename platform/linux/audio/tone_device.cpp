#include "platform/linux/audio/tone_device.h"

#include <QElapsedTimer>
#include <QMediaDevices>
#include <QMetaObject>

#include <chrono>
#include <future>
#include <thread>

#include "platform/linux/audio/tone_worker.h"

namespace tarvik {

namespace {
// How long the tone thread may take to accept a tone before the audio system counts as stuck.
constexpr int kAnswerMs = 2000;
}  // namespace

LinuxToneDevice::LinuxToneDevice(HasOutput hasOutput)
    : hasOutput_(hasOutput ? std::move(hasOutput) : HasOutput([] {
        return !QMediaDevices::defaultAudioOutput().isNull();
      })),
      worker_(new ToneWorker) {
  worker_->moveToThread(&thread_);
  QObject::connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
  thread_.setObjectName("tones");
  thread_.start();
}

LinuxToneDevice::~LinuxToneDevice() {
  thread_.quit();
  thread_.wait();
}

bool LinuxToneDevice::tone(int frequencyHz, int durationMs) {
  if (frequencyHz < 20 || frequencyHz > 20000) return false;
  if (durationMs <= 0) return true;
  if (!hasOutput_()) return false;
  // While a tone is still unanswered the tone thread hangs in the audio system: fail at once
  // rather than hold the user interface again, and queue nothing that would play in a burst
  // once it recovers.
  if (unanswered_.valid()) {
    if (unanswered_.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
      return false;
    unanswered_ = {};
  }

  // Shared with the worker, which may still answer after the caller has given up on it.
  auto result = std::make_shared<std::promise<bool>>();
  std::future<bool> queued = result->get_future();
  QElapsedTimer elapsed;
  elapsed.start();
  QMetaObject::invokeMethod(worker_, [worker = worker_, frequencyHz, durationMs, result] {
    result->set_value(worker->play(frequencyHz, durationMs));
  });
  if (queued.wait_for(std::chrono::milliseconds(kAnswerMs)) != std::future_status::ready) {
    unanswered_ = std::move(queued);
    return false;
  }
  if (!queued.get()) return false;
  // The samples are in the stream; the caller is held for the tone's length, as a speaker
  // beep holds it, so the program's timing around a tune stays what it was.
  const qint64 left = durationMs - elapsed.elapsed();
  if (left > 0) std::this_thread::sleep_for(std::chrono::milliseconds(left));
  return true;
}

QObject* LinuxToneDevice::worker() const {
  return worker_;
}

void LinuxToneDevice::wait(int ms) {
  if (ms <= 0) return;
  // The pause goes into the stream as silence too: the audio system may still be playing
  // the previous tone from its buffer, and the next tone must not follow it without a gap.
  QMetaObject::invokeMethod(worker_, [worker = worker_, ms] { worker->pause(ms); });
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace tarvik
