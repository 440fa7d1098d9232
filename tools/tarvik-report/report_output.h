#pragma once

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

}  // namespace tarvik::report
