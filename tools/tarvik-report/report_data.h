#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "config/ini_file.h"

namespace tarvik::report {

// Why a report cannot be made: an unknown entry, a file that cannot be read.
class ReportError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One span of an entry's statistics. A value that is no number in the file is nullopt.
struct SpanFigures {
  std::string id;     // "connection", "prev_connection", "day", ..., "total"
  std::string label;  // the readable name of the text table
  std::optional<long long> seconds;
  std::optional<double> money;     // hundredths of the entry's currency
  std::optional<long long> count;  // nullopt also for the connection spans, which have none
  bool counted = true;             // false for the connection spans
  std::optional<long long> received;
  std::optional<long long> sent;
};

struct EntryReport {
  std::string name;  // the entry's section
  std::string currencySign = "$";
  std::string costUnit = "ц";
  std::optional<double> account;  // its own balance, in currency units
  std::vector<SpanFigures> spans;
};

// A balance of one account kind (1 to 5; an entry's own account, kind 0, is in its report).
struct AccountBalance {
  int kind = 0;
  std::string id;     // "default", "single", "group1" ...
  std::string label;  // the readable name
  std::optional<double> value;
};

// One finished line of the quick log.
struct LogRow {
  std::string start;  // "dd.mm.yyyy hh:nn:ss"
  std::string end;
  long long seconds = 0;
  std::string cost;     // as the log shows it, in currency units; "" when nothing was booked
  std::string outcome;  // "booked", "failed" (never established) or "aborted"
  std::string entry;
};

struct Report {
  std::vector<EntryReport> entries;
  std::vector<AccountBalance> balances;
  bool withLog = false;
  std::vector<LogRow> log;
};

// Reads the program directory without writing anything: every file is read and parsed once, and
// each is replaced as a whole by the program, so a read while it runs sees one state of each file.
// `entry` limits the report (and the log) to one entry. Throws ReportError.
Report readReport(const std::filesystem::path& dir, const std::optional<std::string>& entry,
                  bool withLog);
// The same, handing each entry's report to `onEntry` as soon as it is read instead of keeping
// it: a statistics file of a great many entries is never held as reports all at once. The
// returned report holds the balances and the log.
Report readReport(const std::filesystem::path& dir, const std::optional<std::string>& entry,
                  bool withLog, const std::function<void(EntryReport)>& onEntry);

// A data file as the program reads it (code page 1251, or another encoding its byte-order
// mark announces); a missing file is empty. Anything but a regular file of at most the
// program's size cap throws ReportError.
IniDocument readDataFile(const std::filesystem::path& file);

}  // namespace tarvik::report
