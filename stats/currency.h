#pragma once

#include <string>
#include <string_view>

#include "config/keys.h"

namespace tarvik {

// The names and signs under which an entry's money is shown: the currency and its hundredth.
struct CurrencyTexts {
  std::string name;
  std::string sign;
  std::string hundredthName;
  std::string hundredthSign;
};

// The user's own currency, as typed into the four custom fields.
struct CustomCurrency {
  std::string name{entry_keys::kCurrencyCustomAA.def};
  std::string sign{entry_keys::kCurrencyCustomAZ.def};
  std::string hundredthName{entry_keys::kCurrencyCustomZA.def};
  std::string hundredthSign{entry_keys::kCurrencyCustomZZ.def};
};

// Dollars and roubles have fixed texts; any other index is the custom currency.
CurrencyTexts currencyTexts(Currency currency, const CustomCurrency& custom = {});
// By the stored "CurrencyIndex" value.
CurrencyTexts currencyTexts(int index, const CustomCurrency& custom = {});

}  // namespace tarvik
