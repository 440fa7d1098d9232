#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/keys.h"
#include "config/number_text.h"
#include "config/program_files.h"
#include "stats/accounts.h"

namespace tarvik {

// How a row of the statistics grid shows its keys.
enum class CellFormat {
  Duration,  // seconds as hh:mm:ss, at least two hour digits
  Money,     // hundredths as whole units, a money text cut to six characters
  Count,     // the text as stored
  Volume,    // bytes received above bytes sent, as the tooltips write them: "12,4 МБ"
};

// The columns of the grid: current connection, day, week, month, the previous ones, and all
// time. Cells are named "st_" + row tag + "_" + column tag.
inline constexpr int kSheetColumns = 9;
inline constexpr std::array<std::string_view, kSheetColumns> kSheetColumnTags{
    "tc", "td", "tw", "tm", "pc", "pd", "pw", "pm", "tt"};

// One row of the grid. A column without a key (no count per connection) shows "-". The
// volume row reads the received bytes from `keys` and the sent ones from `sentKeys`.
struct SheetRow {
  std::string_view tag;  // "tim", "exp", "num", "vol"
  CellFormat format;
  std::array<std::optional<stats_keys::K>, kSheetColumns> keys;
  std::array<std::optional<stats_keys::K>, kSheetColumns> sentKeys{};
};

// The rows in the order the page shows them.
std::span<const SheetRow> sheetRows();

// "st_" + row tag + "_" + column tag.
std::string cellName(const SheetRow& row, int column);

// Cell texts.
std::string durationCellText(long long seconds);
// Hundredths times 0.01 as a money text, cut (not rounded) to six characters. A stored
// text that is not a number is shown as it is, cut the same way.
std::string moneyCellText(std::string_view storedHundredths, const NumberFormat& format);
// Stored byte counts; a text that is not a whole number of bytes counts as none.
std::string volumeCellText(std::string_view storedReceived, std::string_view storedSent,
                           const NumberFormat& format);

// What Show statistics puts on the page for one entry.
struct StatisticsSheet {
  struct Cell {
    std::string name;
    std::string text;
  };
  std::vector<Cell> cells;
  bool undoAvailable = false;  // "Undo" is not 0
  std::string accountText;     // the entry's own "Account" as stored

  // The text of the named cell, "" when there is none.
  std::string text(std::string_view cellName) const;
};

// Reads the entry's section of the statistics file and its own balance (as a booking still
// waiting will leave it, when `pending` knows one).
StatisticsSheet readStatisticsSheet(const ProgramFiles& files, std::string_view entry,
                                    const NumberFormat& format,
                                    const PendingBalances* pending = nullptr);

}  // namespace tarvik
