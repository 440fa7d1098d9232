// Cost of reading a skin: done at start-up, on every mode switch and whenever the settings
// dialog applies a new skin.
#include <benchmark/benchmark.h>

#include "status/builtin_skins.h"
#include "status/skin_format.h"
#include "status/window_geometry.h"

namespace {

void BM_ParseBuiltinSkinBothModes(benchmark::State& state) {
  for (auto _ : state) {
    auto keys = tarvik::builtinSkinKeys(tarvik::BuiltinSkin::Advanced);
    benchmark::DoNotOptimize(tarvik::readSkinHeader(*keys));
    benchmark::DoNotOptimize(tarvik::readSkinLayout(*keys, tarvik::SkinMode::Compact));
    benchmark::DoNotOptimize(tarvik::readSkinLayout(*keys, tarvik::SkinMode::Full));
  }
}
BENCHMARK(BM_ParseBuiltinSkinBothModes);

// One drag step runs every 10 ms while the window is dragged.
void BM_DragStep(benchmark::State& state) {
  int x = 0;
  for (auto _ : state) {
    x = (x + 7) % 1024;
    benchmark::DoNotOptimize(
        tarvik::dragPosition({x, 300}, {5, 5}, 99, 26, tarvik::ScreenArea{0, 0, 1024, 768}, true));
  }
}
BENCHMARK(BM_DragStep);

}  // namespace

BENCHMARK_MAIN();
