#include "app/qt/qt_clock.h"

#include <sys/timerfd.h>
#include <unistd.h>

#include <QDateTime>
#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <ctime>
#include <utility>
#include <vector>

namespace tarvik {
namespace {

constexpr std::int64_t kNsPerMs = 1'000'000;
// A timer started by the handler of another timer's event counts from that event when the
// handler started it this soon after the event was due.
constexpr std::int64_t kSameEventNs = 50 * kNsPerMs;

std::int64_t monotonicNs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

}  // namespace

class ScheduledTimer;

// All timers of the program on one kernel timer (timerfd), read in the event loop. Timers due
// at the same moment fire in one wake-up, and a timer started by another timer's handler
// counts from that timer's event, so the meter tick, the crash journal and the poll, started
// together, wake the program together every few seconds instead of one by one. (Qt's own
// precise timers also wake a few milliseconds early once per event.)
class QtTimerFactory::Scheduler {
 public:
  Scheduler() : fd_(::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC)) {
    if (fd_ < 0) return;
    notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { dispatch(); });
  }
  ~Scheduler() {
    notifier_.reset();
    if (fd_ >= 0) ::close(fd_);
  }
  Scheduler(const Scheduler&) = delete;
  Scheduler& operator=(const Scheduler&) = delete;

  std::uint64_t add(ScheduledTimer* timer) {
    timers_.push_back(timer);
    return ++serials_;
  }
  void remove(ScheduledTimer* timer);
  void restart(ScheduledTimer& timer);
  void pace(ScheduledTimer& follower, const ScheduledTimer& leader);

 private:
  void dispatch();
  void rearm();
  ScheduledTimer* find(std::uint64_t serial) const;

  int fd_ = -1;
  std::unique_ptr<QSocketNotifier> notifier_;
  std::vector<ScheduledTimer*> timers_;
  std::uint64_t serials_ = 0;
  std::int64_t armedAt_ = -1;
  std::int64_t eventDue_ = -1;  // when the event being handled was due; -1 outside handlers
};

class ScheduledTimer final : public TimerBase {
 public:
  ScheduledTimer(std::string name, std::shared_ptr<QtTimerFactory::Scheduler> scheduler)
      : TimerBase(std::move(name)), scheduler_(std::move(scheduler)) {
    serial = scheduler_->add(this);
  }
  ~ScheduledTimer() override { scheduler_->remove(this); }

  bool live() const { return armed(); }
  void fire() { fireHandler(); }

  std::uint64_t serial = 0;
  std::uint64_t starts = 0;                // counts restarts: an event due before one is not fired
  std::int64_t due = -1;                   // monotonic nanoseconds; -1: not armed
  const ScheduledTimer* leader = nullptr;  // whose wake-ups this one shares, see pace()

 private:
  void restart() override { scheduler_->restart(*this); }

  std::shared_ptr<QtTimerFactory::Scheduler> scheduler_;
};

void QtTimerFactory::Scheduler::remove(ScheduledTimer* timer) {
  std::erase(timers_, timer);
  for (ScheduledTimer* other : timers_)
    if (other->leader == timer) other->leader = nullptr;
  rearm();
}

void QtTimerFactory::Scheduler::restart(ScheduledTimer& timer) {
  ++timer.starts;
  if (!timer.live()) {
    timer.due = -1;
  } else {
    const std::int64_t now = monotonicNs();
    const bool sameEvent = eventDue_ >= 0 && now - eventDue_ < kSameEventNs;
    timer.due = (sameEvent ? eventDue_ : now) + timer.interval() * kNsPerMs;
    const ScheduledTimer* leader = timer.leader;
    if (leader && leader->live() && leader->due > now && leader->interval() == timer.interval())
      timer.due = leader->due;
    // Those that share this timer's wake-ups follow its new rhythm.
    for (ScheduledTimer* follower : timers_)
      if (follower->leader == &timer && follower->live() &&
          follower->interval() == timer.interval())
        follower->due = timer.due;
  }
  rearm();
}

void QtTimerFactory::Scheduler::pace(ScheduledTimer& follower, const ScheduledTimer& leader) {
  follower.leader = &leader;
  if (follower.live()) restart(follower);
}

ScheduledTimer* QtTimerFactory::Scheduler::find(std::uint64_t serial) const {
  for (ScheduledTimer* timer : timers_)
    if (timer->serial == serial) return timer;
  return nullptr;
}

void QtTimerFactory::Scheduler::rearm() {
  if (fd_ < 0) return;
  std::int64_t next = -1;
  for (const ScheduledTimer* timer : timers_)
    if (timer->due >= 0 && (next < 0 || timer->due < next)) next = timer->due;
  if (next == armedAt_) return;
  armedAt_ = next;
  itimerspec when{};  // all zero: disarmed
  if (next >= 0) {
    when.it_value.tv_sec = next / 1'000'000'000;
    when.it_value.tv_nsec = next % 1'000'000'000;
  }
  ::timerfd_settime(fd_, TFD_TIMER_ABSTIME, &when, nullptr);
}

void QtTimerFactory::Scheduler::dispatch() {
  std::uint64_t expirations = 0;
  while (::read(fd_, &expirations, sizeof expirations) < 0 && errno == EINTR) {
  }
  armedAt_ = -1;
  const std::int64_t now = monotonicNs();
  struct Due {
    std::uint64_t serial;
    std::uint64_t starts;
    std::int64_t at;
  };
  std::vector<Due> due;
  for (ScheduledTimer* timer : timers_) {
    if (timer->due < 0 || timer->due > now) continue;
    due.push_back({timer->serial, timer->starts, timer->due});
    // The next event keeps the rhythm; a timer that fell a whole interval behind starts anew.
    const std::int64_t interval = timer->interval() * kNsPerMs;
    timer->due += interval;
    if (timer->due <= now) timer->due = now + interval;
  }
  std::sort(due.begin(), due.end(), [](const Due& a, const Due& b) {
    return a.at != b.at ? a.at < b.at : a.serial < b.serial;
  });
  // Armed before any handler runs: a handler may run a modal loop, where the others go on.
  rearm();
  for (const Due& event : due) {
    ScheduledTimer* timer = find(event.serial);
    // Destroyed, stopped or restarted by an earlier handler: this event is gone.
    if (!timer || timer->starts != event.starts || !timer->live()) continue;
    const std::int64_t outer = std::exchange(eventDue_, event.at);
    timer->fire();  // may destroy the timer
    eventDue_ = outer;
  }
}

QtTimerFactory::QtTimerFactory() : scheduler_(std::make_shared<Scheduler>()) {}
QtTimerFactory::~QtTimerFactory() = default;

std::unique_ptr<Timer> QtTimerFactory::createTimer(std::string name) {
  return std::make_unique<ScheduledTimer>(std::move(name), scheduler_);
}

void QtTimerFactory::pace(Timer& follower, const Timer& leader) {
  auto* f = dynamic_cast<ScheduledTimer*>(&follower);
  const auto* l = dynamic_cast<const ScheduledTimer*>(&leader);
  if (f && l && f != l) scheduler_->pace(*f, *l);
}

QtClock::QtClock() {
  elapsed_.start();
}

LocalTime QtClock::now() const {
  const QDateTime t = QDateTime::currentDateTime();
  const QDate d = t.date();
  const QTime c = t.time();
  return makeLocalTime(d.year(), d.month(), d.day(), c.hour(), c.minute(), c.second(), c.msec());
}

std::int64_t QtClock::ticks() const {
  return elapsed_.elapsed();
}

}  // namespace tarvik
