#pragma once

#include <array>
#include <string>

#include "config/keys.h"

namespace tarvik {

// The names and signs under which an entry's money is shown: the currency and its hundredth.
struct CurrencyNames {
  std::string name;
  std::string sign;
  std::string hundredthName;
  std::string hundredthSign;
};

// The custom currency as its key defaults give it, for an entry that never named one.
CurrencyNames defaultCustomCurrency();

// The currency of `index`: dollars and roubles are fixed, the custom one is `custom` (what the
// user typed). An index outside the choice reads as dollars.
CurrencyNames currencyNames(int index, const CurrencyNames& custom);

// The items of the currency list, the custom one under its current name.
std::array<std::string, 3> currencyItems(const std::string& customName);

// The two ways the money field can show money: hundredths first, then whole units.
std::array<std::string, 2> moneyDisplayItems(const CurrencyNames& currency);

// Every caption that names the currency, on the pages of the dialog.
struct CurrencyCaptions {
  std::string tariffUnit;      // s_tax: cost per hour
  std::string monthUnit;       // s_month: the monthly budget
  std::string expensesHeader;  // p_exp: the statistics grid's money row
  std::string accountLabel;    // s_acc: the balance field
  std::string axisWhole;       // z_x_buck: the graph in whole units
  std::string axisHundredths;  // z_x_cent: the graph in hundredths
  std::string warningUnit;     // s_centz: the balance warnings' thresholds
};
CurrencyCaptions currencyCaptions(const CurrencyNames& currency);

}  // namespace tarvik
