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

class TimerFactory {
 public:
  virtual ~TimerFactory() = default;
  // `name` is the timer's name in the program (t_online, t_general, ...), for logs and tests.
  virtual std::unique_ptr<Timer> createTimer(std::string name) = 0;
};

}  // namespace tarvik
