// Memory of the configuration layer on a huge file: the peak resident size while a 50 MB
// settings file is read, written one key at a time and changed in one batch, against the
// file's size. A program of its own, so that no other benchmark's peak is counted.

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "config/ini_file.h"

namespace {

namespace fs = std::filesystem;

double peakMegabytes() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// About `bytes` bytes of entry sections with short keys: the most lines, and so the most
// per-line records, a file of that size can hold in practice.
void writeHugeIni(const fs::path& path, std::size_t bytes) {
  std::ofstream out(path, std::ios::binary);
  std::size_t written = 0;
  for (int section = 0; written < bytes; ++section) {
    std::string block = "[Entry " + std::to_string(section) + "]\r\nDone=1\r\n";
    for (int key = 0; key < 40; ++key) {
      block += "Key" + std::to_string(key) + "=" + std::to_string(section * 1000 + key) + "\r\n";
    }
    out << block;
    written += block.size();
  }
}

void BM_HugeFile50MBPeakMemory(benchmark::State& state) {
  std::string pattern = (fs::temp_directory_path() / "tarvik-bench-XXXXXX").string();
  const fs::path dir = ::mkdtemp(pattern.data());
  const fs::path path = dir / "TarvikS.Kfg";
  writeHugeIni(path, std::size_t{50} << 20);
  const double fileMegabytes = static_cast<double>(fs::file_size(path)) / (1 << 20);
  const double before = peakMegabytes();
  for (auto _ : state) {
    tarvik::IniFile ini(path);
    benchmark::DoNotOptimize(ini.readString("Entry 5000", "Key7"));
    ini.writeString("Entry 5000", "Key7", "changed");
    benchmark::DoNotOptimize(ini.readString("Entry 9000", "Key8"));
    tarvik::IniEdit edit(ini);
    edit.writeString("Entry 3", "Key1", "x").writeString("Added", "Key", "1");
    edit.commit();
    benchmark::DoNotOptimize(ini.readString("Added", "Key"));
  }
  state.counters["file_MB"] = fileMegabytes;
  state.counters["peak_MB"] = peakMegabytes();
  state.counters["peak_over_file"] = (peakMegabytes() - before) / fileMegabytes;
  std::error_code ignored;
  fs::remove_all(dir, ignored);
}
BENCHMARK(BM_HugeFile50MBPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
