#include "platform/virtual_clock.h"

#include <algorithm>
#include <limits>

namespace tarvik {

class VirtualClock::VirtualTimer final : public TimerBase {
 public:
  VirtualTimer(VirtualClock& clock, std::string name, std::uint64_t sequence)
      : TimerBase(std::move(name)), clock_(&clock), sequence_(sequence) {}
  ~VirtualTimer() override {
    if (clock_) std::erase(clock_->timers_, this);
  }

  bool isArmed() const { return armed(); }
  std::int64_t due() const { return due_; }
  std::uint64_t sequence() const { return sequence_; }
  void detach() { clock_ = nullptr; }

  void fire() {
    due_ += interval();
    fireHandler();
  }

 private:
  void restart() override {
    if (clock_) due_ = clock_->ticks_ + interval();
  }

  VirtualClock* clock_;
  std::uint64_t sequence_;
  std::int64_t due_ = 0;
};

VirtualClock::VirtualClock(LocalTime start) : nowMs_(toLocalMs(start)) {}

VirtualClock::~VirtualClock() {
  for (VirtualTimer* t : timers_) t->detach();
}

LocalTime VirtualClock::now() const {
  return fromLocalMs(nowMs_);
}

std::int64_t VirtualClock::ticks() const {
  return ticks_;
}

std::unique_ptr<Timer> VirtualClock::createTimer(std::string name) {
  auto timer = std::make_unique<VirtualTimer>(*this, std::move(name), nextSequence_++);
  timers_.push_back(timer.get());
  return timer;
}

void VirtualClock::advance(std::int64_t ms) {
  const std::int64_t target = ticks_ + std::max<std::int64_t>(ms, 0);
  for (;;) {
    VirtualTimer* next = nullptr;
    for (VirtualTimer* t : timers_) {
      if (!t->isArmed() || t->due() > target) continue;
      if (!next || t->due() < next->due() ||
          (t->due() == next->due() && t->sequence() < next->sequence()))
        next = t;
    }
    if (!next) break;
    nowMs_ += next->due() - ticks_;
    ticks_ = next->due();
    fired_.push_back(next->name());
    next->fire();
  }
  nowMs_ += target - ticks_;
  ticks_ = target;
}

void VirtualClock::advanceTo(const LocalTime& t) {
  const std::int64_t target = toLocalMs(t);
  if (target > nowMs_) advance(target - nowMs_);
}

void VirtualClock::setNow(const LocalTime& t) {
  nowMs_ = toLocalMs(t);
}

Timer* VirtualClock::timer(const std::string& name) const {
  for (VirtualTimer* t : timers_)
    if (t->name() == name) return t;
  return nullptr;
}

}  // namespace tarvik
