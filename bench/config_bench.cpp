// Speed of the configuration layer: cached reads of an unchanged file against parsing it
// for every read, writes that reach the disk (single keys and batches), and the reads and
// the large batch of a statistics rollover.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/bench_dir.h"
#include "config/ini_file.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

using tarvik::bench::BenchDir;

// A settings file of about `bytes` bytes: many entry sections of typical keys.
std::string makeIni(std::size_t bytes) {
  std::string text = "[Olm:TK]\r\nX=99\r\nY=56\r\nPause=5000\r\n";
  for (int section = 0; text.size() < bytes; ++section) {
    text += "[Entry " + std::to_string(section) + "]\r\nDone=1\r\n";
    for (int key = 0; key < 40 && text.size() < bytes; ++key) {
      text += "Key" + std::to_string(key) + "=" + std::to_string(section * 1000 + key) + "\r\n";
    }
  }
  return text;
}

void writeFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// Times every iteration on its own and reports the median in microseconds.
template <typename Body>
void runTimed(benchmark::State& state, Body body) {
  std::vector<double> samples;
  for (auto _ : state) {
    const auto start = Clock::now();
    body();
    samples.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  std::nth_element(samples.begin(), samples.begin() + samples.size() / 2, samples.end());
  state.counters["median_us"] = samples[samples.size() / 2];
}

void BM_ReadKeyUnchanged1MB(benchmark::State& state) {
  BenchDir dir;
  const fs::path path = dir.file("TarvikC.Kfg");
  writeFile(path, makeIni(1 << 20));
  // Let the file's times fall behind the coarse file-system clock, as any settled file has.
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  const tarvik::IniFile ini(path);
  benchmark::DoNotOptimize(ini.readString("Entry 100", "Key7"));
  runTimed(state, [&] { benchmark::DoNotOptimize(ini.readString("Entry 100", "Key7")); });
}
BENCHMARK(BM_ReadKeyUnchanged1MB);

void BM_ReadKeyParsingEveryTime1MB(benchmark::State& state) {
  BenchDir dir;
  const fs::path path = dir.file("TarvikC.Kfg");
  writeFile(path, makeIni(1 << 20));
  runTimed(state, [&] {
    const tarvik::IniDocument doc(readFile(path));
    benchmark::DoNotOptimize(doc.readString("Entry 100", "Key7"));
  });
}
BENCHMARK(BM_ReadKeyParsingEveryTime1MB)->Unit(benchmark::kMicrosecond);

void BM_WriteKeyFlushed100KB(benchmark::State& state) {
  BenchDir dir;
  const fs::path path = dir.file("TarvikC.Kfg");
  writeFile(path, makeIni(100 << 10));
  tarvik::IniFile ini(path);
  int value = 0;
  runTimed(state, [&] { ini.writeInt("Entry 10", "Key3", ++value); });
}
BENCHMARK(BM_WriteKeyFlushed100KB)->Unit(benchmark::kMicrosecond);

void BM_WriteBatchOf25Flushed100KB(benchmark::State& state) {
  BenchDir dir;
  const fs::path path = dir.file("TarvikC.Kfg");
  writeFile(path, makeIni(100 << 10));
  const tarvik::IniFile ini(path);
  int value = 0;
  runTimed(state, [&] {
    tarvik::IniEdit edit(ini);
    ++value;
    for (int key = 0; key < 25; ++key)
      edit.writeInt("Entry 10", "Key" + std::to_string(key), value);
    edit.commit();
  });
}
BENCHMARK(BM_WriteBatchOf25Flushed100KB)->Unit(benchmark::kMicrosecond);

// The shape of a yearly rollover: about 20,000 keys changed and 1,000 added over a 1 MB
// file, as one batch.
void BM_BatchOf21000Changes1MB(benchmark::State& state) {
  BenchDir dir;
  const fs::path path = dir.file("TarvikS.Kfg");
  const std::string start = makeIni(1 << 20);
  const tarvik::IniFile ini(path);
  int value = 0;
  for (auto _ : state) {
    state.PauseTiming();
    writeFile(path, start);
    state.ResumeTiming();
    tarvik::IniEdit edit(ini);
    ++value;
    for (int section = 0; section < 1000; ++section) {
      const std::string name = "Entry " + std::to_string(section);
      for (int key = 0; key < 20; ++key) edit.writeInt(name, "Key" + std::to_string(key), value);
      edit.writeInt(name, "Added", value);
    }
    edit.commit();
  }
}
BENCHMARK(BM_BatchOf21000Changes1MB)->Unit(benchmark::kMillisecond)->Iterations(5);

// The reads of a rollover: every entry's counters read from a file that was written a
// moment ago, the way the statistics are read right after start-up changed them.
void BM_ReadThousandEntriesRightAfterWrite1MB(benchmark::State& state) {
  BenchDir dir;
  const fs::path path = dir.file("TarvikS.Kfg");
  const std::string start = makeIni(1 << 20);
  const tarvik::IniFile ini(path);
  for (auto _ : state) {
    state.PauseTiming();
    writeFile(path, start);
    state.ResumeTiming();
    const tarvik::IniEdit edit(ini);
    for (int section = 0; section < 1000; ++section) {
      const std::string name = "Entry " + std::to_string(section);
      for (int key = 0; key < 3; ++key) {
        benchmark::DoNotOptimize(edit.readString(name, "Key" + std::to_string(key)));
      }
    }
  }
}
BENCHMARK(BM_ReadThousandEntriesRightAfterWrite1MB)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
