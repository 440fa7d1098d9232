#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "config/keys.h"
#include "config/number_text.h"

namespace tarvik {

class IniFile;
class User;

// What decides how the money, currency and tariff fields read: the entry's keys as read when
// the connection was identified, plus the global "DisplayCost".
struct DisplaySettings {
  bool accountDisplay = false;   // money field shows the balance instead of the expenses
  bool currencyDisplay = false;  // money in whole units, currency field shows currencyA
  bool credit = false;           // balance shown negated (a debt reads as a positive figure)
  bool displayCost = false;      // tariff field shows the cost per hour instead of the name
  std::string currencyA = "$";   // sign of whole units
  std::string currencyZ = "ц";   // sign of hundredths
};

// The entry keys from `section` of TarvikC.Kfg and "DisplayCost" from the global section.
DisplaySettings readDisplaySettings(const IniFile& config, const Section<Scope::Entry>& section);

// The five field texts of the status display.
struct DisplayTexts {
  std::string time, money, currency, entry, tariff;
};

// Money field: the balance (whole units, negated under "Credit") in account mode, otherwise
// the connection's expenses (hundredths, or whole units when currencyDisplay is on).
std::string moneyText(const DisplaySettings& settings, float balance, float costHundredths,
                      const NumberFormat& format);

// Currency field: currencyA when money is shown in whole units, else currencyZ.
std::string currencyText(const DisplaySettings& settings);

// Tariff field: the tariff name, or "120 ц/час" when displayCost is on.
std::string tariffText(const DisplaySettings& settings, std::string_view tariffName,
                       int costPerHour);

// The texts of a cleared display: zeros (with the "Default" entry's currency sign) when
// "DisplayZero" is on, otherwise a single blank in every field.
DisplayTexts clearedDisplayTexts(bool displayZero, std::string_view defaultCurrencyA);

// "Статус   [очистить]": writes the cleared texts by the global "DisplayZero" and the
// "CurrencyDisplayA" of "Default" in TarvikC.Kfg.
void writeClearedDisplay(User& user, const IniFile& config);

}  // namespace tarvik
