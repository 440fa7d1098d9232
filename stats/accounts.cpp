#include "stats/accounts.h"

#include <cmath>
#include <limits>

#include "config/ini_file.h"
#include "config/keys.h"
#include "platform/event_log.h"

namespace tarvik {

namespace {

std::string describe(const AccountKey& where, std::string_view text) {
  return " Account value \xC2\xAB" + std::string(text) + "\xC2\xBB ([" + where.section.name() +
         "] " + where.key.name.str() + ") is not a number;";
}

// A stored balance as the meter holds it: a number within single precision. Anything else
// (text, or a figure like 1e39 that single precision cannot hold) is the user's own note
// that the program neither meters from nor writes over.
std::optional<float> balanceValue(std::string_view text) {
  const std::optional<double> value = parseDecimal(text);
  if (!value || std::fabs(*value) > std::numeric_limits<float>::max()) return std::nullopt;
  return static_cast<float>(*value);
}

}  // namespace

AccountKey accountKey(std::string_view entry, int kind) {
  switch (kind) {
    case kAccountDefault:
      return {sections::balance(kDefaultEntry), balance_keys::kAccount};
    case kAccountSingle:
      return {sections::sharedBalance(), balance_keys::kAccount};
    case kAccountGroup1:
    case kAccountGroup2:
    case kAccountGroup3:
      return {sections::sharedBalance(), balance_keys::kGroupAccount[kind - kAccountGroup1]};
    default:
      return {sections::balance(entry), balance_keys::kAccount};
  }
}

std::string shownBalanceText(const IniFile& accounts, const AccountKey& where,
                             const PendingBalances* pending, NumberFormat format) {
  std::string text = readKey(accounts, where.section, where.key);
  if (!pending || !balanceValue(text)) return text;
  const std::optional<float> waiting = pending->pendingBalance(where);
  return waiting ? formatMoney(*waiting, format) : text;
}

Accounts::Accounts(ProgramFiles files, NumberFormat format, EventLog& log)
    : files_(std::move(files)), format_(format), log_(log) {}

ChosenAccount Accounts::chooseAccount(std::string_view entry) const {
  IniFile config(files_.config());
  const auto own = sections::entry(entry);
  const auto global = sections::global();
  const bool ownSettings = hasOwnSettings(config, entry);

  ChosenAccount chosen;
  if (readSwitch(config, global, global_keys::kDefaultAcc) && !ownSettings) {
    chosen.kind = kAccountDefault;
  } else if (readSwitch(config, global, global_keys::kAccountOne)) {
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
  std::string text = readKey(IniFile(files_.accounts()), where.section, where.key);
  if (const std::optional<float> value = balanceValue(text)) {
    chosen.balance = *value;
    if (pending_) chosen.balance = pending_->pendingBalance(where).value_or(chosen.balance);
  } else {
    chosen.numeric = false;
    chosen.balance = 0;
    log_.append(describe(where, text) + " metered from 0.");
  }
  return chosen;
}

BookedBalance Accounts::bookBalance(std::string_view entry, int kind, float balance) {
  IniEdit edit{IniFile(files_.accounts())};
  BookedBalance booked = bookInto(edit, entry, kind, balance);
  edit.commit();
  return booked;
}

std::vector<BookedBalance> Accounts::bookBalances(const std::vector<Booking>& bookings) {
  IniEdit edit{IniFile(files_.accounts())};
  edit.pinReads();
  std::vector<BookedBalance> booked;
  booked.reserve(bookings.size());
  for (const Booking& b : bookings) booked.push_back(bookInto(edit, b.entry, b.kind, b.balance));
  edit.commit();
  return booked;
}

BookedBalance Accounts::bookInto(IniEdit& edit, std::string_view entry, int kind, float balance) {
  AccountKey where = accountKey(entry, kind);
  AccountKey own = accountKey(entry, kAccountIndividual);

  // A stored text that is not a number was typed by hand, possibly as a note of a real
  // balance; overwriting it with a figure computed from 0 would lose that, so it stays.
  std::string stored = readKey(edit, where.section, where.key);
  if (!balanceValue(stored) || !std::isfinite(balance)) {
    log_.append(describe(where, stored) + " balance not saved.");
    return {false, readKey(edit, own.section, own.key)};
  }

  std::string text = formatMoney(balance, format_);
  writeKey(edit, where.section, where.key, text);
  // The entry's own account always shows the balance after its last connection.
  writeKey(edit, own.section, own.key, text);
  return {true, text};
}

bool Accounts::creditEntry(std::string_view entry, double amountHundredths) {
  IniFile accounts(files_.accounts());
  AccountKey own = accountKey(entry, kAccountIndividual);
  std::string stored = readKey(accounts, own.section, own.key);
  // Credited in full precision: the value typed by the user may have more digits than a float.
  const std::optional<double> value = balanceValue(stored) ? parseDecimal(stored) : std::nullopt;
  if (!value || !std::isfinite(amountHundredths)) {
    log_.append(describe(own, stored) + " not credited with " +
                formatMoney(amountHundredths, format_) + ".");
    return false;
  }
  writeKey(accounts, own.section, own.key, formatMoney(*value + amountHundredths * 0.01, format_));
  return true;
}

std::string Accounts::entryAccountText(std::string_view entry) const {
  AccountKey own = accountKey(entry, kAccountIndividual);
  return readKey(IniFile(files_.accounts()), own.section, own.key);
}

}  // namespace tarvik
