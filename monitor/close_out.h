#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "monitor/connection_figures.h"
#include "monitor/monitor_env.h"

namespace tarvik {

class Accounts;
struct BookedBalance;
class QuickLog;
class Statistics;

// What the disconnect step, the crash recovery and the kept bookings hand over for booking.
struct CloseOutFigures {
  ConnectionFigures figures;
  // The crash journal's identity of this booking: the statistics are then booked only when
  // they do not carry it yet. Empty books them unconditionally.
  std::string identity;
  bool isVirtual = false;  // first half of a virtual reconnect, or a recovered one: no balloon
  // Earlier bookings still wait to be written: this one must not overtake them, so nothing
  // is written and the close-out reports the failure.
  bool held = false;
  // A kept booking tried again: no balloon, whether it succeeds or fails once more.
  bool retry = false;
  // The connection's quick-log line still waits for its tail (a line finished earlier gets
  // none).
  bool lineOpen = true;
  // Its statistics carry it already (a kept booking that stopped before the balance): only
  // the balance is written.
  bool statisticsBooked = false;
};

// Books a finished connection: statistics, balance, the summary in the event log, the
// summary balloon and the quick-log line.
class CloseOut {
 public:
  CloseOut(const MonitorEnv& env, Statistics& statistics, Accounts& accounts, QuickLog& quickLog);

  // False when a data file could not be written: the balloon then says so, the summary lines
  // are not logged and the quick-log line stays open (the next connection's line ends it).
  bool run(const CloseOutFigures& figures);
  // Kept bookings, oldest first, booked together: the statistics in one replacement, the
  // balances in another, then each one's summary under `header` and its quick-log tail. No
  // balloons. False, with nothing logged, when a data file could not be written.
  bool runKept(const std::vector<CloseOutFigures>& bookings, std::string_view header);
  // The quick-log tail of the booked connection.
  std::string quickLogTail(const CloseOutFigures& figures) const;

 private:
  // Statistics, then balance; false when a data file could not be written.
  bool book(const CloseOutFigures& f, BookedBalance& booked);
  // The three summary lines of the event log.
  void logSummary(const CloseOutFigures& f, const std::string& signA, const std::string& signZ,
                  const BookedBalance& booked);

  const MonitorEnv& env_;
  Statistics& statistics_;
  Accounts& accounts_;
  QuickLog& quickLog_;
};

}  // namespace tarvik
