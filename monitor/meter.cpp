#include "monitor/meter.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "config/keys.h"
#include "monitor/program_timers.h"
#include "platform/clock.h"
#include "platform/event_log.h"
#include "platform/sound.h"
#include "platform/time_text.h"
#include "platform/timer.h"
#include "platform/user.h"
#include "status/online_hint.h"
#include "tariff/day_plan_store.h"

namespace tarvik {

namespace {

constexpr int kSecondsPerDay = 86400;

constexpr std::string_view kLevelWarning =
    "Внимание!\nСостояние счёта ниже одной из 4-ёх границ.\nБудьте внимательны и следите за "
    "временем!";
constexpr std::string_view kZeroWarning =
    "Внимание!\nПо предварительному расчёту,\nна счету не осталось денег,\nт.е. денежный "
    "балланс\nниже иле равен нулю!";

void setInterval(Timer* t, int ms) {
  if (t && t->interval() != ms) t->setInterval(ms);
}
void setEnabled(Timer* t, bool on) {
  if (t) t->setEnabled(on);
}
bool isEnabled(const Timer* t) {
  return t && t->enabled();
}

int secondOfDay(const LocalTime& t) {
  return t.hour * 3600 + t.minute * 60 + t.second;
}

}  // namespace

Meter::Meter(const MonitorEnv& env, Accounts& accounts)
    : env_(env),
      accounts_(accounts),
      config_(env.files.config()),
      limit_(env),
      forecast_(env.user, env.hooks) {}

bool Meter::running() const {
  return isEnabled(env_.timers.general);
}

void Meter::readKeys(const std::string& entry) {
  entry_ = entry;
  const auto section = sections::entry(entry);
  auto num = [&](const IntKey<Scope::Entry>& key) { return readKey(config_, section, key); };
  truncate_ = num(entry_keys::kTruncate) != 0;
  freeTime_ = num(entry_keys::kFreeTime);
  zeroWarn_ = num(entry_keys::kZeroWarn) != 0;
  zeroFile_ = readKey(config_, section, entry_keys::kZeroFile);
  for (std::size_t n = 0; n < 4; ++n) {
    levelOn_[n] = num(entry_keys::kAccountUse[n]) != 0;
    levelValue_[n] = num(entry_keys::kAccountVal[n]);
  }
  onLineMinute_ = num(entry_keys::kOnLineMinute) != 0;
  onLineSecond_ = num(entry_keys::kOnLineSecond) != 0;
  onLinePeriod_ = num(entry_keys::kOnLinePeriod);
  statusShow_ = num(entry_keys::kStatusShow) != 0;
  securityII_ = readSwitch(config_, sections::global(), global_keys::kSecurityII);
  display_ = readDisplaySettings(config_, section);
  forecastSettings_.riseWarn = num(entry_keys::kRiseWarn) != 0;
  // A hand-edited count outside what the dialog offers is held to the dialog's range.
  const Range rise = entry_keys::kRiseTime.range;
  forecastSettings_.riseMinutes = std::clamp(num(entry_keys::kRiseTime), rise.min, rise.max);
  forecastSettings_.warnBeep = readSwitch(config_, sections::global(), global_keys::kWarnBeep);
  forecastSettings_.currencyZ = display_.currencyZ;
  forecast_.restart(forecastSettings_);

  // A warning that is switched off counts as already given.
  zeroFired_ = !zeroWarn_;
  for (std::size_t n = 0; n < 4; ++n) levelFired_[n] = !levelOn_[n];
  env_.user.setAccountDisplayChecks(display_.accountDisplay);
  moneyShown_.reset();  // the display settings may have changed
}

void Meter::disarmWarningsOnUnknownBalance() {
  // The stored balance is no number (a hand-edited file; accounts has logged it): metering
  // goes on from 0, but a warning about a balance whose real value is unknown would only
  // mislead.
  if (balanceKnown_) return;
  zeroFired_ = true;
  levelFired_.fill(true);
}

int Meter::lookupNow(const LocalTime& now) {
  plans_.checkFile();
  return findPeriod(plans_.plan(entry_, now.weekday), now.hour, now.minute, tariff_);
}

MeterMoney Meter::money() const {
  return MeterMoney{truncate_, freeTime_, tariff_.costPerHour, startBalance_};
}

void Meter::publishHint(bool forecastChanged) {
  const std::optional<TrafficBytes> volume =
      traffic_.counting() ? std::optional(traffic_.volume()) : std::nullopt;
  if (!forecastChanged && !hintDue_ && volume == hintVolume_) return;
  hintDue_ = false;
  hintVolume_ = volume;
  std::string hint;
  const auto addLine = [&hint](const std::string& line) {
    if (line.empty()) return;
    if (!hint.empty()) hint += '\n';
    hint += line;
  };
  if (volume) addLine(volumeText(*volume, env_.format));
  if (limit_.on()) addLine(limit_.hintLine(traffic_.volume()));
  addLine(forecast_.emptyText());
  addLine(forecast_.changeText());
  if (hint == hint_) return;
  hint_ = std::move(hint);
  env_.user.setOnlineHint(hint_);
}

void Meter::setTimers() {
  const MonitorTimers& t = env_.timers;
  const bool metering = isEnabled(t.general);
  setInterval(t.securityZ, intervalOf(TimerId::SecurityZ));
  setEnabled(t.securityZ, securityII_ && isEnabled(t.securityA));
  setInterval(t.minute, intervalOf(TimerId::Minute));
  setEnabled(t.minute, onLineMinute_ && metering);
  // A hand-edited period of 0 or less would give no sensible interval: such a timer never fires;
  // one too long for a millisecond timer beeps as seldom as one can.
  setInterval(t.second, std::max(0, std::clamp(onLinePeriod_, 0, INT_MAX / 1000) * 1000 - 5));
  setEnabled(t.second, onLineSecond_ && metering);
}

void Meter::start(const std::string& entry) {
  readKeys(entry);

  const LocalTime now = env_.clock.now();
  startSecondOfDay_ = secondOfDay(now);
  startPeriod_ = lookupNow(now);
  lastTickWeekday_ = now.weekday;

  env_.user.setField(DisplayField::Entry, entry_);
  setInterval(env_.timers.general, intervalOf(TimerId::General));
  setEnabled(env_.timers.general, true);
  setInterval(env_.timers.securityA, intervalOf(TimerId::SecurityA));
  setEnabled(env_.timers.securityA, true);
  env_.hooks.setMidnightArmed(true);

  env_.log.append(" Tariff in use: «" + tariff_.name + "», " + std::to_string(tariff_.costPerHour) +
                  "/h");

  const ChosenAccount account = accounts_.chooseAccount(entry_);
  accountKind_ = account.kind;
  cost_ = 0;
  traffic_.restartCount();
  limit_.start(entry_, now);
  hintDue_ = limit_.on();
  startBalance_ = account.balance;
  balance_ = startBalance_;
  balanceKnown_ = account.numeric;
  disarmWarningsOnUnknownBalance();

  env_.user.setField(DisplayField::Tariff, tariffText(display_, tariff_.name, tariff_.costPerHour));
  setTimers();
  refreshMoney();
  if (statusShow_ && running()) env_.user.showStatusWindow();
}

void Meter::reload(const std::string& entry) {
  readKeys(entry);
  limit_.reload(entry, env_.clock.now());
  hintDue_ = true;  // the limit may have been set or changed
  disarmWarningsOnUnknownBalance();
  env_.user.setField(DisplayField::Currency, currencyText(display_));
  env_.user.setField(DisplayField::Tariff, tariffText(display_, tariff_.name, tariff_.costPerHour));
  setTimers();
  refreshMoney();
  if (statusShow_ && running()) env_.user.showStatusWindow();
}

ConnectionFigures Meter::figures(const std::string& entry) const {
  return {.entry = entry,
          .cost = cost_,
          .balance = balance_,
          .seconds = meteredSeconds_,
          .accountKind = accountKind_,
          .volume = volume(),
          .weekday = env_.clock.now().weekday};
}

void Meter::resetFigures() {
  meteredSeconds_ = 0;
  cost_ = 0;
  balance_ = 0;
  traffic_.restartCount();
  hintVolume_.reset();
  if (!hint_.empty()) {
    hint_.clear();
    env_.user.setOnlineHint(hint_);
  }
}

void Meter::refreshMoney() {
  // Three ticks in four find the figures of the tick before: their text is kept, not made again.
  if (!moneyShown_ || moneyShown_->balance != balance_ || moneyShown_->cost != cost_) {
    moneyShown_ = ShownMoney{balance_, cost_, moneyText(display_, balance_, cost_, env_.format)};
  }
  env_.user.setField(DisplayField::Money, moneyShown_->text);
}

bool Meter::tick() {
  const LocalTime now = env_.clock.now();
  const CurrentTariff before = tariff_;
  const int period = lookupNow(now);
  // Day plans number their periods on their own, so at a day boundary the same number may
  // stand for another price: the minutes before midnight must keep the old day's price.
  const bool dayTurned = now.weekday != lastTickWeekday_;
  lastTickWeekday_ = now.weekday;
  const bool tariffChanged =
      dayTurned && (tariff_.costPerHour != before.costPerHour || tariff_.name != before.name);
  if (period != startPeriod_ || tariffChanged) {
    setEnabled(env_.timers.general, false);
    env_.log.append(" Virtual reconnect (tariff changed).", true);
    env_.user.balloon(entry_,
                      "Сменился тариф.\nТекущее соединение было разделено\nна «до» и «после» "
                      "этого события.\nНовый тариф: «" +
                          tariff_.name + "», " + std::to_string(tariff_.costPerHour) + " " +
                          display_.currencyZ + "/час.",
                      false);
    return true;
  }

  // Wall-clock based: a connection over midnight goes on counting, 24 hours wrap.
  std::int32_t seconds = secondOfDay(now) - startSecondOfDay_;
  if (seconds < 0) seconds += kSecondsPerDay;
  if (seconds != timeShownFor_) {
    timeShownFor_ = seconds;
    timeShown_ = durationText(seconds);
  }

  const MeterMoney::Figures figures = money().at(seconds);
  withinFreeTime_ = figures.withinFreeTime;
  meteredSeconds_ = figures.bookedSeconds;
  cost_ = figures.cost;
  balance_ = figures.balance;

  refreshMoney();
  env_.user.setField(DisplayField::Time, timeShown_);

  bool flash = false;
  for (int n = 3; n >= 0; --n) {
    if (levelFired_[n]) continue;
    if (static_cast<long double>(balance_) * 100 < levelValue_[n]) {
      levelFired_[n] = true;
      env_.user.balloon(entry_, kLevelWarning, true);
      flash = true;
    }
  }
  if (!zeroFired_ && balance_ <= 0) {
    zeroFired_ = true;
    env_.sound.play(zeroFile_);
    env_.user.balloon(entry_, kZeroWarning, false);
    env_.user.showStateCode("xx");
    env_.user.bringStatusWindowToFront();
    env_.hooks.playTune(7);
    flash = false;
  }
  if (flash) env_.hooks.startWarningFlash();
  const bool limitSpanChanged = limit_.tick(now, traffic_.volume());

  const bool forecastChanged =
      forecast_.update(now, money(), seconds, balanceKnown_, entry_,
                       [this](int weekday) { return plans_.plan(entry_, weekday); });
  publishHint(forecastChanged || limitSpanChanged);
  return false;
}

}  // namespace tarvik
