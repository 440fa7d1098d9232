#include "status/display_text.h"

#include <gtest/gtest.h>

namespace tarvik {
namespace {

const NumberFormat kComma{','};
const NumberFormat kPoint{'.'};

TEST(MoneyText, ExpensesInHundredthsOrUnits) {
  DisplaySettings s;
  EXPECT_EQ(moneyText(s, 0, 1234, kComma), "1234");
  s.currencyDisplay = true;
  EXPECT_EQ(moneyText(s, 0, 1234, kComma), "12,34");
  EXPECT_EQ(moneyText(s, 0, 1234, kPoint), "12.34");
  EXPECT_EQ(moneyText(s, 0, 0, kComma), "0");
}

TEST(MoneyText, BalanceNegatedOnlyUnderCredit) {
  DisplaySettings s;
  s.accountDisplay = true;
  EXPECT_EQ(moneyText(s, 15.5f, 999, kComma), "15,5");
  s.credit = true;
  EXPECT_EQ(moneyText(s, 15.5f, 999, kComma), "-15,5");
  s.credit = false;
  EXPECT_EQ(moneyText(s, 1234.5678f, 0, kComma), "1234,5");
  // Credit changes only the account display, never the expenses.
  s.accountDisplay = false;
  s.credit = true;
  EXPECT_EQ(moneyText(s, 15.5f, 85, kComma), "85");
}

TEST(CurrencyAndTariffText, FollowTheEntrySettings) {
  DisplaySettings s;
  EXPECT_EQ(currencyText(s), "ц");
  s.currencyDisplay = true;
  s.currencyA = "руб";
  EXPECT_EQ(currencyText(s), "руб");
  EXPECT_EQ(tariffText(s, "Day", 85), "Day");
  s.displayCost = true;
  EXPECT_EQ(tariffText(s, "Day", 85), "85 ц/час");
}

TEST(ClearedDisplayTexts, ZerosOrBlanks) {
  DisplayTexts zero = clearedDisplayTexts(true, "p");
  EXPECT_EQ(zero.time, "00:00:00");
  EXPECT_EQ(zero.money, "0,0000");
  EXPECT_EQ(zero.currency, "p");
  EXPECT_EQ(zero.entry, "-");
  EXPECT_EQ(zero.tariff, "-");
  DisplayTexts blank = clearedDisplayTexts(false, "p");
  for (const std::string* t :
       {&blank.time, &blank.money, &blank.currency, &blank.entry, &blank.tariff}) {
    EXPECT_EQ(*t, " ");
  }
}

}  // namespace
}  // namespace tarvik
