// tarvik-report on a statistics file of 160,000 entries (about 4 MB): the time of a whole
// report in each format, per entry, and the peak memory, which must not grow with the number
// of entries. A program of its own, so that no other benchmark's peak is counted.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <ostream>
#include <streambuf>
#include <string>

#include "bench/bench_dir.h"
#include "tools/tarvik-report/report_data.h"
#include "tools/tarvik-report/report_output.h"

namespace {

using namespace tarvik;

double peakMegabytes() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Counts what is written and keeps nothing, like a pipe to another program.
class CountingBuffer : public std::streambuf {
 public:
  std::size_t count = 0;

 protected:
  int overflow(int c) override {
    ++count;
    return c;
  }
  std::streamsize xsputn(const char*, std::streamsize n) override {
    count += static_cast<std::size_t>(n);
    return n;
  }
};

void writeStatistics(const std::filesystem::path& file, int entries) {
  std::ofstream out(file, std::ios::binary);
  out << "[Olm:TK]\r\nBooked=7\r\n";
  for (int i = 0; i < entries; ++i) out << "[Entry " << i << "]\r\nTimeTC=" << i % 600 << "\r\n";
}

double secondsOf(const std::function<void()>& run) {
  const auto start = std::chrono::steady_clock::now();
  run();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_ReportOf160000Entries(benchmark::State& state) {
  const auto format = static_cast<report::Format>(state.range(0));
  bench::BenchDir dir;
  writeStatistics(dir.files.statistics(), 160000);
  const double fileMb =
      static_cast<double>(std::filesystem::file_size(dir.files.statistics())) / (1 << 20);
  double reportSeconds = 0;
  std::size_t written = 0;
  for (auto _ : state) {
    CountingBuffer sink;
    std::ostream out(&sink);
    reportSeconds = secondsOf([&] {
      report::ReportWriter writer(out, format, NumberFormat{','}, false);
      const report::Report rest =
          report::readReport(dir.files.dir, std::nullopt, false,
                             [&](const report::EntryReport& e) { writer.entry(e); });
      writer.finish(rest);
    });
    written = sink.count;
  }
  state.counters["file_MB"] = fileMb;
  state.counters["output_MB"] = static_cast<double>(written) / (1 << 20);
  state.counters["us_per_entry"] = reportSeconds * 1e6 / 160000;
  state.counters["peak_MB"] = peakMegabytes();
}
BENCHMARK(BM_ReportOf160000Entries)
    ->Arg(static_cast<int>(report::Format::Text))
    ->Arg(static_cast<int>(report::Format::Csv))
    ->Arg(static_cast<int>(report::Format::Json))
    ->Unit(benchmark::kSecond)
    ->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
