#include "tools/tarvik-report/report_output.h"

#include <cmath>
#include <cstdio>

#include "platform/time_text.h"
#include "platform/volume_text.h"

namespace tarvik::report {

namespace {

const NumberFormat kPoint{'.'};

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
// escape sequence) would act on the terminal instead of being shown.
std::string shown(std::string name) {
  for (char& c : name)
    if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F') c = '?';
  return name;
}

std::string text(const Report& report, NumberFormat format) {
  std::string out;
  for (const EntryReport& e : report.entries) {
    out += shown(e.name) + "\n";
    out += "  счёт: " + money2(e.account, format) + " " + e.currencySign + "\n";
    out += "  " + padRight("период", 24) + padLeft("время", 10) +
           padLeft("деньги, " + e.currencySign, 14) + padLeft("соед.", 7) + padLeft("принято", 12) +
           padLeft("передано", 12) + "\n";
    for (const SpanFigures& s : e.spans) {
      out += "  " + padRight(s.label, 24) +
             padLeft(s.seconds ? durationText(*s.seconds) : "?", 10) +
             padLeft(money2(units(s.money), format), 14) +
             padLeft(number(s.count, s.counted ? "?" : "-"), 7) +
             padLeft(bytes(s.received, format), 12) + padLeft(bytes(s.sent, format), 12) + "\n";
    }
    out += "\n";
  }
  out += "Счета\n";
  for (const AccountBalance& b : report.balances)
    out += "  " + padRight(b.label, 26) + padLeft(money2(b.value, format), 12) + "\n";
  if (report.withLog) {
    out += "\nСоединения\n";
    out += "  " + padRight("начало", 21) + padRight("конец", 21) + padLeft("длительность", 12) +
           padLeft("стоимость", 16) + "  запись\n";
    for (const LogRow& row : report.log) {
      const std::optional<double> value = parseDecimal(row.cost);
      const std::string booked = value ? formatGeneral(*value, format) : row.cost;
      const std::string cost = row.outcome == "booked"   ? booked
                               : row.outcome == "failed" ? "не установлено"
                                                         : "прервано";
      out += "  " + padRight(row.start, 21) + padRight(row.end, 21) +
             padLeft(durationText(row.seconds), 12) + padLeft(cost, 16) + "  " + shown(row.entry) +
             "\n";
    }
  }
  return out;
}

// --- csv ---

std::string csvField(const std::string& value) {
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

std::string csv(const Report& report) {
  std::string out;
  if (report.withLog) {
    out = "start,end,seconds,cost,outcome,entry\n";
    for (const LogRow& row : report.log) {
      out += row.start + "," + row.end + "," + std::to_string(row.seconds) + "," + logCost(row) +
             "," + row.outcome + "," + csvField(row.entry) + "\n";
    }
    return out;
  }
  out = "entry,span,seconds,money,currency,count,received,sent\n";
  for (const EntryReport& e : report.entries) {
    for (const SpanFigures& s : e.spans) {
      out += csvField(e.name) + "," + s.id + "," + number(s.seconds, "") + "," +
             decimal(units(s.money), "") + "," + csvField(e.currencySign) + "," +
             number(s.count, "") + "," + number(s.received, "") + "," + number(s.sent, "") + "\n";
    }
    out += csvField(e.name) + ",account,," + decimal(e.account, "") + "," +
           csvField(e.currencySign) + ",,,\n";
  }
  for (const AccountBalance& b : report.balances)
    out += ",account:" + b.id + ",," + decimal(b.value, "") + ",,,,\n";
  return out;
}

// --- json ---

std::string jsonString(std::string_view value) {
  std::string out = "\"";
  for (const char c : value) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string json(const Report& report) {
  std::string out = "{\"entries\":[";
  for (std::size_t i = 0; i < report.entries.size(); ++i) {
    const EntryReport& e = report.entries[i];
    out += (i ? "," : "") + std::string("{\"name\":") + jsonString(e.name) +
           ",\"currency\":" + jsonString(e.currencySign) +
           ",\"account\":" + decimal(e.account, "null") + ",\"spans\":[";
    for (std::size_t j = 0; j < e.spans.size(); ++j) {
      const SpanFigures& s = e.spans[j];
      out += (j ? "," : "") + std::string("{\"span\":\"") + s.id +
             "\",\"seconds\":" + number(s.seconds, "null") +
             ",\"money\":" + decimal(units(s.money), "null") +
             ",\"count\":" + number(s.count, "null") +
             ",\"received\":" + number(s.received, "null") + ",\"sent\":" + number(s.sent, "null") +
             "}";
    }
    out += "]}";
  }
  out += "],\"balances\":[";
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

std::string formatReport(const Report& report, Format format, NumberFormat textNumbers) {
  switch (format) {
    case Format::Csv:
      return csv(report);
    case Format::Json:
      return json(report);
    case Format::Text:
      break;
  }
  return text(report, textNumbers);
}

}  // namespace tarvik::report
