// The start of a program that finds thousands of bookings kept in security.que (a data file
// was read-only for a long time): they are booked in one pass, each data file and the queue
// replaced once, instead of one replacement of each per booking.
#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <string>

#include "app/assembly.h"
#include "bench/bench_dir.h"
#include "config/ini_file.h"
#include "platform/event_log.h"
#include "platform/virtual_clock.h"
#include "tests/support/fake_platform.h"
#include "tests/support/fake_user.h"

namespace tarvik {
namespace {

// `n` kept bookings of 10 s each at one hundredth a second, from a balance of 100000.
std::string queueText(int n) {
  std::string s;
  for (int id = 1; id <= n; ++id) {
    const std::string balance = std::to_string(100000 - id / 10) + "," + std::to_string(id % 10);
    s += "[Booking " + std::to_string(id) +
         "]\r\nTime=07.12.2026 11.00.00\r\nEntry=Default\r\nLosses=10\r\nAccount=" + balance +
         "\r\nDuration=10\r\nWeekDay=1\r\nAccID=1\r\nBooking=started\r\nBookingId=" +
         std::to_string(id) + "\r\nLineOpen=0\r\n";
  }
  return s;
}

void BM_KeptBookingsBookedAtStart(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string queue = queueText(n);
  for (auto _ : state) {
    state.PauseTiming();
    auto dir = std::make_unique<bench::BenchDir>();
    const ProgramFiles& files = dir->files;
    std::ofstream(files.accounts(), std::ios::binary) << "[Default]\r\nAccount=100000\r\n";
    std::ofstream(files.keptBookings(), std::ios::binary) << queue;
    VirtualClock clock{makeLocalTime(2026, 12, 7, 12, 0, 0)};
    EventLog log(files.eventLog(), clock);
    test::FakeUser user;
    test::FakeSound sound;
    test::FakeTone tone;
    test::FakeProcess process;
    test::FakeRas ras;
    state.ResumeTiming();

    // What a start-up does before it shows " StandBy.": the program's own wiring, then the
    // look for kept bookings and a crash journal.
    auto assembly =
        std::make_unique<Assembly>(Services{clock, clock, ras, user, user, user, tone, sound,
                                            process, files, NumberFormat{','}, log, ""});
    assembly->guard->journal().detectAtStart();

    state.PauseTiming();
    if (IniFile(files.statistics()).readInt("Default", "CountTT", 0) != n ||
        std::filesystem::exists(files.keptBookings()))
      state.SkipWithError("the kept bookings were not all booked");
    assembly.reset();
    dir.reset();
    state.ResumeTiming();
  }
  state.counters["bookings"] = n;
}
BENCHMARK(BM_KeptBookingsBookedAtStart)
    ->Arg(300)
    ->Arg(3000)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvik

BENCHMARK_MAIN();
