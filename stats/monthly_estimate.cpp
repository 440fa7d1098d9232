#include "stats/monthly_estimate.h"

#include <cmath>
#include <optional>

#include "config/number_text.h"

namespace tarvik {

namespace {

constexpr unsigned kLime = 0x00FF00;
constexpr unsigned kYellow = 0xFFFF00;
constexpr unsigned kRed = 0xFF0000;
constexpr unsigned kWhite = 0xFFFFFF;
constexpr int kDaysPerMonth = 30;
constexpr long long kFarOverMargin = 10;

// The cell shows at most two decimals of a whole-unit amount; a nudge before truncating keeps
// 0,29 from becoming 28 hundredths through binary noise.
std::optional<long long> hundredths(std::string_view text) {
  const std::optional<double> units = parseDecimal(text);
  if (!units || std::fabs(*units) > 1e15) return std::nullopt;
  const double scaled = *units * 100;
  return static_cast<long long>(std::trunc(scaled + std::copysign(1e-6, scaled)));
}

}  // namespace

MonthEstimate estimateMonth(int limitHundredths, std::string_view spentText, int dayOfMonth) {
  const std::optional<long long> spent = hundredths(spentText);
  if (!spent) return {MonthState::Unreadable, "ОШИБКА ЧТЕНИЯ ДАННЬIХ", kWhite};
  const long long budget = static_cast<long long>(dayOfMonth) * (limitHundredths / kDaysPerMonth);
  if (*spent > budget + kFarOverMargin) return {MonthState::FarOver, "СИЛЬНОЕ  ПРЕВЬIШЕНИЕ", kRed};
  if (*spent > budget) return {MonthState::Over, "ПРЕВЬIШЕНИЕ", kYellow};
  return {MonthState::Ok, "СОСТОЯНИЕ = OK", kLime};
}

}  // namespace tarvik
