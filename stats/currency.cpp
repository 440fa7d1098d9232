#include "stats/currency.h"

namespace tarvik {

CurrencyTexts currencyTexts(Currency currency, const CustomCurrency& custom) {
  switch (currency) {
    case Currency::Dollars:
      return {"ДОЛЛАРЬI", "$", "ЦЕНТЬI", "ц"};
    case Currency::Roubles:
      // Both signs are Latin letters.
      return {"РУБЛИ", "p", "КОПЕЙКИ", "k"};
    case Currency::Custom:
      break;
  }
  return {custom.name, custom.sign, custom.hundredthName, custom.hundredthSign};
}

CurrencyTexts currencyTexts(int index, const CustomCurrency& custom) {
  if (index == static_cast<int>(Currency::Dollars)) return currencyTexts(Currency::Dollars);
  if (index == static_cast<int>(Currency::Roubles)) return currencyTexts(Currency::Roubles);
  return currencyTexts(Currency::Custom, custom);
}

}  // namespace tarvik
