#include "tools/tarvik-report/report_output.h"

#include <cmath>
#include <cstdio>
#include <sstream>

#include "platform/time_text.h"
#include "platform/volume_text.h"

namespace tarvik::report {

namespace {

const NumberFormat kPoint{'.'};

bool isControl(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

// The length of the well-formed UTF-8 sequence at the start of `text` and its code point, or
// 0 when the bytes there are no such sequence (stray, overlong, surrogate, beyond U+10FFFF).
std::size_t utf8Sequence(std::string_view text, char32_t& codePoint) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  }
  const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
  if (length == 0 || length > text.size()) return 0;
  codePoint = lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    codePoint = (codePoint << 6) | (byte(i) & 0x3F);
  }
  constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (codePoint < kSmallest[length] || codePoint > 0x10FFFF ||
      (codePoint >= 0xD800 && codePoint <= 0xDFFF))
    return 0;
  return length;
}

// Text from the files as valid UTF-8: bytes that are not UTF-8 become U+FFFD, and control
// characters are handed to `control` to be replaced or escaped.
template <typename Control>
std::string cleanText(std::string_view text, Control control) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    char32_t c = 0;
    std::size_t length = utf8Sequence(text, c);
    if (length == 0) {
      out += "\xEF\xBF\xBD";
      length = 1;
    } else if (isControl(c)) {
      control(c, out);
    } else {
      out.append(text.substr(0, length));
    }
    text.remove_prefix(length);
  }
  return out;
}

// Money of the statistics is kept in hundredths; reports show currency units.
std::optional<double> units(const std::optional<double>& hundredths) {
  if (!hundredths) return std::nullopt;
  return *hundredths / 100;
}

std::string number(const std::optional<long long>& value, const char* none) {
  return value ? std::to_string(*value) : none;
}

std::string decimal(const std::optional<double>& value, const char* none) {
  return value ? formatGeneral(*value, kPoint) : none;
}

// --- text ---

