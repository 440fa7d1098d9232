#include "stats/accounts.h"

#include <cmath>

#include "config/entry_section.h"
#include "config/ini_file.h"
#include "config/keys.h"
#include "platform/event_log.h"

namespace tarvik {

namespace {

std::string describe(const AccountKey& where, std::string_view text) {
  return " Account value \xC2\xAB" + std::string(text) + "\xC2\xBB ([" + where.section + "] " +
         where.key + ") is not a number;";
}

}  // namespace

AccountKey accountKey(std::string_view entry, int kind) {
  switch (kind) {
    case kAccountDefault:
      return {std::string(kDefaultEntry), std::string(balance_keys::kAccount.name)};
    case kAccountSingle:
      return {std::string(kGlobalSection), std::string(balance_keys::kAccount.name)};
    case kAccountGroup1:
    case kAccountGroup2:
    case kAccountGroup3:
      return {std::string(kGlobalSection),
              std::string(balance_keys::kGroupAccount[kind - kAccountGroup1].name)};
    default:
      return {sectionForEntry(entry), std::string(balance_keys::kAccount.name)};
  }
}

Accounts::Accounts(ProgramFiles files, NumberFormat format, EventLog& log)
    : files_(std::move(files)), format_(format), log_(log) {}

ChosenAccount Accounts::chooseAccount(std::string_view entry) const {
  IniFile config(files_.config());
  std::string own = sectionForEntry(entry);
  const bool ownSettings = hasOwnSettings(config, own);

  ChosenAccount chosen;
  if (readSwitch(config, kGlobalSection, global_keys::kDefaultAcc) && !ownSettings) {
    chosen.kind = kAccountDefault;
  } else if (readSwitch(config, kGlobalSection, global_keys::kAccountOne)) {
    chosen.kind = kAccountSingle;
  } else if (readSwitch(config, own, entry_keys::kAccountProvider1)) {
    chosen.kind = kAccountGroup1;
  } else if (readSwitch(config, own, entry_keys::kAccountProvider2)) {
    chosen.kind = kAccountGroup2;
  } else if (readSwitch(config, own, entry_keys::kAccountProvider3)) {
    chosen.kind = kAccountGroup3;
  } else {
    chosen.kind = kAccountIndividual;
  }

  AccountKey where = accountKey(entry, chosen.kind);
  std::string text =
      IniFile(files_.accounts()).readString(where.section, where.key, balance_keys::kAccount.def);
  std::optional<double> value = parseDecimal(text);
  if (value && std::isfinite(static_cast<float>(*value))) {
    chosen.balance = static_cast<float>(*value);
  } else {
    chosen.numeric = false;
    chosen.balance = 0;
    log_.append(describe(where, text) + " metered from 0.");
  }
  return chosen;
}

BookedBalance Accounts::bookBalance(std::string_view entry, int kind, float balance) {
  IniFile accounts(files_.accounts());
  AccountKey where = accountKey(entry, kind);
  AccountKey own = accountKey(entry, kAccountIndividual);

  // A stored text that is not a number was typed by hand, possibly as a note of a real
  // balance; overwriting it with a figure computed from 0 would lose that, so it stays.
  std::string stored = accounts.readString(where.section, where.key, balance_keys::kAccount.def);
  if (!parseDecimal(stored) || !std::isfinite(balance)) {
    log_.append(describe(where, stored) + " balance not saved.");
    return {false, accounts.readString(own.section, own.key, balance_keys::kAccount.def)};
  }

  std::string text = formatGeneral(balance, format_);
  IniEdit edit(accounts);
  edit.writeString(where.section, where.key, text);
  // The entry's own account always shows the balance after its last connection.
  edit.writeString(own.section, own.key, text);
  edit.commit();
  return {true, text};
}

bool Accounts::creditEntry(std::string_view entry, double amountHundredths) {
  IniFile accounts(files_.accounts());
  AccountKey own = accountKey(entry, kAccountIndividual);
  std::string stored = accounts.readString(own.section, own.key, balance_keys::kAccount.def);
  std::optional<double> value = parseDecimal(stored);
  if (!value || !std::isfinite(amountHundredths)) {
    log_.append(describe(own, stored) + " not credited with " +
                formatGeneral(amountHundredths, format_) + ".");
    return false;
  }
  accounts.writeString(own.section, own.key,
                       formatGeneral(*value + amountHundredths * 0.01, format_));
  return true;
}

std::string Accounts::entryAccountText(std::string_view entry) const {
  AccountKey own = accountKey(entry, kAccountIndividual);
  return IniFile(files_.accounts()).readString(own.section, own.key, balance_keys::kAccount.def);
}

}  // namespace tarvik
