#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "config/file_stamp.h"
#include "config/ini_file.h"
#include "monitor/connection_figures.h"
#include "monitor/data_limit.h"
#include "monitor/day_plan_cache.h"
#include "monitor/forecast.h"
#include "monitor/meter_money.h"
#include "monitor/monitor_env.h"
#include "monitor/traffic_meter.h"
#include "platform/clock.h"
#include "stats/accounts.h"
#include "status/display_text.h"
#include "tariff/tariff.h"

namespace tarvik {

// Measures the online time of the current connection and turns it into money: started when
// metering begins, ticked by t_general every 750 ms, it keeps the running figures (metered
// seconds, cost, balance) that the close-out books, the crash journal saves and the status
// display shows. A tick that finds another tariff period in force stops there and says so; the
// monitor then splits the connection.
class Meter {
 public:
  Meter(const MonitorEnv& env, Accounts& accounts);

  // Begins metering `entry` (a settings entry name, "Default" for the fallback entry).
  void start(const std::string& entry);
  // Re-reads the entry's keys and re-arms the warnings without restarting the count.
  void reload(const std::string& entry);
  // One t_general event. Returns true when the tariff period in force changed: the figures are
  // left as they were for the split.
  bool tick();
  // Running figures back to 0 (the state machine does it after the close-out).
  void resetFigures();
  // The probe's reading of the line's byte counters, once a poll (nullopt: none).
  void sampleTraffic(std::uint64_t handle, const std::optional<TrafficBytes>& counters) {
    traffic_.sample(handle, counters);
  }

  bool running() const;
  const std::string& entry() const { return entry_; }
  std::int32_t meteredSeconds() const { return meteredSeconds_; }
  float cost() const { return cost_; }
  float balance() const { return balance_; }
  // Bytes received and sent since metering of this connection (or its second half) began.
  const TrafficBytes& volume() const { return traffic_.volume(); }
  int accountKind() const { return accountKind_; }
  // The running figures as a connection of `entry` would be booked now.
  ConnectionFigures figures(const std::string& entry) const;
  int costPerHour() const { return tariff_.costPerHour; }
  const std::string& tariffName() const { return tariff_.name; }
  const DisplaySettings& display() const { return display_; }

  // Writes the money field from the current figures.
  void refreshMoney();
  // The forecast's texts (empty while nothing can be said).
  const Forecast& forecast() const { return forecast_; }
  // The entry's data limit over the span.
  const DataLimit& dataLimit() const { return limit_; }

 private:
  void readKeys(const std::string& entry);
  void setTimers();
  void disarmWarningsOnUnknownBalance();
  int lookupNow(const LocalTime& now);
  MeterMoney money() const;
  // The tooltips' lines while online: volume, the data limit, then the forecast.
  void publishHint(bool forecastChanged);

  const MonitorEnv& env_;
  Accounts& accounts_;
  IniFile config_;
  DayPlanCache plans_{config_};

  std::string entry_;
  DisplaySettings display_;
  bool truncate_ = false;
  int freeTime_ = 5;
  bool zeroWarn_ = true;
  std::string zeroFile_;
  std::array<bool, 4> levelOn_{};
  std::array<int, 4> levelValue_{1, 10, 25, 50};
  bool onLineMinute_ = true;
  bool onLineSecond_ = false;
  int onLinePeriod_ = 15;
  bool statusShow_ = true;
  bool securityII_ = true;
  Forecast::Settings forecastSettings_;

  int startSecondOfDay_ = 0;
  int startPeriod_ = -1;
  int lastTickWeekday_ = -1;
  CurrentTariff tariff_;
  std::int32_t meteredSeconds_ = 0;
  bool withinFreeTime_ = true;
  float cost_ = 0;
  float startBalance_ = 0;
  float balance_ = 0;
  int accountKind_ = kAccountIndividual;
  bool balanceKnown_ = true;
  std::array<bool, 4> levelFired_{};
  bool zeroFired_ = false;
  TrafficMeter traffic_;
  DataLimit limit_;
  Forecast forecast_;
  // The texts of the last figures shown, kept while the figures stay the same.
  struct ShownMoney {
    float balance;
    float cost;
    std::string text;
  };
  std::optional<ShownMoney> moneyShown_;
  std::int32_t timeShownFor_ = -1;
  std::string timeShown_;
  std::optional<TrafficBytes> hintVolume_;  // the volume the hint shows; nullopt: none shown
  // The next tick writes the hint even if nothing it shows changed: a data limit shows its
  // line also on a line that reports no bytes.
  bool hintDue_ = false;
  std::string hint_;
};

}  // namespace tarvik
