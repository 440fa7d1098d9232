// A kill at every step the real writers take, not a sample of them: a child process runs the
// program and ends itself at its Nth change to a file (a replacement, a log line, a removal);
// the parent starts the program again over what was left and checks that every connection is
// booked once, with at most 5 s of it lost, whatever N was.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <functional>

#include "app/program_fixture.h"
#include "config/write_step.h"

namespace tarvik {
namespace {

// The child's state; a forked process has its own copy.
int stepsLeft = 0;
int reportFd = -1;
Monitor* metered = nullptr;

int meteredSoFar = 0;

// Reports the seconds metered so far (what a kill loses is measured against them; the meter
// starts again from 0 once the connection is closed) and dies.
void killHere() {
  if (metered) meteredSoFar = std::max(meteredSoFar, metered->meter().meteredSeconds());
  if (--stepsLeft > 0) return;
  (void)!::write(reportFd, &meteredSoFar, sizeof meteredSoFar);
  ::_exit(99);
}

struct Kill {
  bool finished = false;  // the run ended before step N
  int meteredAtKill = 0;
};

// Runs `run` in a child that dies at write step `step`.
Kill runUntilStep(int step, const std::function<void()>& run) {
  int report[2];
  if (::pipe(report) != 0) throw std::runtime_error("pipe");
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(report[0]);
    reportFd = report[1];
    stepsLeft = step;
    setWriteStepHook(killHere);
    run();
    ::_exit(0);
  }
  ::close(report[1]);
  Kill kill;
  if (::read(report[0], &kill.meteredAtKill, sizeof kill.meteredAtKill) != sizeof(int))
    kill.finished = true;
  ::close(report[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status)) << "step " << step;
  EXPECT_EQ(WEXITSTATUS(status), kill.finished ? 0 : 99) << "step " << step;
  return kill;
}

int occurrences(const std::string& text, const std::string& part) {
  int n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

struct KillSteps : ::testing::Test {
  // A folder of the program's files as SetUp of the wiring tests leaves it.
  static void prepare(const ProgramDir& dir) {
    dir.writeConfig("[Default]\nFreeTime=0\n" + MonitorRig::uniformTariff(3600, "Day"));
    dir.writeAccounts("[Default]\nAccount=100\n");
  }
  // The next start over what the kill left: it books whatever is left to book.
  static void restart(const ProgramDir& dir) {
    VirtualClock clock{makeLocalTime(2026, 12, 7, 13, 0, 0)};
    FakeRas ras;
    Program next(dir, clock, ras);
    next.user.recoveryAnswers = {RecoveryAnswer::Book};
    next.start();
  }
  static IniFile stats(const ProgramDir& dir) { return IniFile(dir.files().statistics()); }
  static std::string log(const ProgramDir& dir) {
    return ProgramDir::readText(dir.files().eventLog());
  }
  static void expectNothingLeft(const ProgramDir& dir, int step) {
    for (const auto& file : {dir.files().journalSeq(), dir.files().journalPro(),
                             dir.files().journalTmp(), dir.files().keptBookings()})
      EXPECT_FALSE(std::filesystem::exists(file)) << file << " after a kill at step " << step;
  }
};

// One connection metered for 19 s (one hundredth a second from a balance of 100), its
// journal written every 5 s, then its close-out: killed at each step of both.
TEST_F(KillSteps, AConnectionIsBookedOnceAndLosesAtMostFiveSecondsWhereverItIsKilled) {
  int steps = 0;
  for (int step = 1;; ++step) {
    ProgramDir dir;
    prepare(dir);
    const Kill kill = runUntilStep(step, [&] {
      VirtualClock clock{makeLocalTime(2026, 12, 7, 12, 0, 0)};
      FakeRas ras;
      Program p(dir, clock, ras);
      p.start();
      metered = p.monitor;
      ras.dial("Home", kRasConnected);
      clock.advanceTo(makeLocalTime(2026, 12, 7, 12, 0, 20));
      ras.drop();
      clock.advanceTo(makeLocalTime(2026, 12, 7, 12, 0, 30));
    });
    if (kill.finished) break;
    ++steps;
    restart(dir);
    restart(dir);  // and once more: nothing is booked a second time
    const int booked = stats(dir).readInt("Default", "TimeTT", 0);
    const int count = stats(dir).readInt("Default", "CountTT", 0);
    EXPECT_EQ(count, booked > 0 ? 1 : 0) << "step " << step;
    EXPECT_LE(booked, kill.meteredAtKill) << "step " << step;
    EXPECT_LE(kill.meteredAtKill - booked, 5) << "step " << step;
    const double balance =
        parseDecimal(IniFile(dir.files().accounts()).readString("Default", "Account", ""))
            .value_or(-1);
    EXPECT_NEAR(balance, 100 - booked * 0.01, 1e-4) << "step " << step;
    EXPECT_LE(occurrences(log(dir), " Time spent online: "), 1) << "step " << step;
    expectNothingLeft(dir, step);
  }
  // The journal levels at 5, 5.555, 10, 11.11 and 15 s and the whole close-out.
  EXPECT_GE(steps, 20);
}

// Three kept bookings booked at a start: killed at each step of that pass.
TEST_F(KillSteps, KeptBookingsAreEachBookedOnceWhereverTheirPassIsKilled) {
  const auto kept = [](int id, int seconds, const char* balance) {
    return "[Booking " + std::to_string(id) + "]\nTime=07.12.2026 11.00.00\nEntry=Default\n" +
           "Losses=" + std::to_string(seconds) + "\nAccount=" + balance +
           "\nDuration=" + std::to_string(seconds) +
           "\nWeekDay=1\nAccID=1\nBooking=started\nBookingId=" + std::to_string(id) +
           "\nLineOpen=0\n";
  };
  int steps = 0;
  for (int step = 1;; ++step) {
    ProgramDir dir;
    prepare(dir);
    dir.writeStatistics("[Default]\nCountTT=0\n");
    ProgramDir::writeText(dir.files().keptBookings(),
                          kept(1, 10, "99,9") + kept(2, 20, "99,7") + kept(3, 30, "99,4"));
    const Kill kill = runUntilStep(step, [&] {
      VirtualClock clock{makeLocalTime(2026, 12, 7, 12, 0, 0)};
      FakeRas ras;
      Program p(dir, clock, ras);
      p.start();
    });
    if (kill.finished) break;
    ++steps;
    restart(dir);
    restart(dir);
    EXPECT_EQ(stats(dir).readInt("Default", "CountTT", 0), 3) << "step " << step;
    EXPECT_EQ(stats(dir).readInt("Default", "TimeTT", 0), 60) << "step " << step;
    EXPECT_EQ(IniFile(dir.files().accounts()).readString("Default", "Account", ""),
              "99,4")  // the last one's balance, written from single precision
        << "step " << step;
    for (const char* summary : {" Time spent online: 00:00:10", " Time spent online: 00:00:20",
                                " Time spent online: 00:00:30"})
      EXPECT_LE(occurrences(log(dir), summary), 1) << summary << " after step " << step;
    expectNothingLeft(dir, step);
  }
  EXPECT_GE(steps, 5);
}

}  // namespace
}  // namespace tarvik
