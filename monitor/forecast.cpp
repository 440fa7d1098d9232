#include "monitor/forecast.h"

#include "monitor/monitor_env.h"
#include "platform/user.h"
#include "status/online_hint.h"
#include "tariff/tariff_changes.h"

namespace tarvik {

namespace {

constexpr int kMinutesPerDay = 1440;
constexpr std::int64_t kMsPerMinute = 60'000;
// A balance that lasts longer than a month at the current price is not worth a forecast.
constexpr std::int32_t kForecastHorizonSeconds = 31 * 86400;

std::string clockText(int minute) {
  const int hour = minute / 60 % 24;
  const int min = minute % 60;
  return std::string{static_cast<char>('0' + hour / 10), static_cast<char>('0' + hour % 10), ':',
                     static_cast<char>('0' + min / 10), static_cast<char>('0' + min % 10)};
}

}  // namespace

std::string riseWarningText(int minutesAhead, int atMinute, const CurrentTariff& before,
                            const CurrentTariff& after, const std::string& currencyZ) {
  return "Внимание!\nЧерез " + std::to_string(minutesAhead) + " мин. тариф подорожает.\nС " +
         clockText(atMinute) + " действует тариф «" + after.name + "»,\n" +
         std::to_string(after.costPerHour) + " " + currencyZ + "/час вместо " +
         std::to_string(before.costPerHour) + " " + currencyZ + "/час.";
}

void Forecast::restart(const Settings& settings) {
  settings_ = settings;
  minuteDone_ = -1;
}

bool Forecast::update(const LocalTime& now, const MeterMoney& money, std::int32_t countedSeconds,
                      bool balanceKnown, const std::string& entry, const PlanOf& planOf) {
  const std::int64_t nowMs = toLocalMs(now);
  const std::int64_t minute = nowMs / kMsPerMinute;
  if (minute == minuteDone_) return false;
  minuteDone_ = minute;
  const std::string oldEmpty = emptyText_;
  const std::string oldChange = changeText_;

  emptyText_.clear();
  emptyAt_.reset();
  if (balanceKnown) {
    if (auto empty = secondWhenEmpty(money, countedSeconds, kForecastHorizonSeconds)) {
      const std::int64_t whenMs =
          nowMs + (static_cast<std::int64_t>(*empty) - countedSeconds) * 1000;
      emptyText_ = emptyAccountText(fromLocalMs(whenMs), now);
      emptyAt_ = whenMs;
    }
  }

  const int nowMinute = now.hour * 60 + now.minute;
  const int riseUntil = settings_.riseWarn ? nowMinute + settings_.riseMinutes : 0;
  const DayPlan today = planOf(now.weekday);
  const DayPlan tomorrow = planOf((now.weekday + 1) % 7);
  const std::vector<TariffChange> changes =
      tariffChangesAhead(today, tomorrow, nowMinute, std::max(kMinutesPerDay, riseUntil));

  changeText_.clear();
  if (!changes.empty() && changes.front().minute <= kMinutesPerDay) {
    changeText_ = tariffChangeText(changes.front().minute, changes.front().after.costPerHour,
                                   settings_.currencyZ);
  }

  const std::int64_t dayStartMinute = minute - nowMinute;
  for (const TariffChange& change : changes) {
    if (change.minute > riseUntil) break;
    if (change.after.costPerHour <= change.before.costPerHour) continue;
    // Once per boundary: a split, a reload or a new connection before it does not warn again.
    if (!warned_.insert(dayStartMinute + change.minute).second) continue;
    warnOfRise(entry, now, change.minute - nowMinute, change.before, change.after, change.minute);
  }
  return emptyText_ != oldEmpty || changeText_ != oldChange;
}

void Forecast::warnOfRise(const std::string& entry, const LocalTime&, int minutesAhead,
                          const CurrentTariff& before, const CurrentTariff& after, int atMinute) {
  user_.balloon(entry, riseWarningText(minutesAhead, atMinute, before, after, settings_.currencyZ),
                false);
  if (settings_.warnBeep) hooks_.playTune(0);
}

}  // namespace tarvik
