#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "config/number_text.h"
#include "config/program_files.h"
#include "monitor/journal_file.h"
#include "stats/accounts.h"

namespace tarvik {

// A finished connection whose booking could not be written (a data file was read-only, the
// disk full), kept with its final figures until a later attempt writes it.
struct KeptBooking {
  JournalRecord record;  // carries the booking's identity
  // The close-out that failed left the connection's quick-log line open; it gets its tail
  // before any other line starts, or when the booking is written.
  bool lineOpen = true;
};

// The kept bookings, oldest first, in security.que: one section per booking, named after its
// identity, with the journal's keys. They are written in that order and each exactly once, so
// a later connection never books before an earlier one: the balances are absolute values, and
// an older one written last would undo the newer one's cost.
class KeptBookings {
 public:
  KeptBookings(ProgramFiles files, NumberFormat format);

  std::vector<KeptBooking> list() const;
  bool empty() const;
  bool holds(const std::string& identity) const;
  // The identity kept last, or "" when none is kept.
  std::string lastIdentity() const;

  // These throw IniWriteError when security.que cannot be written.
  void append(const KeptBooking& booking);
  void removeFirst();
  void setLineFinished(const std::string& identity);

  // The balance the newest of the bookings still to be written (all but those `written`
  // already) will leave on the account, or nullopt when none of them writes it.
  std::optional<float> pendingBalance(const AccountKey& account,
                                      const std::set<std::string>& written = {}) const;
  // Whether a booking of the entry against an account of that kind writes `account`: it
  // writes the account of its kind and the entry's own one.
  static bool writes(const std::string& entry, int accountKind, const AccountKey& account);

 private:
  ProgramFiles files_;
  NumberFormat format_;
};

}  // namespace tarvik
