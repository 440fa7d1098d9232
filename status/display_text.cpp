#include "status/display_text.h"

#include "config/ini_file.h"
#include "config/keys.h"
#include "platform/user.h"

namespace tarvik {

DisplaySettings readDisplaySettings(const IniFile& config, const Section<Scope::Entry>& section) {
  DisplaySettings s;
  s.accountDisplay = readSwitch(config, section, entry_keys::kAccountDisplay);
  s.currencyDisplay = readSwitch(config, section, entry_keys::kCurrencyDisplay);
  s.credit = readSwitch(config, section, entry_keys::kCredit);
  s.currencyA = readKey(config, section, entry_keys::kCurrencyDisplayA);
  s.currencyZ = readKey(config, section, entry_keys::kCurrencyDisplayZ);
  s.displayCost = readSwitch(config, sections::global(), global_keys::kDisplayCost);
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
  const bool zero = readSwitch(config, sections::global(), global_keys::kDisplayZero);
  const DisplayTexts t = clearedDisplayTexts(
      zero, readKey(config, sections::entry(kDefaultEntry), entry_keys::kCurrencyDisplayA));
  user.setField(DisplayField::Time, t.time);
  user.setField(DisplayField::Money, t.money);
  user.setField(DisplayField::Currency, t.currency);
  user.setField(DisplayField::Entry, t.entry);
  user.setField(DisplayField::Tariff, t.tariff);
}

}  // namespace tarvik
