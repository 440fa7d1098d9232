#pragma once

#include <optional>
#include <string>
#include <utility>
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

// A section of the queue that holds no whole booking (a torn copy, a hand edit): its keys as
// they stood, and what is missing.
struct RefusedBooking {
  std::string section;
  std::vector<std::pair<std::string, std::string>> keys;
  std::string why;
};

// The queue as read: each identity once (the first section of it, as every reader of the
// file sees it), in the order of the identities, which is the order of the connections.
struct KeptQueue {
  std::vector<KeptBooking> bookings;
  std::vector<RefusedBooking> refused;
};

// The identity as a number, or 0 when it is none of the program's (a positive decimal
// without leading zeros).
int identityNumber(std::string_view identity);

// The kept bookings, oldest first, in security.que: one section per booking, named after its
// identity, with the journal's keys. They are written in that order and each exactly once, so
// a later connection never books before an earlier one: the balances are absolute values, and
// an older one written last would undo the newer one's cost.
//
// When security.que cannot be written (a read-only file), the whole queue moves to
// security.qu2 beside it, which is then the queue until the next rewrite brings it back.
// Sections that hold no whole booking are set aside in security.bad for the user.
class KeptBookings {
 public:
  KeptBookings(ProgramFiles files, NumberFormat format);

  KeptQueue read() const;
  std::vector<KeptBooking> list() const { return read().bookings; }
  bool empty() const { return list().empty(); }
  bool holds(const std::string& identity) const;
  // The largest identity kept, or "" when none is kept.
  std::string lastIdentity() const;

  // These throw IniWriteError when no queue file can be written.
  void append(const KeptBooking& booking);
  // Replaces the queue with `bookings` (and `refused`, when they could not be set aside) in
  // one write; an empty queue leaves no file behind.
  void rewrite(const std::vector<KeptBooking>& bookings,
               const std::vector<RefusedBooking>& refused = {});
  // No kept booking's line waits for its tail any more.
  void setLinesFinished();
  // Adds the sections to security.bad.
  void setAside(const std::vector<RefusedBooking>& refused);
  // Whether the queue now lives in security.qu2.
  bool movedAside() const;

  // The balance the newest of `bookings` will leave on the account, or nullopt when none of
  // them writes it.
  static std::optional<float> pendingBalance(const std::vector<KeptBooking>& bookings,
                                             const AccountKey& account);
  std::optional<float> pendingBalance(const AccountKey& account) const {
    return pendingBalance(list(), account);
  }
  // Whether a booking of the entry against an account of that kind writes `account`: it
  // writes the account of its kind and the entry's own one.
  static bool writes(const std::string& entry, int accountKind, const AccountKey& account);

 private:
  void writeQueue(const std::filesystem::path& file, const std::vector<KeptBooking>& bookings,
                  const std::vector<RefusedBooking>& refused) const;

  ProgramFiles files_;
  NumberFormat format_;
};

}  // namespace tarvik
