#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QtGlobal>
#include <functional>

namespace tarvik {

// The Qt benchmarks run their widgets on the offscreen platform unless the caller chose one;
// `beforeQuit` releases what must go while the application still lives.
inline int runOffscreenBenchmarks(int argc, char** argv,
                                  const std::function<void()>& beforeQuit = {}) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (beforeQuit) beforeQuit();
  return 0;
}

}  // namespace tarvik
