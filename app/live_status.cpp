#include "app/live_status.h"

#include <charconv>
#include <cstdio>

#include "app/engine.h"
#include "monitor/meter.h"

namespace tarvik {
namespace {

std::string stateName(const std::string& code) {
  if (code == "on") return "online";
  if (code == "au") return "authenticating";
  return "offline";
}

std::string clockText(std::int64_t localMs) {
  const LocalTime t = fromLocalMs(localMs);
  char text[8];
  std::snprintf(text, sizeof text, "%02d:%02d", t.hour, t.minute);
  return text;
}

// The balance is kept as a float: read as the shortest decimal that gives it back, it is 99.99
// on the bus instead of 99.989997863769531.
double asDecimal(float value) {
  char text[32];
  const auto written = std::to_chars(text, text + sizeof text, value);
  double decimal = value;
  std::from_chars(text, written.ptr, decimal);
  return decimal;
}

}  // namespace

LiveFigures readLiveFigures(const Engine& engine, std::string service) {
  LiveFigures f;
  f.service = std::move(service);
  f.state = stateName(engine.stateCode());
  const Meter& meter = engine.meter();
  f.currency = meter.display().currencyA;
  // Between connections the meter keeps its last entry and settings; only the live one counts.
  if (f.state == "offline") return f;
  f.entry = meter.entry();
  f.secondsOnline = meter.meteredSeconds();
  f.cost = meter.cost() / 100.0;
  f.balance = asDecimal(meter.balance());
  f.received = meter.volume().received;
  f.sent = meter.volume().sent;
  if (const auto at = meter.forecast().emptyAt()) f.forecastTime = clockText(*at);
  f.price = meter.costPerHour() / 100.0;
  return f;
}

std::vector<std::string_view> LiveAnnouncer::look(const LiveFigures& now) {
  std::vector<std::string_view> changed;
  if (!seen_) {
    seen_ = true;
    announced_ = now;
    announcedAt_ = clock_.ticks();
    return changed;
  }
  if (now == announced_) return changed;
  const bool stateChanged = now.state != announced_.state || now.service != announced_.service;
  if (!stateChanged && clock_.ticks() - announcedAt_ < kMinGapMs) return changed;
  const auto note = [&changed](bool differs, std::string_view name) {
    if (differs) changed.push_back(name);
  };
  const LiveFigures& was = announced_;
  note(now.service != was.service, "Service");
  note(now.state != was.state, "State");
  note(now.entry != was.entry, "Entry");
  note(now.secondsOnline != was.secondsOnline, "SecondsOnline");
  note(now.cost != was.cost, "Cost");
  note(now.currency != was.currency, "Currency");
  note(now.balance != was.balance, "Balance");
  note(now.received != was.received, "Received");
  note(now.sent != was.sent, "Sent");
  note(now.forecastTime != was.forecastTime, "ForecastTime");
  note(now.price != was.price, "Price");
  announced_ = now;
  announcedAt_ = clock_.ticks();
  return changed;
}

}  // namespace tarvik
