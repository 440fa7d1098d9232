#include "status/display_text.h"

#include "config/ini_file.h"
#include "config/keys.h"
#include "platform/user.h"

namespace tarvik {

DisplaySettings readDisplaySettings(const IniFile& config, std::string_view section) {
  DisplaySettings s;
  auto on = [&](std::string_view sec, IntKey key) {
    return config.readInt(sec, key.name, key.def) != 0;
  };
  auto text = [&](TextKey key) { return config.readString(section, key.name, key.def); };
  s.accountDisplay = on(section, entry_keys::kAccountDisplay);
  s.currencyDisplay = on(section, entry_keys::kCurrencyDisplay);
  s.credit = on(section, entry_keys::kCredit);
  s.currencyA = text(entry_keys::kCurrencyDisplayA);
  s.currencyZ = text(entry_keys::kCurrencyDisplayZ);
  s.displayCost = on(kGlobalSection, global_keys::kDisplayCost);
  return s;
}

std::string moneyText(const DisplaySettings& settings, float balance, float costHundredths,
                      const NumberFormat& format) {
  double value;
  if (settings.accountDisplay) {
    value = settings.credit ? -static_cast<double>(balance) : static_cast<double>(balance);
  } else {
    value = static_cast<double>(costHundredths);
    if (settings.currencyDisplay) value /= 100;
  }
  return sixText(value, format);
}

std::string currencyText(const DisplaySettings& settings) {
  return settings.currencyDisplay ? settings.currencyA : settings.currencyZ;
}

std::string tariffText(const DisplaySettings& settings, std::string_view tariffName,
                       int costPerHour) {
  if (!settings.displayCost) return std::string(tariffName);
  return std::to_string(costPerHour) + " " + settings.currencyZ + "/час";
}

DisplayTexts clearedDisplayTexts(bool displayZero, std::string_view defaultCurrencyA) {
  if (!displayZero) return {" ", " ", " ", " ", " "};
  return {"00:00:00", "0,0000", std::string(defaultCurrencyA), "-", "-"};
}

void writeClearedDisplay(User& user, const IniFile& config) {
  const bool zero = config.readInt(kGlobalSection, global_keys::kDisplayZero.name,
                                   global_keys::kDisplayZero.def) != 0;
  const DisplayTexts t =
      clearedDisplayTexts(zero, config.readString(kDefaultEntry, entry_keys::kCurrencyDisplayA.name,
                                                  entry_keys::kCurrencyDisplayA.def));
  user.setField(DisplayField::Time, t.time);
  user.setField(DisplayField::Money, t.money);
  user.setField(DisplayField::Currency, t.currency);
  user.setField(DisplayField::Entry, t.entry);
  user.setField(DisplayField::Tariff, t.tariff);
}

}  // namespace tarvik
