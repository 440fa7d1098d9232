#include "stats/currency_names.h"

#include <gtest/gtest.h>

#include "stats/month_outlook.h"

namespace tarvik {
namespace {

// Each currency names its money on every page: the display list (hundredths first) and the
// captions derived from its signs; the custom one is whatever the user typed.
TEST(CurrencyNamesTest, EveryCaptionFollowsTheCurrency) {
  const CurrencyNames custom{"ЛИТЫ", "Lt", "ЦЕНТАЙ", "ct"};
  const CurrencyNames dollars = currencyNames(0, custom);
  EXPECT_EQ(moneyDisplayItems(dollars)[0], "(ц)   ЦЕНТЬI");
  EXPECT_EQ(moneyDisplayItems(dollars)[1], "($)   ДОЛЛАРЬI");
  const CurrencyNames roubles = currencyNames(1, custom);
  EXPECT_EQ(moneyDisplayItems(roubles)[0], "(k)   КОПЕЙКИ");
  EXPECT_EQ(moneyDisplayItems(roubles)[1], "(p)   РУБЛИ");
  const CurrencyCaptions r = currencyCaptions(roubles);
  EXPECT_EQ(r.tariffUnit, "k / ЧАС");
  EXPECT_EQ(r.monthUnit, "k / МЕСЯЦ");
  EXPECT_EQ(r.expensesHeader, " ФИНАНСОВЬIЕ  ЗАТРАТЬI  (p)");
  EXPECT_EQ(r.accountLabel, " СЧЕТ   >>>   p");
  EXPECT_EQ(r.axisWhole, "ось Y:  ДЕНЬГИ  p");
  EXPECT_EQ(r.axisHundredths, "ось Y:  ДЕНЬГИ  k");
  EXPECT_EQ(r.warningUnit, "[ (k)   КОПЕЙКИ ]");
  EXPECT_EQ(currencyCaptions(currencyNames(2, custom)).warningUnit, "[ (ct)   ЦЕНТАЙ ]");
  // A hand-edited index outside the choice shows dollars.
  EXPECT_EQ(currencyNames(7, custom).sign, "$");
  EXPECT_EQ(currencyItems("ЛИТЫ")[2], "ЛИТЫ");
  EXPECT_EQ(defaultCustomCurrency().hundredthSign, "т.");
}

// The budget so far is the day times a whole daily share of the monthly limit; up to 10
// hundredths over it is a warning, beyond that a strong one.
TEST(CurrencyNamesTest, MonthlyEstimateAgainstTheBudgetSoFar) {
  // Limit 250, day 10: 8 a day, 80 so far.
  EXPECT_EQ(monthOutlook(250, "0,8", 10), MonthOutlook::Ok);
  EXPECT_EQ(monthOutlook(250, "0,81", 10), MonthOutlook::Over);
  EXPECT_EQ(monthOutlook(250, "0,9", 10), MonthOutlook::Over);
  EXPECT_EQ(monthOutlook(250, "0,91", 10), MonthOutlook::FarOver);
  // A daily share of 1 for the smallest limit, 1000 for the largest, and more than the
  // limit itself on the 31st.
  EXPECT_EQ(monthOutlook(50, "0,01", 1), MonthOutlook::Ok);
  EXPECT_EQ(monthOutlook(50, "0,02", 1), MonthOutlook::Over);
  EXPECT_EQ(monthOutlook(30000, "310", 31), MonthOutlook::Ok);
  EXPECT_EQ(monthOutlook(30000, "310,01", 31), MonthOutlook::Over);
  // Decimal fractions count as written, not as their binary neighbours: 0,29 is 29.
  EXPECT_EQ(monthOutlook(870, "0,29", 1), MonthOutlook::Ok);
  EXPECT_EQ(monthOutlook(870, "0.29", 1), MonthOutlook::Ok);
  EXPECT_EQ(monthOutlook(250, "-5", 1), MonthOutlook::Ok);
  for (const char* unreadable : {"", "abc", "1,5,0", "1e300"})
    EXPECT_EQ(monthOutlook(250, unreadable, 1), MonthOutlook::Unreadable) << unreadable;
  EXPECT_EQ(monthOutlookCaption(MonthOutlook::Ok), "СОСТОЯНИЕ = OK");
  EXPECT_EQ(monthOutlookCaption(MonthOutlook::Over), "ПРЕВЬIШЕНИЕ");
  EXPECT_EQ(monthOutlookCaption(MonthOutlook::FarOver), "СИЛЬНОЕ  ПРЕВЬIШЕНИЕ");
  EXPECT_EQ(monthOutlookCaption(MonthOutlook::Unreadable), "ОШИБКА ЧТЕНИЯ ДАННЬIХ");
}

}  // namespace
}  // namespace tarvik
