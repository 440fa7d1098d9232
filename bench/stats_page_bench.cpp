// What the statistics page reads for one entry of a statistics file of about 1 MB: the grid
// (Show statistics) and the weekly graph (Show graph), once with the file just rewritten, as
// after a booking, and once with the file unchanged since the last look.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/bench_dir.h"
#include "stats/statistics_sheet.h"
#include "stats/weekly_graph.h"

namespace tarvik {
namespace {

using bench::BenchDir;

std::string entryName(int i) {
  return "Provider " + std::to_string(i);
}

// Every counter, the undo data and the weekly record of as many entries as make 1 MB, plus a
// balance file with their accounts. Returns the number of entries.
int writeMegabyteOfStatistics(const ProgramFiles& files) {
  std::ofstream out(files.statistics(), std::ios::binary | std::ios::trunc);
  std::ofstream accounts(files.accounts(), std::ios::binary | std::ios::trunc);
  const char* counts[] = {"TimeTC",  "TimePC",  "TimeTD",  "TimePD",  "TimeTW",
                          "TimePW",  "TimeTM",  "TimePM",  "TimeTT",  "CountTD",
                          "CountPD", "CountTW", "CountPW", "CountTM", "CountPM",
                          "CountTT", "Undo",    "UndoX",   "UndoWD",  "UndoTim"};
  const char* money[] = {"MoneyTC", "MoneyPC", "MoneyTD", "MoneyPD", "MoneyTW",
                         "MoneyPW", "MoneyTM", "MoneyPM", "MoneyTT", "UndoLos"};
  int entries = 0;
  while (out.tellp() < (1 << 20)) {
    const int i = entries++;
    out << "[" << entryName(i) << "]\r\n";
    for (const char* key : counts) out << key << "=" << 1000 + i << "\r\n";
    for (const char* key : money) out << key << "=20,8333339691162\r\n";
    for (int d = 0; d < 7; ++d)
      out << "Gr" << d << "t=" << 600 + i << "\r\nGr" << d << "f=12\r\nGr" << d << "c=2\r\n";
    accounts << "[" << entryName(i) << "]\r\nAccount=" << 12.5 + i << "\r\n";
  }
  return entries;
}

// Files written long enough ago for the file cache to trust its parsed copy.
void age(const ProgramFiles& files) {
  const auto past = std::filesystem::file_time_type::clock::now() - std::chrono::minutes(1);
  std::filesystem::last_write_time(files.statistics(), past);
  std::filesystem::last_write_time(files.accounts(), past);
}

// Times `look` at one entry of a megabyte of statistics. Arg 1: the files are rewritten
// before every look (a booking just happened); arg 0: not.
template <typename Look>
void timeLooks(benchmark::State& state, BenchDir& dir, Look look) {
  const int entries = writeMegabyteOfStatistics(dir.files);
  age(dir.files);
  const bool fresh = state.range(0) != 0;
  const std::string entry = entryName(entries / 2);
  for (auto _ : state) {
    if (fresh) {
      state.PauseTiming();
      writeMegabyteOfStatistics(dir.files);
      state.ResumeTiming();
    }
    benchmark::DoNotOptimize(look(entry));
  }
}

void BM_ShowStatistics(benchmark::State& state) {
  BenchDir dir;
  timeLooks(state, dir, [&](const std::string& entry) {
    return readStatisticsSheet(dir.files, entry, NumberFormat{','});
  });
  state.counters["statistics_bytes"] =
      static_cast<double>(std::filesystem::file_size(dir.files.statistics()));
}
BENCHMARK(BM_ShowStatistics)
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_ShowGraph(benchmark::State& state) {
  BenchDir dir;
  timeLooks(state, dir, [&](const std::string& entry) {
    return readWeeklyPositions(dir.files, entry, graphAxis(0), 60);
  });
}
BENCHMARK(BM_ShowGraph)
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace tarvik

BENCHMARK_MAIN();
