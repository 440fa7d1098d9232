#pragma once

#include <functional>
#include <memory>
#include <string>

namespace tarvik {

// A repeating timer with the semantics the program was designed around: while enabled it
// fires every interval() milliseconds; enabling it, or changing the interval while it is
// enabled, restarts the countdown; enabling an already enabled timer changes nothing; an
// interval of 0 never fires. Handlers run on the one user-interface thread.
class Timer {
 public:
  virtual ~Timer() = default;
  virtual const std::string& name() const = 0;
  virtual void setInterval(int ms) = 0;
  virtual int interval() const = 0;
  virtual void setEnabled(bool enabled) = 0;
  virtual bool enabled() const = 0;
  virtual void onFire(std::function<void()> handler) = 0;
};

// The semantics above in one place; a backend only says how to (re)start its countdown.
class TimerBase : public Timer {
 public:
  explicit TimerBase(std::string name) : name_(std::move(name)) {}

  const std::string& name() const override { return name_; }
  void setInterval(int ms) override {
    if (ms == interval_) return;
    interval_ = ms;
    restart();
  }
  int interval() const override { return interval_; }
  void setEnabled(bool enabled) override {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    restart();
  }
  bool enabled() const override { return enabled_; }
  void onFire(std::function<void()> handler) override { handler_ = std::move(handler); }

 protected:
  // Starts the countdown afresh when armed, stops it otherwise.
  virtual void restart() = 0;
  bool armed() const { return enabled_ && interval_ > 0; }
  void fireHandler() {
    if (handler_) handler_();
  }

 private:
  std::string name_;
  int interval_ = 1000;
  bool enabled_ = false;
  std::function<void()> handler_;
};

class TimerFactory {
 public:
  virtual ~TimerFactory() = default;
  // `name` is the timer's name in the program (t_online, t_general, ...), for logs and tests.
  virtual std::unique_ptr<Timer> createTimer(std::string name) = 0;
};

}  // namespace tarvik
