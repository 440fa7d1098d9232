#include "tools/tarvik-report/watch_line.h"

#include <charconv>
#include <cstdio>

#include "config/number_text.h"
#include "platform/volume_text.h"

namespace tarvik::report {
namespace {

// Money with two decimals and a point whatever the locale: panels parse it.
std::string money(double value) {
  char text[48];
  const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2);
  return std::string(text, end.ptr);
}

std::string clock(std::int64_t seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
  return text;
}

std::string jsonText(const std::string& s) {
  std::string out = "\"";
  for (const char c : s) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + '"';
}

std::string shortText(const LiveFigures& f) {
  if (f.state == "offline") return "offline";
  std::string text = f.entry + ' ' + clock(f.secondsOnline);
  if (f.state == "online") text += ' ' + money(f.cost) + ' ' + f.currency;
  return text;
}

std::string tooltip(const LiveFigures& f) {
  if (f.state == "offline") return "Tarvik: offline";
  std::string text = "Tarvik: " + f.state + ", " + f.entry + "\n" +
                     volumeText({f.received, f.sent}, NumberFormat{'.'}) + "\n" + money(f.balance) +
                     ' ' + f.currency;
  if (!f.forecastTime.empty()) text += " until ≈ " + f.forecastTime;
  return text;
}

}  // namespace

std::string watchLine(const LiveFigures& f, WatchFormat format) {
  if (format == WatchFormat::Text) return shortText(f);
  return "{\"text\":" + jsonText(shortText(f)) + ",\"tooltip\":" + jsonText(tooltip(f)) +
         ",\"class\":" + jsonText(f.state) + ",\"service\":" + jsonText(f.service) +
         ",\"state\":" + jsonText(f.state) + ",\"entry\":" + jsonText(f.entry) +
         ",\"seconds_online\":" + std::to_string(f.secondsOnline) + ",\"cost\":" + money(f.cost) +
         ",\"currency\":" + jsonText(f.currency) + ",\"balance\":" + money(f.balance) +
         ",\"received\":" + std::to_string(f.received) + ",\"sent\":" + std::to_string(f.sent) +
         ",\"forecast_time\":" + jsonText(f.forecastTime) + ",\"price\":" + money(f.price) + "}";
}

}  // namespace tarvik::report
