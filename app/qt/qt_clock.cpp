#include "app/qt/qt_clock.h"

#include <QDateTime>
#include <QTimer>

namespace tarvik {
namespace {

class QtTimer final : public TimerBase {
 public:
  explicit QtTimer(std::string name) : TimerBase(std::move(name)), timer_(new QTimer) {
    timer_->setTimerType(Qt::PreciseTimer);  // t_midnight must not skip a second
    QObject::connect(timer_, &QTimer::timeout, [this] { fireHandler(); });
  }
  ~QtTimer() override {
    timer_->stop();
    QObject::disconnect(timer_, nullptr, nullptr, nullptr);
    // The timer may be destroyed from inside its own handler; Qt deletes the sender later.
    timer_->deleteLater();
  }

 private:
  void restart() override {
    if (armed()) {
      timer_->start(interval());
    } else {
      timer_->stop();
    }
  }

  QTimer* timer_;
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
