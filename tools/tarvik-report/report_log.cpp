#include "tools/tarvik-report/report_log.h"

#include <cerrno>
#include <charconv>
#include <cstdio>

#include "config/codepage.h"
#include "config/regular_file.h"
#include "platform/clock.h"

namespace tarvik::report {

namespace {

// Digits only, all of them.
std::optional<int> digits(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0)
    return std::nullopt;
  return value;
}

// "dd.mm.yyyy hh:nn:ss"
std::optional<LocalTime> stamp(std::string_view text) {
  if (text.size() != 19 || text[2] != '.' || text[5] != '.' || text[10] != ' ' || text[13] != ':' ||
      text[16] != ':')
    return std::nullopt;
  const auto d = digits(text.substr(0, 2)), mo = digits(text.substr(3, 2)),
             y = digits(text.substr(6, 4)), h = digits(text.substr(11, 2)),
             mi = digits(text.substr(14, 2)), s = digits(text.substr(17, 2));
  if (!d || !mo || !y || !h || !mi || !s || *mo < 1 || *mo > 12 || *d < 1 || *d > 31 || *h > 23 ||
      *mi > 59 || *s > 59)
    return std::nullopt;
  return makeLocalTime(*y, *mo, *d, *h, *mi, *s);
}

// "hh:nn:ss" with at least two hour digits.
std::optional<long long> duration(std::string_view text) {
  const auto colon = text.find(':');
  if (colon == std::string_view::npos || text.size() != colon + 6 || text[colon + 3] != ':')
    return std::nullopt;
  const auto h = digits(text.substr(0, colon)), m = digits(text.substr(colon + 1, 2)),
             s = digits(text.substr(colon + 4, 2));
  if (!h || !m || !s || *m > 59 || *s > 59) return std::nullopt;
  return static_cast<long long>(*h) * 3600 + *m * 60 + *s;
}

std::string stampText(const LocalTime& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d.%02d.%04d %02d:%02d:%02d", t.day, t.month, t.year, t.hour,
                t.minute, t.second);
  return text;
}

std::string_view trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::optional<LogRow> parseQuickLogLine(std::string_view line) {
  // "06.12.2026 21:10:41 = 00:00:30 + [$ | ~0.2083 | =99.791 ] <Default>"
  if (line.size() < 19 + 3) return std::nullopt;
  const auto start = stamp(line.substr(0, 19));
  if (!start || line.substr(19, 3) != " = ") return std::nullopt;
  std::string_view rest = line.substr(22);
  const auto blank = rest.find(' ');
  if (blank == std::string_view::npos) return std::nullopt;
  const auto seconds = duration(rest.substr(0, blank));
  rest = rest.substr(blank);
  if (!seconds || rest.size() < 4 || (rest.substr(0, 4) != " + [" && rest.substr(0, 4) != " - ["))
    return std::nullopt;
  const bool failed = rest[1] == '-';
  // The first "] <" closes the figures: the entry's name after it may hold one of its own
  // ("Office [VPN] <main>"), the program's figures never do.
  const auto close = rest.find("] <", 4);
  if (close == std::string_view::npos || !rest.ends_with('>')) return std::nullopt;
  const std::string_view inside = rest.substr(4, close - 4);

  LogRow row;
  row.start = stampText(*start);
  row.end = stampText(fromLocalMs(toLocalMs(*start) + *seconds * 1000));
  row.seconds = *seconds;
  row.entry = std::string(rest.substr(close + 3, rest.size() - close - 4));
  if (failed) {
    row.outcome = "failed";
  } else if (inside == "user aborts connection") {
    row.outcome = "aborted";
  } else {
    // "$ | ~0.2083 | =99.791 ": the cost is the figure after the tilde.
    const auto tilde = inside.find('~');
    if (tilde == std::string_view::npos) return std::nullopt;
    const auto bar = inside.find('|', tilde);
    row.cost = std::string(trimmed(inside.substr(tilde + 1, bar - tilde - 1)));
    row.outcome = "booked";
  }
  return row;
}

std::vector<LogRow> readQuickLog(const std::filesystem::path& file) {
  FileRead read = readRegularFile(file);
  if (read.error != 0 && read.error != ENOENT && read.error != ENOTDIR)
    throw ReportError("cannot read " + file.string() + ": " + readErrorText(read.error));
  const std::string text = cp1251ToUtf8(read.bytes);
  std::string().swap(read.bytes);
  std::vector<LogRow> rows;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + at, end - at);
    while (line.ends_with('\r')) line.remove_suffix(1);
    if (auto row = parseQuickLogLine(line)) rows.push_back(std::move(*row));
    at = end + 1;
  }
  return rows;
}

}  // namespace tarvik::report
