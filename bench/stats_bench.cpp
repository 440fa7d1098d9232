// Start-up rollover of many entries and the tariff lookup of one meter tick against a large
// settings file.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_dir.h"
#include "config/ini_file.h"
#include "config/keys.h"
#include "platform/event_log.h"
#include "platform/virtual_clock.h"
#include "stats/statistics.h"
#include "tariff/day_plan_store.h"
#include "tariff/tariff.h"

namespace tarvik {
namespace {

using bench::BenchDir;

std::string entryName(int i) {
  return "Provider " + std::to_string(i);
}

// A statistics file with every counter of `count` entries filled in.
void writeBusyStatistics(const ProgramFiles& files, int count) {
  std::ofstream out(files.statistics(), std::ios::binary | std::ios::trunc);
  const char* keys[] = {"TimeTC",  "TimePC",  "TimeTD",  "TimePD",  "TimeTW",  "TimePW",  "TimeTM",
                        "TimePM",  "TimeTT",  "CountTD", "CountPD", "CountTW", "CountPW", "CountTM",
                        "CountPM", "CountTT", "Undo",    "UndoX",   "UndoWD",  "UndoTim"};
  const char* money[] = {"MoneyTC", "MoneyPC", "MoneyTD", "MoneyPD", "MoneyTW",
                         "MoneyPW", "MoneyTM", "MoneyPM", "MoneyTT", "UndoLos"};
  for (int i = 0; i < count; ++i) {
    out << "[" << entryName(i) << "]\r\n";
    for (const char* key : keys) out << key << "=" << 1000 + i << "\r\n";
    for (const char* key : money) out << key << "=20,8333339691162\r\n";
    for (int d = 0; d < 7; ++d) {
      out << "Gr" << d << "t=600\r\nGr" << d << "f=12\r\nGr" << d << "c=2\r\n";
    }
  }
}

// Arg 0: the first start of a new day (day spans only); arg 1: the first start of a new
// year, when day, week and month roll for every entry.
void BM_RollOverThousandEntries(benchmark::State& state) {
  const bool newYear = state.range(0) != 0;
  BenchDir dir;
  VirtualClock clock;
  EventLog log(dir.files.eventLog(), clock);
  Statistics stats(dir.files, NumberFormat{','}, log);
  std::vector<std::string> entries{std::string(kDefaultEntry)};
  for (int i = 0; i < 1000; ++i) entries.push_back(entryName(i));
  for (auto _ : state) {
    state.PauseTiming();
    writeBusyStatistics(dir.files, 1000);
    {
      IniFile config(dir.files.config());
      IniEdit markers(config);
      const auto section = sections::update();
      writeKey(markers, section, update_keys::kDay, newYear ? "06.01" : "05.01");
      writeKey(markers, section, update_keys::kWeek, "01");
      writeKey(markers, section, update_keys::kMonth, "01");
      writeKey(markers, section, update_keys::kYear, newYear ? "2025" : "2026");
      markers.commit();
    }
    state.ResumeTiming();
    RolloverResult result = stats.rollOver(entries, makeLocalTime(2026, 1, 6));
    benchmark::DoNotOptimize(result);
  }
  state.counters["statistics_bytes"] =
      static_cast<double>(std::filesystem::file_size(dir.files.statistics()));
}
BENCHMARK(BM_RollOverThousandEntries)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

// A settings file of about 1 MB: many entries with their settings and full weekly tariffs
// of 24 periods, written the way the tariff editor stores them.
void writeLargeConfig(const ProgramFiles& files) {
  std::ofstream out(files.config(), std::ios::binary | std::ios::trunc);
  char line[128];
  for (int i = 0; out.tellp() < (1 << 20); ++i) {
    out << "[" << (i == 0 ? std::string(kDefaultEntry) : entryName(i)) << "]\r\nDone=1\r\n";
    for (int k = 0; k < 20; ++k) out << "ExeLine" << k << "=/usr/bin/some-program --flag\r\n";
    for (int d = 0; d < 7; ++d) {
      out << "Tar" << d << "=24\r\n";
      for (int h = 0; h < 24; ++h) {
        std::snprintf(line, sizeof line,
                      "Tar%dx%dAH=%02d\r\nTar%dx%dAM=00\r\nTar%dx%dZH=%02d\r\nTar%dx%dZM=00\r\n"
                      "Tar%dx%dCost=%05d\r\nTar%dx%dName=Hour %d\r\n",
                      d, h, h, d, h, d, h, h + 1, d, h, d, h, 100 + h, d, h, h);
        out << line;
      }
    }
  }
}

void BM_TariffLookupLargeConfig(benchmark::State& state) {
  BenchDir dir;
  writeLargeConfig(dir.files);
  // Arg: the hour looked up. Hour 23 is in the last of the 24 periods (found first by the
  // backward scan); hour 0 in the first, the worst case.
  const int hour = static_cast<int>(state.range(0));
  IniFile config(dir.files.config());
  // Written long enough ago for the file cache to trust its copy, as during a connection.
  std::filesystem::last_write_time(
      dir.files.config(), std::filesystem::file_time_type::clock::now() - std::chrono::minutes(1));
  CurrentTariff current;
  int minute = 0;
  for (auto _ : state) {
    int found = lookup(config, entryName(5), hour, minute, 3, current);
    benchmark::DoNotOptimize(found);
    minute = (minute + 1) % 60;
  }
  state.counters["config_bytes"] =
      static_cast<double>(std::filesystem::file_size(dir.files.config()));
}
BENCHMARK(BM_TariffLookupLargeConfig)
    ->Arg(23)
    ->Arg(0)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The rule alone on a plan already in memory (what a tick costs when the plan is kept until
// the file changes).
void BM_FindPeriodTwentyFourPeriods(benchmark::State& state) {
  DayPlan plan;
  for (int h = 0; h < 24; ++h) {
    plan.push_back(TariffPeriod{h, 0, h + 1, 0, 100 + h, "Hour " + std::to_string(h)});
  }
  CurrentTariff current;
  int minute = 0;
  for (auto _ : state) {
    int found = findPeriod(plan, 23, minute, current);
    benchmark::DoNotOptimize(found);
    minute = (minute + 1) % 60;
  }
}
BENCHMARK(BM_FindPeriodTwentyFourPeriods)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace tarvik

BENCHMARK_MAIN();
