#include "stats/currency_names.h"

namespace tarvik {

namespace {

// "ЬI" is how the program has always written Ы in upper-case captions.
const CurrencyNames kDollars{"ДОЛЛАРЬI", "$", "ЦЕНТЬI", "ц"};
// The signs are Latin letters, as the status window's fonts always had them.
const CurrencyNames kRoubles{"РУБЛИ", "p", "КОПЕЙКИ", "k"};

}  // namespace

CurrencyNames defaultCustomCurrency() {
  namespace e = entry_keys;
  return {std::string(e::kCurrencyCustomAA.def), std::string(e::kCurrencyCustomAZ.def),
          std::string(e::kCurrencyCustomZA.def), std::string(e::kCurrencyCustomZZ.def)};
}

CurrencyNames currencyNames(int index, const CurrencyNames& custom) {
  switch (index) {
    case static_cast<int>(Currency::Roubles):
      return kRoubles;
    case static_cast<int>(Currency::Custom):
      return custom;
    default:
      return kDollars;
  }
}

std::array<std::string, 3> currencyItems(const std::string& customName) {
  return {kDollars.name, kRoubles.name, customName};
}

std::array<std::string, 2> moneyDisplayItems(const CurrencyNames& currency) {
  return {"(" + currency.hundredthSign + ")   " + currency.hundredthName,
          "(" + currency.sign + ")   " + currency.name};
}

CurrencyCaptions currencyCaptions(const CurrencyNames& currency) {
  const std::string axis = "ось Y:  ДЕНЬГИ  ";
  return {
      currency.hundredthSign + " / ЧАС",
      currency.hundredthSign + " / МЕСЯЦ",
      " ФИНАНСОВЬIЕ  ЗАТРАТЬI  (" + currency.sign + ")",
      " СЧЕТ   >>>   " + currency.sign,
      axis + currency.sign,
      axis + currency.hundredthSign,
      "[ " + moneyDisplayItems(currency)[0] + " ]",
  };
}

}  // namespace tarvik
