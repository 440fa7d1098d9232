#pragma once

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "config/number_text.h"
#include "config/program_files.h"
#include "monitor/close_out.h"
#include "monitor/journal_file.h"
#include "monitor/pending_bookings.h"
#include "monitor/program_timers.h"
#include "platform/clock.h"
#include "platform/event_log.h"
#include "platform/timer.h"
#include "platform/user.h"

namespace tarvik {

// What the crash journal needs from the rest of the program.
class CrashJournalHost {
 public:
  virtual ~CrashJournalHost() = default;
  // The meter's figures right now (written by every journal tick).
  virtual ConnectionFigures meterFigures() const = 0;
  // The close-out of a connection read back from a journal or the queue (virtual, so no
  // balloon): books statistics and the balance, logs the summary, finishes the open quick-log
  // line and refreshes an open settings dialog's statistics. False when a write failed.
  virtual bool closeOutRecovered(const CloseOutFigures& connection) = 0;
  // Kept bookings, oldest first, written together (one replacement of each data file), each
  // logged after " Kept connection data:" with its quick-log tail; no balloons. False, with
  // none of them logged, when a write failed.
  virtual bool closeOutKept(const std::vector<CloseOutFigures>& connections) = 0;
  // Appends a tail and a line end to the open quick-log line.
  virtual void finishQuickLogLine(const std::string& tail) = 0;
  // The quick-log tail the close-out would write for the connection.
  virtual std::string quickLogTail(const CloseOutFigures& connection) = 0;
  // The balance now stored for the entry's account of that kind, or nullopt when unknown.
  virtual std::optional<float> storedBalance(const std::string& entry, int accountKind) = 0;
  // Writes a balance to the account of that kind and the entry's own "Account" (Book balance).
  // Writing the same value twice changes nothing, which makes a repair after a kill safe.
  virtual void bookBalance(const std::string& entry, int accountKind, float balance) = 0;
  // The interrupted connection is booked or ignored: poller on, state code "of" shown.
  virtual void resumeMonitoring() = 0;
};

struct CrashJournalTimers {
  Timer& levelOne;  // t_security_a, 5000 ms
  Timer& levelTwo;  // t_security_z, 5555 ms
  Timer& remind;    // t_remind, 60000 ms
  Timer& balloon;   // t_baloon: stopped so that the write-failure balloon stays
};

inline constexpr int kJournalLevelOneMs = intervalOf(TimerId::SecurityA);
inline constexpr int kJournalLevelTwoMs = intervalOf(TimerId::SecurityZ);
inline constexpr int kRemindMs = intervalOf(TimerId::Remind);

// The crash-protection journal: security.pro and security.tmp every 5 s, security.seq every
// 5.555 s while a connection is metered, and the question at the next start when one is
// left behind by a crash.
//
// A journal that a booking has started on carries the key "Booking" ("started" or
// "ignored"), written to security.seq before anything is booked; security.seq is the file a
// start-up reads first and is deleted last. A started booking also carries its identity,
// which the statistics file stores with the counters: a restart that finds such a journal
// books the statistics only when they lack that identity, rewrites the journal's balance
// (which is idempotent) and deletes the journal.
//
// A booking that cannot be written (a data file is read-only, the disk is full) is kept in
// security.que and tried again at every connection start and close-out and at the next
// start-up, all of them in one pass, oldest first; a connection that ends while earlier
// bookings wait is kept behind them. A kept booking whose identity the statistics carry is
// written: it is never booked again, whatever copies of it the file holds. Only when no queue
// file can be written does the marked security.seq stay as the one kept booking (protection
// off until it is written), and when no file at all can be, the booking waits in memory,
// which the user is told.
//
// The file format of one level is in journal_file.*; this class decides when each level is
// written (crash_journal.cpp) and what a start-up does with a journal it finds
// (crash_recovery.cpp).
class CrashJournal : public PendingBalances {
 public:
  CrashJournal(const ProgramFiles& files, const Clock& clock, EventLog& log, User& user,
               CrashJournalHost& host, CrashJournalTimers timers, NumberFormat format);

  // Any disconnect: both levels off.
  void stopForDisconnect();

  // The timer events (public so the start of metering and tests can reach them).
  void writeLevelOne();
  void writeLevelTwo();

