#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/ini_file.h"
#include "config/keys.h"
#include "config/number_text.h"
#include "config/program_files.h"

namespace tarvik {

class EventLog;

// Section and key of an account in the accounts file (TarvikA.Kfg). `entry` is an entry name;
// kinds outside 0-5 are treated as the entry's own account.
struct AccountKey {
  Section<Scope::Balance> section;
  TextKey<Scope::Balance> key;
};
AccountKey accountKey(std::string_view entry, int kind);

// Balances already worked out for connections whose bookings could not be written yet: the
// value such a booking will leave on an account, when one will.
class PendingBalances {
 public:
  virtual ~PendingBalances() = default;
  virtual std::optional<float> pendingBalance(const AccountKey& account) const = 0;
};

// The balance an account shows in the dialogs: the stored text, or, while a booking that
// writes the account waits, the balance that booking will leave (a stored text that is not a
// number stays as it is: no booking writes over it).
std::string shownBalanceText(const IniFile& accounts, const AccountKey& where,
                             const PendingBalances* pending, NumberFormat format);

// The account a connection is metered against, fixed when metering starts.
struct ChosenAccount {
  int kind = kAccountIndividual;
  float balance = 0;  // whole currency units
  // False when the stored text is not a number (hand-edited file): the balance is then 0 for
  // the display and warnings, and booking leaves the stored text alone.
  bool numeric = true;
};

// The result of booking a balance.
struct BookedBalance {
  bool booked = false;
  // The entry's own "Account" text after the booking (for the close-out's log line).
  std::string entryAccountText;
};

// Balances in TarvikA.Kfg and the choice among them (switches in TarvikC.Kfg). Every call
// opens the files afresh; writes throw IniWriteError and each replaces a file at most once.
class Accounts {
 public:
  Accounts(ProgramFiles files, NumberFormat format, EventLog& log);

  // Rules in order: "DefaultAcc" on and the entry without own settings -> [Default];
  // "AccountOne" on -> the single account; the entry's "AccountProvider1..3" -> group 1..3;
  // otherwise the entry's own account. A stored text that is not a number logs a line and
  // meters from 0. A balance that a waiting booking will write stands in for the stored one.
  ChosenAccount chooseAccount(std::string_view entry) const;
  void setPendingBalances(const PendingBalances* pending) { pending_ = pending; }

  // Writes the balance to the key of `kind`, then the same text to the entry's own
  // "Account". When the stored text of `kind` is not a number, nothing is written (the text
  // may be the user's own note of a real balance) and a line is logged.
  BookedBalance bookBalance(std::string_view entry, int kind, float balance);
  // Book balance for each in order, as one replacement of the file: what is left is what
  // booking them one by one leaves. Throws IniWriteError and leaves the file as it was.
  struct Booking {
    std::string entry;
    int kind = 0;
    float balance = 0;
  };
  std::vector<BookedBalance> bookBalances(const std::vector<Booking>& bookings);

  // Adds amount x 0.01 to the entry's own "Account" (never a shared one). Returns false and
  // logs a line, writing nothing, when the stored text is not a number.
  bool creditEntry(std::string_view entry, double amountHundredths);

  // The entry's own "Account" text as stored (default "0").
  std::string entryAccountText(std::string_view entry) const;

 private:
  BookedBalance bookInto(IniEdit& edit, std::string_view entry, int kind, float balance);

  ProgramFiles files_;
  NumberFormat format_;
  EventLog& log_;
  const PendingBalances* pending_ = nullptr;
};

}  // namespace tarvik
