#include "stats/month_outlook.h"

#include <cmath>
#include <optional>

#include "config/number_text.h"

namespace tarvik {

namespace {

constexpr int kDaysPerMonth = 30;
constexpr long long kFarOverMargin = 10;

// Whole units to hundredths, cut toward zero. The text is a decimal fraction, so a tiny
// allowance keeps 0,29 from becoming 28 through its binary neighbour 0,28999...
std::optional<long long> toHundredths(std::string_view text) {
  const std::optional<double> units = parseDecimal(text);
  if (!units) return std::nullopt;
  const double hundredths = *units * 100.0;
  if (!(std::fabs(hundredths) < 9e15)) return std::nullopt;
  constexpr double kAllowance = 1e-6;
  return static_cast<long long>(hundredths >= 0 ? hundredths + kAllowance
                                                : hundredths - kAllowance);
}

}  // namespace

std::string shownMonthMoney(std::string_view storedHundredths) {
  const std::optional<double> hundredths = parseDecimal(storedHundredths);
  if (!hundredths) return std::string(storedHundredths);
  return sixText(*hundredths * 0.01, NumberFormat{});
}

MonthOutlook monthOutlook(int limit, std::string_view monthMoney, int dayOfMonth) {
  const std::optional<long long> spent = toHundredths(monthMoney);
  if (!spent) return MonthOutlook::Unreadable;
  const long long budget = static_cast<long long>(dayOfMonth) * (limit / kDaysPerMonth);
  if (*spent > budget + kFarOverMargin) return MonthOutlook::FarOver;
  if (*spent > budget) return MonthOutlook::Over;
  return MonthOutlook::Ok;
}

std::string_view monthOutlookCaption(MonthOutlook state) {
  switch (state) {
    case MonthOutlook::Ok:
      return "СОСТОЯНИЕ = OK";
    case MonthOutlook::Over:
      return "ПРЕВЬIШЕНИЕ";
    case MonthOutlook::FarOver:
      return "СИЛЬНОЕ  ПРЕВЬIШЕНИЕ";
    case MonthOutlook::Unreadable:
      break;
  }
  return "ОШИБКА ЧТЕНИЯ ДАННЬIХ";
}

}  // namespace tarvik
