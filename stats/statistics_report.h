#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "stats/statistics_sheet.h"

namespace tarvik {

// The program's home page, on the report's last line.
inline constexpr std::string_view kHomePage = "https://tarvik.example.org/";

// What a report states besides the grid's cells.
struct ReportHeader {
  LocalTime now;
  std::string weekdayShortName;  // the locale's short name of now's weekday
  std::string entry;
  std::string currencySign;
  std::string accountText;  // the balance field as shown
};

// The report's seventeen lines, from the cells as the page shows them.
std::vector<std::string> reportLines(const ReportHeader& header, const StatisticsSheet& cells);

// The lines as the file holds them: code page 1251, every line ended by CR LF.
std::string reportBytes(const std::vector<std::string>& lines);
// The lines joined by "\n", for the clipboard.
std::string reportText(const std::vector<std::string>& lines);

// Replaces `file` with the report; false when it cannot be written.
bool writeReport(const std::filesystem::path& file, const std::vector<std::string>& lines);

// The name the save dialog offers: "tarvik_dd.mm.yyyy.txt".
std::string reportFileName(const LocalTime& today);

}  // namespace tarvik
