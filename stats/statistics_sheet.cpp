#include "stats/statistics_sheet.h"

#include "config/ini_file.h"
#include "platform/time_text.h"
#include "platform/volume_text.h"
#include "stats/span_markers.h"

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
      {"vol",
       CellFormat::Volume,
       {s::kRxTC, s::kRxTD, s::kRxTW, s::kRxTM, s::kRxPC, s::kRxPD, s::kRxPW, s::kRxPM, s::kRxTT},
       {s::kTxTC, s::kTxTD, s::kTxTW, s::kTxTM, s::kTxPC, s::kTxPD, s::kTxPW, s::kTxPM, s::kTxTT}},
  };
  return table;
}

// The shown text of one cell.
std::string cellText(const IniFile& file, const std::string& section, const SheetRow& row,
                     int column, const NumberFormat& number) {
  const auto& key = row.keys[column];
  if (!key) return "-";
  const auto stored = [&](const s::K& k) { return file.readString(section, k.name, k.def); };
  switch (row.format) {
    case CellFormat::Duration:
      return durationCellText(file.readInt(section, key->name, 0));
    case CellFormat::Money:
      return moneyCellText(stored(*key), number);
    case CellFormat::Volume:
      return volumeCellText(stored(*key), stored(*row.sentKeys[column]), number);
    case CellFormat::Count:
      break;
  }
  return stored(*key);
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
  return cutToSix(formatMoney(*hundredths * 0.01, format));
}

std::string volumeCellText(std::string_view storedReceived, std::string_view storedSent,
                           const NumberFormat& format) {
  return byteText(storedBytes(storedReceived), format) + "\n" +
         byteText(storedBytes(storedSent), format);
}

std::string StatisticsSheet::text(std::string_view name) const {
  for (const Cell& cell : cells)
    if (cell.name == name) return cell.text;
  return {};
}

StatisticsSheet readStatisticsSheet(const ProgramFiles& files, std::string_view entry,
                                    const NumberFormat& format, const PendingBalances* pending) {
  const IniFile statistics(files.statistics());
  const std::string section = sections::statistics(entry).name();
  StatisticsSheet sheet;
  for (const SheetRow& row : rows()) {
    for (int column = 0; column < kSheetColumns; ++column)
      sheet.cells.push_back(
          {cellName(row, column), cellText(statistics, section, row, column, format)});
  }
  sheet.undoAvailable = statistics.readInt(section, s::kUndo.name, 0) != 0;
  sheet.accountText = shownBalanceText(IniFile(files.accounts()),
                                       accountKey(entry, kAccountIndividual), pending, format);
  return sheet;
}

}  // namespace tarvik
