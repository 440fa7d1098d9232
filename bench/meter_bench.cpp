// One meter tick (tariff lookup on a 24-period plan, the figures, the display texts) against a
// settings file of about 1 MB, compared with reading the file from disk for every key.
#include <benchmark/benchmark.h>

#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "app/assembly.h"
#include "config/file_watch.h"
#include "config/ini_file.h"
#include "config/keys.h"
#include "monitor/forecast.h"
#include "monitor/monitor_env.h"
#include "platform/event_log.h"
#include "platform/virtual_clock.h"
#include "tests/support/fake_platform.h"
#include "tests/support/fake_user.h"

namespace tarvik {
namespace {

std::string two(int v) {
  return (v < 10 ? "0" : "") + std::to_string(v);
}

// A day plan of 24 one-hour periods for every weekday in [Default], after ~1 MB of other
// entries' settings, so a reader that scans the file finds it last.
std::string bigSettingsFile(const std::string& defaultKeys) {
  std::string s = "[Olm:TK]\nDisplayCost=0\n";
  for (int e = 0; s.size() < 1'000'000; ++e) {
    s += "[Entry number " + std::to_string(e) + "]\nDone=1\n";
    for (int k = 0; k < 30; ++k) s += "SomeSetting" + std::to_string(k) + "=12345\n";
  }
  s += "[Default]\nFreeTime=0\n" + defaultKeys;
  for (int d = 0; d < 7; ++d) {
    const std::string t = "Tar" + std::to_string(d);
    s += t + "=24\n";
    for (int i = 0; i < 24; ++i) {
      const std::string p = t + "x" + std::to_string(i);
      s += p + "AH=" + two(i) + "\n" + p + "AM=00\n" + p + "ZH=" + two(i + 1) + "\n" + p +
           "ZM=00\n" + p + "Cost=00" + std::to_string(100 + i) + "\n" + p + "Name=Hour" +
           std::to_string(i) + "\n";
    }
  }
  return s;
}

struct Setup {
  std::filesystem::path dir;
  ProgramFiles files;
  VirtualClock clock{makeLocalTime(2026, 12, 7, 12, 30, 0)};
  std::unique_ptr<EventLog> log;
  test::FakeUser user;
  test::FakeSound sound;
  test::FakeTone tone;
  test::FakeProcess process;
  test::FakeRas ras;
  std::unique_ptr<Assembly> assembly;
  Meter* meter = nullptr;

