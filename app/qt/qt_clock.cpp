#include "app/qt/qt_clock.h"

#include <QDateTime>
#include <QTimer>

namespace tarvik {
namespace {

class QtTimer final : public Timer {
 public:
  explicit QtTimer(std::string name) : name_(std::move(name)), timer_(new QTimer) {
    timer_->setTimerType(Qt::PreciseTimer);  // t_midnight must not skip a second
    QObject::connect(timer_, &QTimer::timeout, [this] {
      if (handler_) handler_();
    });
  }
  ~QtTimer() override {
    timer_->stop();
    QObject::disconnect(timer_, nullptr, nullptr, nullptr);
    // The timer may be destroyed from inside its own handler; Qt deletes the sender later.
    timer_->deleteLater();
  }

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

 private:
  // Enabling or a new interval starts the countdown afresh; 0 never fires.
  void restart() {
    if (enabled_ && interval_ > 0) {
      timer_->start(interval_);
    } else {
      timer_->stop();
    }
  }

  std::string name_;
  QTimer* timer_;
  int interval_ = 1000;
  bool enabled_ = false;
  std::function<void()> handler_;
};

}  // namespace

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

std::unique_ptr<Timer> QtTimerFactory::createTimer(std::string name) {
  return std::make_unique<QtTimer>(std::move(name));
}

}  // namespace tarvik