  // A connection is about to be metered (or the second half of a split): kept bookings that
  // can be written now are booked, the open quick-log line of one that still waits gets its
  // tail, and a journal an earlier connection left behind goes.
  void connectionStarting();
  // Call right before the close-out of a connection (real or virtual), after trying the kept
  // bookings once more. Stores the final figures marked as being booked, so a kill during the
  // close-out or before remove() cannot make the connection count twice. Returns the
  // booking's identity for the close-out. While bookingKept(), the close-out must not write
  // (it would overtake the waiting ones) and reports the failure instead.
  std::string markClosing(const ConnectionFigures& finalFigures);
  // The close-out after markClosing() ended. A booking that failed or was held back is kept.
  // Returns whether the journal files may be deleted.
  bool closeOutEnded(bool booked);
  // Books the kept bookings that can be written now, oldest first; stops at the first that
  // still fails.
  void completeKeptBooking();
  // The program ends: a booking held in memory goes into a file if one can take it now.
  void keepBeforeExit();
  // Bookings wait for a later attempt.
  bool bookingKept() const { return kept_ || !queued_.empty() || !unrecorded_.empty(); }
  const KeptBookings& keptBookings() const { return waiting_; }
  // While bookings wait, every figure of a balance (the meter's start, the dialog's fields) is
  // the one the newest of them will leave, so nobody sees money already spent.
  std::optional<float> pendingBalance(const AccountKey& account) const override;
  // Call before the program itself ends a metered connection without booking it (exit while
  // online): a kill before remove() must not bring the connection back as interrupted.
  void markIgnored();
  // Deletes security.tmp, security.pro and security.seq (in that order), unless the marked
  // security.seq is the kept booking.
  void remove();

  // Start-up: finds a journal, logs " Abnormal termination detected (...)" and asks at once.
  // Returns true when a journal was found.
  bool detectAtStart();
  // The recovery question (the t_remind event).
  void askRecovery();
  // An interrupted connection still waits for an answer (remind later was chosen).
  bool recoveryPending() const { return !path_.empty(); }
  // The journal in use, or empty ("NULL").
  const std::filesystem::path& journalPath() const { return path_; }
  bool remindedOnce() const { return remindedOnce_; }

 private:
  enum class Mark { Written, Removed, Failed };
  // The figures stamped with the time and weekday of one instant.
  JournalRecord recordNow(const ConnectionFigures& figures) const;
  Mark writeMark(const JournalRecord& record);
  std::string nextIdentity() const;
  // Adds the booking to security.que; false when that cannot be written.
  bool keep(const JournalRecord& record, bool lineOpen);
  // Books what security.que holds in one pass and rewrites it once; true when nothing of it
  // waits any more.
  bool bookQueue();
  // The kept bookings the statistics carry already whose balances may not have been written.
  std::vector<KeptBooking> balancesToRewrite(const std::vector<KeptBooking>& booked) const;
  void holdInMemory(const JournalRecord& record);
  // Logs once when the queue has moved aside into security.qu2.
  void noteQueueAside();
  // Its close-out, logged and reported once; false when a data file still refuses it.
  bool writeKept(CloseOutFigures& c, bool lineOpen);
  void finishKeptLine();
  // The connection a record holds, ready for the close-out.
  static CloseOutFigures connectionOf(const JournalRecord& record);
  static JournalRecord recordOf(const CloseOutFigures& c, const std::string& time);
  // Completes a started booking from its marked journal; false when a write failed.
  bool completeStartedBooking(const std::filesystem::path& file);
  void writeFailed();
  // The connection in a journal file, or nullopt when its balance can be neither read nor
  // worked out.
  std::optional<CloseOutFigures> readConnection(const std::filesystem::path& file,
                                                std::string& time) const;
  void book();
  void ignore();
  void finishRecovery();
  void resumeInterruptedBooking();

  ProgramFiles files_;
  const Clock& clock_;
  EventLog& log_;
  User& user_;
  CrashJournalHost& host_;
  CrashJournalTimers timers_;
  NumberFormat format_;

  std::filesystem::path path_;
  bool remindedOnce_ = false;
  KeptBookings waiting_;
  JournalRecord closing_;  // the booking of the close-out now running
  bool marked_ = false;    // markClosing() wrote the mark of the close-out now running
  bool kept_ = false;      // security.que could not take a failed booking: it waits in security.seq
  // Kept bookings whose quick-log line got its tail in this session (should security.que
  // refuse to record that).
  std::set<std::string> linesFinished_;
  // The kept bookings not written yet, as the last pass left them and keep() added to them.
  std::vector<KeptBooking> queued_;
  bool queueRewriteFailed_ = false;  // logged once until a rewrite works again
  bool queueAside_ = false;          // the queue lives in security.qu2, which was logged
  // Bookings, newest last, that neither security.que nor a journal could take.
  std::vector<JournalRecord> unrecorded_;
};

// The texts of the recovery question and the write-failure balloon.
extern const char* const kRecoveryQuestion;
extern const char* const kJournalBalloonTitle;
extern const char* const kJournalWriteErrorText;
extern const char* const kConnectionInMemoryText;

}  // namespace tarvik