  // `defaultKeys`: more settings of [Default].
  explicit Setup(const std::string& defaultKeys = "") {
    std::string pattern = (std::filesystem::temp_directory_path() / "meter-bench-XXXXXX").string();
    dir = ::mkdtemp(pattern.data());
    files.dir = dir;
    std::ofstream(files.config(), std::ios::binary) << bigSettingsFile(defaultKeys);
    std::ofstream(files.accounts(), std::ios::binary) << "[Default]\r\nAccount=100\r\n";
    log = std::make_unique<EventLog>(files.eventLog(), clock);
    // The program's own wiring; the clock never moves, so only the ticks below run.
    assembly = std::make_unique<Assembly>(Services{clock, clock, ras, user, user, user, tone, sound,
                                                   process, files, NumberFormat{','}, *log, ""});
    meter = &assembly->monitor.meter();
    meter->start(std::string(kDefaultEntry));
  }
  ~Setup() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
};

Setup& setup() {
  static Setup s;
  return s;
}

// A month's data limit far from reached: every tick adds the bytes used in the month to the
// booked ones and writes the tooltip's line of what is left.
Setup& limitedSetup() {
  static Setup s("LimitUse=1\nLimitSize=99999\nLimitUnit=1\nLimitSpan=2\nLimitHangUp=1\n");
  return s;
}

// The line's counters grow before every tick, so each tick writes the tooltip's volume anew
// (at run time they change once a poll, every fourth tick or so).
void runTicks(benchmark::State& state, Setup& s = setup()) {
  std::uint64_t bytes = 0;
  for (auto _ : state) {
    bytes += 1500;
    s.meter->sampleTraffic(1, TrafficBytes{bytes, bytes / 10});
    s.meter->tick();
    s.user.fieldWrites.clear();
  }
  if (s.meter->tariffName() != "Hour12") state.SkipWithError("wrong period");
}

void BM_MeterTick(benchmark::State& state) {
  runTicks(state);
}
BENCHMARK(BM_MeterTick)->Repetitions(9)->ReportAggregatesOnly(true);

// The program watches its folder for change notices: while nothing changed, a tick makes no
// system call at all. The watch here is one that has seen no change, as between two saves.
struct QuietWatch final : FileWatch {
  std::optional<std::uint64_t> version(const std::filesystem::path&) const override { return 0; }
};

void BM_MeterTickWatched(benchmark::State& state) {
  QuietWatch watch;
  const FileWatchInstalled installed(&watch);
  runTicks(state);
}
BENCHMARK(BM_MeterTickWatched)->Repetitions(9)->ReportAggregatesOnly(true);

void BM_MeterTickWithDataLimit(benchmark::State& state) {
  QuietWatch watch;
  const FileWatchInstalled installed(&watch);
  runTicks(state, limitedSetup());
  if (limitedSetup().user.onlineHint.find("\nосталось ") == std::string::npos)
    state.SkipWithError("no data limit line");
}
BENCHMARK(BM_MeterTickWithDataLimit)->Repetitions(9)->ReportAggregatesOnly(true);

// The measure for the two above: one stat() of the settings file, what a tick without a
// watch costs on top.
void BM_StatOfTheSettingsFile(benchmark::State& state) {
  const std::filesystem::path file = setup().files.config();
  for (auto _ : state) {
    struct stat st {};
    benchmark::DoNotOptimize(::stat(file.c_str(), &st));
  }
}
BENCHMARK(BM_StatOfTheSettingsFile)->Repetitions(9)->ReportAggregatesOnly(true);

// The look ahead a tick adds once a minute of the clock: the balance's end by the meter's
// arithmetic, the day's next change and the dearer-period check over today's and tomorrow's
// 24-period plans.
struct NoHooks : MonitorHooks {
  void connectActions(std::string_view) override {}
  void disconnectSignals(std::string_view) override {}
  void startWarningFlash() override {}
  void hangUp() override {}
  void playTune(int) override {}
  void setMidnightArmed(bool) override {}
  void connectionStarting() override {}
  void closingConnection(CloseOutFigures&) override {}
  bool connectionClosed(bool) override { return true; }
  void connectionBooked(std::string_view, int) override {}
};

void BM_ForecastEveryMinute(benchmark::State& state) {
  test::FakeUser user;
  NoHooks hooks;
  Forecast forecast(user, hooks);
  forecast.restart(Forecast::Settings{true, 10, true, "ц"});
  DayPlan plan;
  for (int i = 0; i < 24; ++i)
    plan.push_back({i, 0, i + 1, 0, 100 + i, "Hour" + std::to_string(i)});
  const MeterMoney money{false, 5, 1200, 100.0f};
  std::int64_t minute = 0;
  for (auto _ : state) {
    // A new minute every time, so every call looks ahead.
    const LocalTime now = fromLocalMs(toLocalMs(makeLocalTime(2026, 12, 7)) + minute * 60'000);
    ++minute;
    benchmark::DoNotOptimize(
        forecast.update(now, money, 600, true, "Default", [&plan](int) { return plan; }));
    user.balloons.clear();
  }
}
BENCHMARK(BM_ForecastEveryMinute)->Repetitions(9)->ReportAggregatesOnly(true);

// The same keys the tick's tariff lookup reads, each looked up by reading the file from disk
// and scanning it, as a per-key profile reader would.
std::string rereadKey(const std::filesystem::path& file, std::string_view section,
                      std::string_view key) {
  std::ifstream in(file, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), {});
  const std::string header = "[" + std::string(section) + "]\n";
  std::size_t at = bytes.find(header);
  if (at == std::string::npos) return {};
  at += header.size();
  const std::string prefix = std::string(key) + "=";
  while (at < bytes.size() && bytes[at] != '[') {
    const std::size_t end = bytes.find('\n', at);
    if (bytes.compare(at, prefix.size(), prefix) == 0)
      return bytes.substr(at + prefix.size(), end - at - prefix.size());
    at = end == std::string::npos ? bytes.size() : end + 1;
  }
  return {};
}

void BM_LookupRereadingTheFileForEveryKey(benchmark::State& state) {
  Setup& s = setup();
  const std::filesystem::path file = s.files.config();
  for (auto _ : state) {
    int found = -1;
    using namespace tariff_keys;
    const int n = std::stoi(rereadKey(file, kDefaultEntry, count(1).name));
    for (int i = 0; i < n; ++i) {
      const int ah = std::stoi(rereadKey(file, kDefaultEntry, startHour(1, i).name));
      const int zh = std::stoi(rereadKey(file, kDefaultEntry, endHour(1, i).name));
      benchmark::DoNotOptimize(rereadKey(file, kDefaultEntry, startMinute(1, i).name));
      benchmark::DoNotOptimize(rereadKey(file, kDefaultEntry, endMinute(1, i).name));
      benchmark::DoNotOptimize(rereadKey(file, kDefaultEntry, cost(1, i).name));
      benchmark::DoNotOptimize(rereadKey(file, kDefaultEntry, name(1, i).name));
      if (ah <= 12 && zh > 12) found = i;
    }
    benchmark::DoNotOptimize(found);
  }
}
BENCHMARK(BM_LookupRereadingTheFileForEveryKey)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tarvik

BENCHMARK_MAIN();
