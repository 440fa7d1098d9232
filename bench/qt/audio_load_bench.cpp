// What the first tone of a run costs now that the audio output is loaded on demand: loading
// the audio module (Qt Multimedia and the sound server's libraries) and starting its tone
// thread, against a tone once that is done. Tones of no length are used, so only the loading
// is timed, not the speakers. A process loads the module once, so the first figure comes from
// one iteration; run the program several times for its spread.
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>

#include <memory>

#include "bench/qt/offscreen_bench_main.h"
#include "platform/linux/lazy_audio.h"

namespace tarvik {
namespace {

std::unique_ptr<LazyAudio> audio;

void BM_FirstToneLoadsTheAudioModule(benchmark::State& state) {
  for (auto _ : state) {
    audio = std::make_unique<LazyAudio>();
    QElapsedTimer elapsed;
    elapsed.start();
    const bool played = audio->tone().tone(1000, 0);
    state.SetIterationTime(static_cast<double>(elapsed.nsecsElapsed()) / 1e9);
    if (!played || !audio->loaded()) state.SkipWithError("the audio module did not load");
  }
}
BENCHMARK(BM_FirstToneLoadsTheAudioModule)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

void BM_ToneOnceLoaded(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(audio->tone().tone(1000, 0));
}
BENCHMARK(BM_ToneOnceLoaded);

}  // namespace
}  // namespace tarvik

int main(int argc, char** argv) {
  return tarvik::runOffscreenBenchmarks(argc, argv, [] { tarvik::audio.reset(); });
}
