#include "stats/statistics_report.h"

#include <array>

#include "config/codepage.h"
#include "config/file_replace.h"
#include "config/ini_write_error.h"
#include "platform/time_text.h"

namespace tarvik {

namespace {

const std::string kRule(45, '-');
constexpr std::size_t kMoneyWidth = 7;

struct ReportRow {
  const char* label;
  const char* column;  // the grid column the row reports
};
constexpr std::array<ReportRow, 7> kRows{{
    {"Текущий день      | ", "td"},
    {"Предыдущий день   | ", "pd"},
    {"Текущая неделя    | ", "tw"},
    {"Предыдущая неделя | ", "pw"},
    {"Текущий месяц     | ", "tm"},
    {"Предыдущий месяц  | ", "pm"},
    {"Итог              | ", "tt"},
}};

std::size_t characters(std::string_view utf8) {
  std::size_t count = 0;
  for (const char c : utf8) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

// The money cell padded with blanks to its column, then the separator.
std::string moneyColumn(std::string text) {
  const std::size_t width = characters(text);
  if (width < kMoneyWidth) text.append(kMoneyWidth - width, ' ');
  return text + "| ";
}

std::string dateText(const LocalTime& t) {
  return twoDigits(t.day) + "." + twoDigits(t.month) + "." + std::to_string(t.year);
}

}  // namespace

std::vector<std::string> reportLines(const ReportHeader& header, const StatisticsSheet& cells) {
  std::vector<std::string> lines{
      kRule,
      "     T a r v i k",
      kRule,
      "Дата статистики: " + dateText(header.now) + ", " + header.weekdayShortName,
      "Время создания: " + twoDigits(header.now.hour) + ":" + twoDigits(header.now.minute) + ":" +
          twoDigits(header.now.second),
      "Учётная запись: " + header.entry,
      // The first letter is a Latin C, as the report has always been written.
      "Cостояние счёта: " + header.currencySign + " " + header.accountText,
      kRule,
  };
  for (const ReportRow& row : kRows) {
    const std::string column = row.column;
    lines.push_back(row.label + cells.text("st_tim_" + column) + " | " +
                    moneyColumn(cells.text("st_exp_" + column)) + cells.text("st_num_" + column));
  }
  lines.push_back(kRule);
  lines.push_back(std::string(kHomePage) + "    Tarvik v" + TARVIK_VERSION);
  return lines;
}

std::string reportText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

std::string reportBytes(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return utf8ToCp1251(text);
}

bool writeReport(const std::filesystem::path& file, const std::vector<std::string>& lines) {
  try {
    replaceFile(file, reportBytes(lines));
    return true;
  } catch (const IniWriteError&) {
    return false;
  }
}

std::string reportFileName(const LocalTime& today) {
  return "tarvik_" + dateText(today) + ".txt";
}

}  // namespace tarvik
