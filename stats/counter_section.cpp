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

CounterSection::CounterSection(IniEdit& file, std::string section, const NumberFormat& format,
                               EventLog& log)
    : file_(file), section_(std::move(section)), format_(format), log_(log) {}

std::optional<long long> CounterSection::readInt(std::string_view key) {
  std::string text = file_.readString(section_, key);
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

std::optional<double> CounterSection::readMoney(std::string_view key) {
  std::string text = file_.readString(section_, key);
  if (blank(text)) return 0.0;
  std::optional<double> value = parseDecimal(text);
  if (!value || !std::isfinite(*value)) {
    reportGarbage(key, text);
    return std::nullopt;
  }
  return value;
}

std::string CounterSection::readText(std::string_view key) {
  return file_.readString(section_, key, "0");
}

void CounterSection::writeInt(std::string_view key, long long value) {
  file_.writeString(section_, key, std::to_string(value));
}

void CounterSection::writeMoney(std::string_view key, double value) {
  file_.writeString(section_, key, formatGeneral(value, format_));
}

void CounterSection::writeText(std::string_view key, std::string_view text) {
  file_.writeString(section_, key, text);
}

void CounterSection::writeTruncated(std::string_view key, double value) {
  const double clamped =
      std::clamp(std::trunc(value), static_cast<double>(INT_MIN), static_cast<double>(INT_MAX));
  writeInt(key, std::isnan(clamped) ? 0 : static_cast<long long>(clamped));
}

void CounterSection::addInt(std::string_view key, long long delta) {
  if (auto value = readInt(key)) writeInt(key, *value + delta);
}

void CounterSection::reportGarbage(std::string_view key, std::string_view text) {
  log_.append(" Statistics value \xC2\xAB" + std::string(text) + "\xC2\xBB ([" + section_ + "] " +
              std::string(key) + ") is not a number; left unchanged.");
}

}  // namespace tarvik
