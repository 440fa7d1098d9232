#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>

#include "config/keys.h"
#include "monitor/meter_money.h"
#include "platform/clock.h"
#include "tariff/tariff.h"

namespace tarvik {

class MonitorHooks;
class User;

// What lies ahead of the metered connection: when its balance runs out at the current price,
// the next tariff change of the day, and the optional warning a few minutes before a dearer
// period begins. It looks ahead with the meter's own lookup (on today's and tomorrow's day
// plans) and the meter's money arithmetic, once a minute of the clock.
class Forecast {
 public:
  struct Settings {
    bool riseWarn = false;                        // "RiseWarn": warn before a dearer period
    int riseMinutes = entry_keys::kRiseTime.def;  // "RiseTime": minutes before it begins
    bool warnBeep = true;                         // global "WarnBeep": the warning beep with it
    std::string currencyZ = "ц";                  // the entry's cost unit
  };
  // The day plan of a weekday for the entry being metered.
  using PlanOf = std::function<DayPlan(int weekday)>;

  Forecast(User& user, MonitorHooks& hooks) : user_(user), hooks_(hooks) {}

  // A new count began or the entry's keys were read again: the next update looks afresh.
  // Boundaries already warned of stay warned.
  void restart(const Settings& settings);
  // Once a tick, after the meter's figures. `countedSeconds` is the count on the wall clock;
  // `balanceKnown` false when the stored balance was no number. Returns whether the texts
  // changed.
  bool update(const LocalTime& now, const MeterMoney& money, std::int32_t countedSeconds,
              bool balanceKnown, const std::string& entry, const PlanOf& planOf);

  // "счёт исчерпается ≈ в 21:40", or "" when the price is 0 or there is no balance to spend.
  const std::string& emptyText() const { return emptyText_; }
  // When the balance runs out, in local milliseconds; nullopt while `emptyText` is empty.
  std::optional<std::int64_t> emptyAt() const { return emptyAt_; }
  // "с 18:00: 1200 ц/час", or "" when the tariff stays the same until midnight.
  const std::string& changeText() const { return changeText_; }

 private:
  void warnOfRise(const std::string& entry, const LocalTime& now, int minutesAhead,
                  const CurrentTariff& before, const CurrentTariff& after, int atMinute);

  User& user_;
  MonitorHooks& hooks_;
  Settings settings_;
  std::int64_t minuteDone_ = -1;  // the clock's minute of the last look ahead
  std::string emptyText_;
  std::optional<std::int64_t> emptyAt_;
  std::string changeText_;
  std::set<std::int64_t> warned_;  // the minutes of the boundaries warned of
};

// The balloon of the warning before a dearer period.
std::string riseWarningText(int minutesAhead, int atMinute, const CurrentTariff& before,
                            const CurrentTariff& after, const std::string& currencyZ);

}  // namespace tarvik
