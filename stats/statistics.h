#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "config/number_text.h"
#include "config/program_files.h"
#include "platform/clock.h"
#include "platform/traffic.h"

namespace tarvik {

class EventLog;
class IniEdit;

// Which spans rolled over at start-up; the caller writes " Week statistics updated.",
// " Month statistics updated." and the reminder balloon.
struct RolloverResult {
  bool day = false;
  bool week = false;
  bool month = false;

  bool operator==(const RolloverResult&) const = default;
};

// The per-entry counters of TarvikS.Kfg (time in seconds, money in hundredths, counts) and
// the rollover markers in TarvikC.Kfg [UpDate]. Every call opens the files afresh, and each
// operation replaces each file it changes once; writes throw IniWriteError. A stored value
// that is not a number (hand-edited file) is left as it is, not booked, and logged.
class Statistics {
 public:
  Statistics(ProgramFiles files, NumberFormat format, EventLog& log);

  // Books a finished connection into the entry's counters, the weekly record of `weekday`
  // (0 = Sunday, taken at disconnect) and the undo data. `cost` is in hundredths, `volume` the
  // bytes the connection moved.
  void bookConnection(std::string_view entry, int weekday, int seconds, float cost,
                      const TrafficBytes& volume = {});

  // Books like bookConnection and stores `identity` as the one booked last ([Olm:TK]
  // "Booked") in the same replacement of the file, so a start after a kill can tell whether
  // this booking reached the disk. Does nothing and returns false when `identity` is the one
  // booked last already.
  bool bookConnectionOnce(std::string_view identity, std::string_view entry, int weekday,
                          int seconds, float cost, const TrafficBytes& volume = {});
  // The identity booked last, or "" when none was.
  std::string lastBookedIdentity() const;

  // One connection of a batch, with the identity it is booked under.
  struct Booking {
    std::string identity;
    std::string entry;
    int weekday = 0;
    int seconds = 0;
    float cost = 0;
    TrafficBytes volume;
  };
  // Books the connections in order as one replacement of the file, storing the last identity
  // as the one booked last: the same counters as booking them one by one, without a write
  // per connection. Throws IniWriteError and leaves the file as it was.
  void bookConnections(const std::vector<Booking>& bookings);

  // The start-up rollover for `today`: compares the markers of the last start with today's,
  // stores today's, clears the event log at a new month when "LogClear" is on (" Log-file
  // cleared."), and moves current to previous values for every listed entry ("Default"
  // first, then the phonebook entries; each section is rolled once). Entries not listed are
  // left alone. A start on the same day and month of another year rolls everything.
  // When a file cannot be written, the failure is logged, nothing changed is reported and
  // the markers stay as they were, so the next start rolls again; it never throws.
  RolloverResult rollOver(const std::vector<std::string>& entries, const LocalTime& today);

  // Sets the counters and undo flags to 0; keeps the weekly record, the undo values and the
  // account.
  void clear(std::string_view entry);

  // Takes the last booked connection back and credits its cost to the entry's own account.
  // Returns true when a counter would have gone below zero (it is held at 0).
  bool undoLastConnection(std::string_view entry);

 private:
  void rollEntries(const std::vector<std::string>& entries, const RolloverResult& result);
  RolloverResult failedRollOver(std::string_view report);
  void addConnection(IniEdit& edit, std::string_view entry, int weekday, int seconds, float cost,
                     const TrafficBytes& volume);

  ProgramFiles files_;
  NumberFormat format_;
  EventLog& log_;
};

}  // namespace tarvik
