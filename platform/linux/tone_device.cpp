#include "platform/linux/tone_device.h"

#include <QElapsedTimer>
#include <QMediaDevices>
#include <QMetaObject>

#include <chrono>
#include <future>
#include <thread>

#include "platform/linux/tone_worker.h"

namespace tarvik {

namespace {
// How long past its own length a tone may take before the audio system counts as stuck.
constexpr int kGraceMs = 2000;
}  // namespace

LinuxToneDevice::LinuxToneDevice() : worker_(new ToneWorker) {
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
  if (QMediaDevices::defaultAudioOutput().isNull()) return false;

  // Shared with the worker, which may still answer after the caller has given up.
  auto result = std::make_shared<std::promise<bool>>();
  std::future<bool> played = result->get_future();
  QElapsedTimer elapsed;
  elapsed.start();
  QMetaObject::invokeMethod(worker_, [worker = worker_, frequencyHz, durationMs, result] {
    worker->play(frequencyHz, durationMs, [result](bool ok) { result->set_value(ok); });
  });
  if (played.wait_for(std::chrono::milliseconds(durationMs + kGraceMs)) !=
      std::future_status::ready)
    return false;
  if (!played.get()) return false;
  // The sink reports the end when its last buffer is handed over; keep the tune's rhythm by
  // never returning before the tone's own length.
  const qint64 left = durationMs - elapsed.elapsed();
  if (left > 0) std::this_thread::sleep_for(std::chrono::milliseconds(left));
  return true;
}

void LinuxToneDevice::wait(int ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace tarvik
