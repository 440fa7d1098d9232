#pragma once

#include <ostream>
#include <string>

#include "config/number_text.h"
#include "tools/tarvik-report/report_data.h"

namespace tarvik::report {

enum class Format { Text, Csv, Json };

// The report in UTF-8. Text is a table for people, with durations as hh:mm:ss, money in
// currency units with `textNumbers`' decimal separator and volumes in binary units. Csv (a
// header row, then one row per span and per balance, or with the log one row per connection)
// and json (one object) give plain numbers with a decimal point: seconds, money in currency
// units, bytes.
std::string formatReport(const Report& report, Format format, NumberFormat textNumbers);

// The same report written piece by piece as the entries are read: nothing is written before
// the first entry or finish(), so a report that fails while its files are read leaves no
// half. Texts from the files are written to the table and to json as valid UTF-8 without
// control characters (the table shows "?" for one, json escapes it); a csv cell that would
// start a formula starts with a quote.
class ReportWriter {
 public:
  ReportWriter(std::ostream& out, Format format, NumberFormat textNumbers, bool withLog);
  void entry(const EntryReport& e);
  // The balances and the log of `rest` (its entries are not looked at).
  void finish(const Report& rest);

 private:
  void start();

  std::ostream& out_;
  Format format_;
  NumberFormat textNumbers_;
  bool withLog_;
  bool started_ = false;
  std::size_t entries_ = 0;
};

}  // namespace tarvik::report