std::size_t characters(std::string_view text) {
  std::size_t count = 0;
  for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

std::string padRight(std::string text, std::size_t width) {
  const std::size_t n = characters(text);
  if (n < width) text.append(width - n, ' ');
  return text;
}

std::string padLeft(const std::string& text, std::size_t width) {
  const std::size_t n = characters(text);
  return n < width ? std::string(width - n, ' ') + text : text;
}

std::string money2(const std::optional<double>& value, NumberFormat format) {
  if (!value) return "?";
  char text[64];
  // Halves away from zero, as people round money (printf would make 0,125 into 0,12).
  std::snprintf(text, sizeof text, "%.2f", std::round(*value * 100) / 100);
  std::string result = text;
  if (const auto dot = result.find('.'); dot != std::string::npos)
    result[dot] = format.decimalSeparator;
  return result;
}

std::string bytes(const std::optional<long long>& value, NumberFormat format) {
  if (!value) return "?";
  if (*value < 0) return std::to_string(*value) + " Б";
  return byteText(static_cast<std::uint64_t>(*value), format);
}

// Names come from the phonebook by way of the files: a control character among them (an
// escape sequence, C0 or C1) would act on the terminal instead of being shown.
std::string shown(std::string_view name) {
  return cleanText(name, [](char32_t, std::string& out) { out += '?'; });
}

std::string textEntry(const EntryReport& e, NumberFormat format) {
  std::string out;
  const std::string sign = shown(e.currencySign);
  out += shown(e.name) + "\n";
  out += "  счёт: " + money2(e.account, format) + " " + sign + "\n";
  out += "  " + padRight("период", 24) + padLeft("время", 10) + padLeft("деньги, " + sign, 14) +
         padLeft("соед.", 7) + padLeft("принято", 12) + padLeft("передано", 12) + "\n";
  for (const SpanFigures& s : e.spans) {
    out += "  " + padRight(s.label, 24) + padLeft(s.seconds ? durationText(*s.seconds) : "?", 10) +
           padLeft(money2(units(s.money), format), 14) +
           padLeft(number(s.count, s.counted ? "?" : "-"), 7) +
           padLeft(bytes(s.received, format), 12) + padLeft(bytes(s.sent, format), 12) + "\n";
  }
  return out + "\n";
}

std::string textEnd(const Report& report, NumberFormat format) {
  std::string out = "Счета\n";
  for (const AccountBalance& b : report.balances)
    out += "  " + padRight(b.label, 26) + padLeft(money2(b.value, format), 12) + "\n";
  if (report.withLog) {
    out += "\nСоединения\n";
    out += "  " + padRight("начало", 21) + padRight("конец", 21) + padLeft("длительность", 12) +
           padLeft("стоимость", 16) + "  запись\n";
    for (const LogRow& row : report.log) {
      const std::optional<double> value = parseDecimal(row.cost);
      const std::string booked = value ? formatGeneral(*value, format) : shown(row.cost);
      const std::string cost = row.outcome == "booked"   ? booked
                               : row.outcome == "failed" ? "не установлено"
                                                         : "прервано";
      out += "  " + padRight(shown(row.start), 21) + padRight(shown(row.end), 21) +
             padLeft(durationText(row.seconds), 12) + padLeft(cost, 16) + "  " + shown(row.entry) +
             "\n";
    }
  }
  return out;
}

// --- csv ---

// A cell that starts with = + - or @ is a formula to a spreadsheet: a leading quote keeps it
// text. Numbers are written apart and keep their sign. Otherwise a csv cell holds the name as
// the files hold it.
std::string csvField(std::string_view raw) {
  std::string value(raw);
  if (!value.empty() && std::string_view("=+-@").find(value.front()) != std::string_view::npos)
    value.insert(0, 1, '\'');
  if (value.find_first_of(",\"\r\n") == std::string::npos) return value;
  std::string quoted = "\"";
  for (const char c : value) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string logCost(const LogRow& row) {
  if (row.cost.empty()) return "";
  const auto value = parseDecimal(row.cost);
  return value ? formatGeneral(*value, kPoint) : csvField(row.cost);
}

std::string csvHead(bool withLog) {
  return withLog ? "start,end,seconds,cost,outcome,entry\n"
                 : "entry,span,seconds,money,currency,count,received,sent\n";
}

std::string csvEntry(const EntryReport& e) {
  std::string out;
  const std::string name = csvField(e.name);
  const std::string sign = csvField(e.currencySign);
  for (const SpanFigures& s : e.spans) {
    out += name + "," + s.id + "," + number(s.seconds, "") + "," + decimal(units(s.money), "") +
           "," + sign + "," + number(s.count, "") + "," + number(s.received, "") + "," +
           number(s.sent, "") + "\n";
  }
  return out + name + ",account,," + decimal(e.account, "") + "," + sign + ",,,\n";
}

// With the log, the csv holds the connections only.
std::string csvEnd(const Report& report) {
  std::string out;
  if (report.withLog) {
    for (const LogRow& row : report.log) {
      out += csvField(row.start) + "," + csvField(row.end) + "," + std::to_string(row.seconds) +
             "," + logCost(row) + "," + row.outcome + "," + csvField(row.entry) + "\n";
    }
    return out;
  }
  for (const AccountBalance& b : report.balances)
    out += ",account:" + b.id + ",," + decimal(b.value, "") + ",,,,\n";
  return out;
}

// --- json ---

std::string jsonString(std::string_view value) {
  std::string quoted;
  for (const char c : value) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return "\"" +
         cleanText(quoted,
                   [](char32_t c, std::string& out) {
                     char code[8];
                     std::snprintf(code, sizeof code, "\\u%04x", static_cast<unsigned>(c));
                     out += code;
                   }) +
         "\"";
}

std::string jsonEntry(const EntryReport& e) {
  std::string out = "{\"name\":" + jsonString(e.name) +
                    ",\"currency\":" + jsonString(e.currencySign) +
                    ",\"account\":" + decimal(e.account, "null") + ",\"spans\":[";
  for (std::size_t j = 0; j < e.spans.size(); ++j) {
    const SpanFigures& s = e.spans[j];
    out += (j ? "," : "") + std::string("{\"span\":\"") + s.id +
           "\",\"seconds\":" + number(s.seconds, "null") +
           ",\"money\":" + decimal(units(s.money), "null") +
           ",\"count\":" + number(s.count, "null") + ",\"received\":" + number(s.received, "null") +
           ",\"sent\":" + number(s.sent, "null") + "}";
  }
  return out + "]}";
}

std::string jsonEnd(const Report& report) {
  std::string out = "],\"balances\":[";
  for (std::size_t i = 0; i < report.balances.size(); ++i) {
    const AccountBalance& b = report.balances[i];
    out += (i ? "," : "") + std::string("{\"account\":\"") + b.id +
           "\",\"kind\":" + std::to_string(b.kind) + ",\"value\":" + decimal(b.value, "null") + "}";
  }
  out += "]";
  if (report.withLog) {
    out += ",\"log\":[";
    for (std::size_t i = 0; i < report.log.size(); ++i) {
      const LogRow& row = report.log[i];
      const std::optional<double> value = row.cost.empty() ? std::nullopt : parseDecimal(row.cost);
      const std::string cost = value ? formatGeneral(*value, kPoint) : "null";
      out += (i ? "," : "") + std::string("{\"start\":") + jsonString(row.start) +
             ",\"end\":" + jsonString(row.end) + ",\"seconds\":" + std::to_string(row.seconds) +
             ",\"cost\":" + cost + ",\"outcome\":\"" + row.outcome +
             "\",\"entry\":" + jsonString(row.entry) + "}";
    }
    out += "]";
  }
  return out + "}\n";
}

}  // namespace

ReportWriter::ReportWriter(std::ostream& out, Format format, NumberFormat textNumbers, bool withLog)
    : out_(out), format_(format), textNumbers_(textNumbers), withLog_(withLog) {}

void ReportWriter::start() {
  if (started_) return;
  started_ = true;
  if (format_ == Format::Csv) out_ << csvHead(withLog_);
  if (format_ == Format::Json) out_ << "{\"entries\":[";
}

void ReportWriter::entry(const EntryReport& e) {
  start();
  switch (format_) {
    case Format::Csv:
      if (!withLog_) out_ << csvEntry(e);
      break;
    case Format::Json:
      out_ << (entries_ ? "," : "") << jsonEntry(e);
      break;
    case Format::Text:
      out_ << textEntry(e, textNumbers_);
      break;
  }
  ++entries_;
}

void ReportWriter::finish(const Report& rest) {
  start();
  switch (format_) {
    case Format::Csv:
      out_ << csvEnd(rest);
      break;
    case Format::Json:
      out_ << jsonEnd(rest);
      break;
    case Format::Text:
      out_ << textEnd(rest, textNumbers_);
      break;
  }
}

std::string formatReport(const Report& report, Format format, NumberFormat textNumbers) {
  std::ostringstream out;
  ReportWriter writer(out, format, textNumbers, report.withLog);
  for (const EntryReport& e : report.entries) writer.entry(e);
  writer.finish(report);
  return out.str();
}

}  // namespace tarvik::report
