#include "stats/statistics_sheet.h"

#include "config/ini_file.h"
#include "platform/time_text.h"

namespace tarvik {

namespace {

namespace s = stats_keys;

const std::vector<SheetRow>& rows() {
  static const std::vector<SheetRow> table{
      {"tim",
       CellFormat::Duration,
       {s::kTimeTC, s::kTimeTD, s::kTimeTW, s::kTimeTM, s::kTimePC, s::kTimePD, s::kTimePW,
        s::kTimePM, s::kTimeTT}},
      {"exp",
       CellFormat::Money,
       {s::kMoneyTC, s::kMoneyTD, s::kMoneyTW, s::kMoneyTM, s::kMoneyPC, s::kMoneyPD, s::kMoneyPW,
        s::kMoneyPM, s::kMoneyTT}},
      {"num",
       CellFormat::Count,
       {std::nullopt, s::kCountTD, s::kCountTW, s::kCountTM, std::nullopt, s::kCountPD, s::kCountPW,
        s::kCountPM, s::kCountTT}},
  };
  return table;
}

// The shown text of one stored value.
std::string cellText(const IniFile& file, const std::string& section, CellFormat format,
                     const s::K& key, const NumberFormat& number) {
  switch (format) {
    case CellFormat::Duration:
      return durationCellText(file.readInt(section, key.name, 0));
    case CellFormat::Money:
      return moneyCellText(file.readString(section, key.name, key.def), number);
    case CellFormat::Count:
      break;
  }
  return file.readString(section, key.name, key.def);
}

}  // namespace

std::span<const SheetRow> sheetRows() {
  return rows();
}

std::string cellName(const SheetRow& row, int column) {
  return "st_" + std::string(row.tag) + "_" + std::string(kSheetColumnTags.at(column));
}

std::string durationCellText(long long seconds) {
  return durationText(seconds);
}

std::string moneyCellText(std::string_view storedHundredths, const NumberFormat& format) {
  const std::optional<double> hundredths = parseDecimal(storedHundredths);
  if (!hundredths) return cutToSix(storedHundredths);
  return cutToSix(formatGeneral(*hundredths * 0.01, format));
}

std::string StatisticsSheet::text(std::string_view name) const {
  for (const Cell& cell : cells)
    if (cell.name == name) return cell.text;
  return {};
}

StatisticsSheet readStatisticsSheet(const ProgramFiles& files, std::string_view entry,
                                    const NumberFormat& format) {
  const IniFile statistics(files.statistics());
  const std::string section = sections::statistics(entry).name();
  StatisticsSheet sheet;
  for (const SheetRow& row : rows()) {
    for (int column = 0; column < kSheetColumns; ++column) {
      const auto& key = row.keys[column];
      sheet.cells.push_back({cellName(row, column),
                             key ? cellText(statistics, section, row.format, *key, format) : "-"});
    }
  }
  sheet.undoAvailable = statistics.readInt(section, s::kUndo.name, 0) != 0;
  sheet.accountText =
      readKey(IniFile(files.accounts()), sections::balance(entry), balance_keys::kAccount);
  return sheet;
}

}  // namespace tarvik
