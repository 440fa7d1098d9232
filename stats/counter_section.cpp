#include "stats/counter_section.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "platform/event_log.h"

namespace tarvik {

namespace {

// Blank or empty values count as missing, like a key without a value.
bool blank(std::string_view text) {
  return text.find_first_not_of(" \t") == std::string::npos;
}

}  // namespace

CounterSection::CounterSection(IniEdit& file, Section<Scope::Statistics> section,
                               const NumberFormat& format, EventLog& log)
    : file_(file), section_(std::move(section)), format_(format), log_(log) {}

std::optional<long long> CounterSection::readInt(const Key& key) {
  std::string text = readKey(file_, section_, key, "");
  if (blank(text)) return 0;
  // The integer rule gives its default for garbage; two different defaults reveal it.
  int a = parseProfileInt(text, 0);
  int b = parseProfileInt(text, 1);
  if (a != b) {
    reportGarbage(key, text);
    return std::nullopt;
  }
  return a;
}

std::optional<double> CounterSection::readMoney(const Key& key) {
  std::string text = readKey(file_, section_, key, "");
  if (blank(text)) return 0.0;
  std::optional<double> value = parseDecimal(text);
  if (!value || !std::isfinite(*value)) {
    reportGarbage(key, text);
    return std::nullopt;
  }
  return value;
}

std::string CounterSection::readText(const Key& key) {
  return readKey(file_, section_, key);
}

void CounterSection::writeInt(const Key& key, long long value) {
  writeKey(file_, section_, key, std::to_string(value));
}

void CounterSection::writeMoney(const Key& key, double value) {
  writeKey(file_, section_, key, formatGeneral(value, format_));
}

void CounterSection::writeText(const Key& key, std::string_view text) {
  writeKey(file_, section_, key, text);
}

void CounterSection::writeTruncated(const Key& key, double value) {
  const double clamped =
      std::clamp(std::trunc(value), static_cast<double>(INT_MIN), static_cast<double>(INT_MAX));
  writeInt(key, std::isnan(clamped) ? 0 : static_cast<long long>(clamped));
}

void CounterSection::addInt(const Key& key, long long delta) {
  if (auto value = readInt(key)) writeInt(key, *value + delta);
}

void CounterSection::reportGarbage(const Key& key, std::string_view text) {
  log_.append(" Statistics value \xC2\xAB" + std::string(text) + "\xC2\xBB ([" + section_.name() +
              "] " + key.name.str() + ") is not a number; left unchanged.");
}

}  // namespace tarvik
