#pragma once

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "tools/tarvik-report/report_data.h"

namespace tarvik::report {

// One line of the quick log (code page 1251 already decoded) as a row, or nullopt for the
// header, empty lines, a line still open and anything else that is not a finished connection.
std::optional<LogRow> parseQuickLogLine(std::string_view line);

// The finished connections of Velk.TxT in file order; a missing file has none.
std::vector<LogRow> readQuickLog(const std::filesystem::path& file);

}  // namespace tarvik::report
