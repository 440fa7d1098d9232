#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tariff/tariff.h"

namespace tarvik {

// The tariff tester: one lookup in the editor's list for every minute of the day, so that a
// minute no period covers shows before the meter would charge it as "Error!".
inline constexpr int kMinutesPerDay = 24 * 60;

struct TariffTestResult {
  // One line per minute from 00:00 to 23:59, e.g. "07:59 = 0/ч (тариф #-1 «Error!»)".
  std::vector<std::string> lines;
  // The period found for each minute, -1 where none covers it.
  std::vector<int> periods;
  // The minutes no period covers.
  int gaps = 0;

  bool failed() const { return gaps > 0; }
};

// The line of one minute: the cost per hour found and the period's number and name.
std::string testerLine(int hour, int minute, int period, const CurrentTariff& found);

// Looks up every minute of the day in the period texts, saved or not. Overlaps are no fault:
// the later period wins as it does for the meter.
TariffTestResult testDayPlan(const std::vector<std::string>& periodTexts);

// What the tester writes to the event log and shows.
namespace tester_texts {
inline constexpr std::string_view kStartLine = " Testing tariff...";
inline constexpr std::string_view kFailedLine = " Failed. Tariff data errors found.";
inline constexpr std::string_view kSuccessLine = " Success. Tariff data has no errors.";
inline constexpr std::string_view kFailedMessage =
    "Введённый тариф содержит ошибки.\nУбедитесь, что все 24 часа задействованы.";
inline constexpr std::string_view kSuccessMessage = "Введённый тариф НЕ содержит явных ошибок.";
// The tunes played after a test.
inline constexpr int kSuccessTune = 1;
inline constexpr int kFailedTune = 2;
}  // namespace tester_texts

}  // namespace tarvik
