#include "stats/counter_section.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>

#include "platform/event_log.h"

namespace tarvik {

namespace {

// Blank or empty values count as missing, like a key without a value.
bool blank(std::string_view text) {
  return text.find_first_not_of(" \t") == std::string::npos;
}

// Optional blanks and sign, then decimal digits only, within 64 bits.
std::optional<long long> wideDecimal(std::string_view text) {
  std::size_t pos = text.find_first_not_of(" \t");
  const std::size_t end = text.find_last_not_of(" \t") + 1;
  text = text.substr(pos, end - pos);
  long long value = 0;
  const auto [rest, error] = std::from_chars(text.data() + (text.starts_with('+') ? 1 : 0),
                                             text.data() + text.size(), value);
  if (error != std::errc() || rest != text.data() + text.size()) return std::nullopt;
  return value;
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
  if (a == b) return a;
  // A count that outgrew the int range is still a count: it goes on growing instead of
  // being left as it is for ever.
  if (auto wide = wideDecimal(text)) return wide;
  reportGarbage(key, text);
  return std::nullopt;
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
  // "INF" would be a key no later booking can read: the old value stays instead.
  if (!std::isfinite(value)) {
    reportGarbage(key, formatMoney(value, format_));
    return;
  }
  writeKey(file_, section_, key, formatMoney(value, format_));
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
  auto value = readInt(key);
  if (!value) return;
  long long sum = 0;
  if (__builtin_add_overflow(*value, delta, &sum)) sum = delta > 0 ? LLONG_MAX : LLONG_MIN;
  writeInt(key, sum);
}

void CounterSection::reportGarbage(const Key& key, std::string_view text) {
  log_.append(" Statistics value \xC2\xAB" + std::string(text) + "\xC2\xBB ([" + section_.name() +
              "] " + key.name.str() + ") is not a number; left unchanged.");
}

}  // namespace tarvik
