#include "monitor/crash_journal.h"

#include "monitor/booking_identity.h"
#include "monitor/quick_log.h"
#include "platform/time_text.h"

// The recovery flow: what a start-up does with a journal that a crash left behind.

namespace tarvik {

bool CrashJournal::detectAtStart() {
  path_ = foundJournal(files_);
  if (path_.empty()) return false;

  const JournalReading journal = readJournalRecord(path_);
  const std::string time = journal.time.empty() ? journalTimeText(clock_.now()) : journal.time;
  log_.append(" Abnormal termination detected (" + time + ")");
  remindedOnce_ = false;

  if (journal.mark == BookingMark::Started) {
    resumeInterruptedBooking();
  } else if (journal.mark == BookingMark::Ignored) {
    finishRecovery();
  } else {
    askRecovery();
  }
  return true;
}

void CrashJournal::askRecovery() {
  timers_.remind.setEnabled(false);
  if (path_.empty()) return;

  if (remindedOnce_) user_.showStateCode("xx");
  const RecoveryAnswer answer = user_.askRecovery(kRecoveryQuestion, !remindedOnce_);
  user_.showStateCode("di");

  switch (answer) {
    case RecoveryAnswer::Book:
      book();
      break;
    case RecoveryAnswer::Ignore:
      ignore();
      break;
    case RecoveryAnswer::RemindLater:
      // On the second asking the dialog offers no third answer, so this is a dialog closed
      // without an answer; asking again later keeps the program from sitting inert with its
      // exit command disabled.
      remindedOnce_ = true;
      timers_.remind.setInterval(kRemindMs);
      timers_.remind.setEnabled(true);
      user_.setRecoveryCommandsEnabled(false);
      break;
  }
}

std::optional<InterruptedConnection> CrashJournal::readConnection(const std::filesystem::path& file,
                                                                  std::string& time) const {
  const JournalReading journal = readJournalRecord(file);
  InterruptedConnection c;
  c.entry = journal.entry;
  c.accountKind = journal.accountKind;
  c.weekday = journal.weekday.value_or(clock_.now().weekday);
  c.seconds = journal.seconds;
  time = journal.time.empty() ? journalTimeText(clock_.now()) : journal.time;

  const bool hasLosses = journal.hasLosses;
  const std::optional<double>& losses = journal.losses;
  const std::optional<double>& account = journal.account;
  // The account has not been touched since the connection began, so its stored value is the
  // start balance: it stands in for whichever of the two figures could not be read.
  const std::optional<float> stored =
      account && losses ? std::nullopt : host_.storedBalance(c.entry, c.accountKind);
  if (account) {
    c.balance = static_cast<float>(*account);
    if (losses) {
      c.cost = static_cast<float>(*losses);
    } else {
      c.cost = stored ? static_cast<float>((static_cast<double>(*stored) - *account) * 100) : 0;
    }
    return c;
  }
  if (losses && hasLosses && stored) {
    c.cost = static_cast<float>(*losses);
    c.balance = static_cast<float>(static_cast<double>(*stored) - c.cost * 0.01);
    return c;
  }
  // Booking the default balance of 0 would wipe a real balance.
  return std::nullopt;
}

void CrashJournal::book() {
  log_.append(" Interrupted connection data:");
  // The journal found first is used; the other levels hold the same connection, a few
  // seconds older, and stand in when it cannot be read.
  std::optional<InterruptedConnection> c;
  std::string time;
  for (const auto& file : {path_, files_.journalSeq(), files_.journalPro(), files_.journalTmp()}) {
    if (std::filesystem::exists(file) && (c = readConnection(file, time))) break;
  }
  if (!c) {
    log_.append(" Interrupted connection data unreadable: nothing booked.");
    host_.finishQuickLogLine(abortedQuickLogTail(readJournalRecord(path_).entry));
    finishRecovery();
    return;
  }

  JournalRecord record;
  record.time = time;
  record.figures = MeterFigures{c->entry, c->cost, c->balance, c->seconds, c->accountKind};
  record.weekday = c->weekday;
  record.mark = BookingMark::Started;
  record.identity = nextBookingIdentity(files_);
  c->identity = record.identity;
  if (writeMark(record) == Mark::Failed) {
    // Neither marked nor deleted: booking now could count the connection twice after a kill.
    log_.append(" Failed write intelligence protection files.");
    timers_.remind.setInterval(kRemindMs);
    timers_.remind.setEnabled(true);
    user_.setRecoveryCommandsEnabled(false);
    return;
  }
  // A failed booking keeps its marked journal for the next attempt.
  kept_ = !host_.closeOutRecovered(*c) && std::filesystem::exists(files_.journalSeq());
  finishRecovery();
}

void CrashJournal::ignore() {
  log_.append(" Interrupted connection subtracted from statistics (user request)");
  const JournalReading journal = readJournalRecord(path_);
  const std::string& entry = journal.entry;
  JournalRecord record;
  record.time = journal.time.empty() ? journalTimeText(clock_.now()) : journal.time;
  record.figures.entry = entry;
  record.weekday = clock_.now().weekday;
  record.mark = BookingMark::Ignored;
  writeMark(record);
  host_.finishQuickLogLine(abortedQuickLogTail(entry));
  finishRecovery();
}

void CrashJournal::resumeInterruptedBooking() {
  kept_ = !completeStartedBooking(path_);
  finishRecovery();
}

bool CrashJournal::completeStartedBooking(const std::filesystem::path& file) {
  const JournalReading journal = readJournalRecord(file);
  const std::string& identity = journal.identity;
  if (!identity.empty() && lastBookedIdentity(files_) != identity) {
    // The statistics come first in a close-out and lack this booking, so nothing of it reached
    // the files: the whole close-out runs now.
    log_.append(" Interrupted connection was being booked: booking completed.");
    std::string time;
    std::optional<InterruptedConnection> c = readConnection(file, time);
    if (!c) {
      log_.append(" Interrupted connection data unreadable: nothing booked.");
      host_.finishQuickLogLine(abortedQuickLogTail(journal.entry));
      return true;
    }
    c->identity = identity;
    return host_.closeOutRecovered(*c);
  }
  // The statistics hold this booking (or the journal predates identities and they may):
  // they are left alone. The balance is an absolute value, so writing it again completes a
  // booking that stopped before it and changes nothing otherwise.
  const std::string& entry = journal.entry;
  const int accountKind = journal.accountKind;
  const std::optional<double>& account = journal.account;
  log_.append(" Interrupted connection was being booked: not counted again.");
  if (account) {
    try {
      host_.bookBalance(entry, accountKind, static_cast<float>(*account));
    } catch (const std::exception&) {
      log_.append(" Failed saving account.");
      return false;
    }
  }
  return true;
}

void CrashJournal::finishRecovery() {
  timers_.remind.setEnabled(false);
  user_.setRecoveryCommandsEnabled(true);
  remove();
  remindedOnce_ = false;
  path_.clear();
  host_.resumeMonitoring();
}

}  // namespace tarvik
