#include "monitor/crash_journal.h"

#include <algorithm>

#include "monitor/booking_identity.h"
#include "monitor/quick_log.h"
#include "platform/time_text.h"

// The recovery flow: what a start-up does with a journal that a crash left behind.

namespace tarvik {

namespace {

// "dd.mm.yyyy hh.nn.ss" as "yyyymmddhhnnss", which sorts by time; empty when it is no such
// text.
std::string sortableTime(const std::string& text) {
  if (text.size() != 19) return {};
  std::string key = text.substr(6, 4) + text.substr(3, 2) + text.substr(0, 2) + text.substr(11, 2) +
                    text.substr(14, 2) + text.substr(17, 2);
  for (const char c : key)
    if (c < '0' || c > '9') return {};
  return key;
}

// True when `a` is earlier than `b`, or either cannot be told.
bool journalTimeBefore(const std::string& a, const std::string& b) {
  const std::string ka = sortableTime(a);
  const std::string kb = sortableTime(b);
  return ka.empty() || kb.empty() || ka < kb;
}

}  // namespace

bool CrashJournal::detectAtStart() {
  // Bookings kept in an earlier session come first: they are older than any journal.
  completeKeptBooking();
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

std::optional<CloseOutFigures> CrashJournal::readConnection(const std::filesystem::path& file,
                                                            std::string& time) const {
  const JournalReading journal = readJournalRecord(file);
  if (!journal.sound) return std::nullopt;
  CloseOutFigures connection;
  connection.isVirtual = true;
  ConnectionFigures& c = connection.figures;
  c.entry = journal.entry;
  c.accountKind = journal.accountKind;
  c.weekday = journal.weekday.value_or(clock_.now().weekday);
  c.seconds = journal.seconds;
  c.volume = journal.volume;
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
    return connection;
  }
  if (losses && hasLosses && stored) {
    c.cost = static_cast<float>(*losses);
    c.balance = static_cast<float>(static_cast<double>(*stored) - c.cost * 0.01);
    return connection;
  }
  // Booking the default balance of 0 would wipe a real balance.
  return std::nullopt;
}

void CrashJournal::book() {
  log_.append(" Interrupted connection data:");
  // The levels hold the same connection written at different moments (every 5 s and every
  // 5.555 s): the freshest readable one is booked, so a crash loses one interval at most.
  // The level found first decides which connection it is; a level of another one (left
  // behind when its deletion failed) is no stand-in.
  std::optional<CloseOutFigures> c;
  std::string time;
  // A level that cannot even be looked at counts as missing.
  std::error_code missing;
  for (const auto& file : {path_, files_.journalSeq(), files_.journalPro(), files_.journalTmp()}) {
    std::string levelTime;
    std::optional<CloseOutFigures> level;
    if (!std::filesystem::exists(file, missing) || !(level = readConnection(file, levelTime)))
      continue;
    const ConnectionFigures& l = level->figures;
    if (!c || (l.entry == c->figures.entry && l.accountKind == c->figures.accountKind &&
               l.seconds > c->figures.seconds && !journalTimeBefore(levelTime, time))) {
      c = std::move(level);
      time = levelTime;
    }
  }
  if (!c) {
    log_.append(" Interrupted connection data unreadable: nothing booked.");
    host_.finishQuickLogLine(abortedQuickLogTail(readJournalRecord(path_).entry));
    finishRecovery();
    return;
  }

  JournalRecord record = recordOf(*c, time);
  record.identity = nextIdentity();
  c->identity = record.identity;
  if (writeMark(record) == Mark::Failed) {
    // Neither marked nor deleted: booking now could count the connection twice after a kill.
    log_.append(" Failed write intelligence protection files.");
    timers_.remind.setInterval(kRemindMs);
    timers_.remind.setEnabled(true);
    user_.setRecoveryCommandsEnabled(false);
    return;
  }
  // Behind bookings that still wait, or after a failed attempt, it is kept for the next one;
  // the marked journal stands in when security.que cannot take it either.
  const bool behind = bookingKept();
  if (behind) log_.append(" Interrupted connection kept: earlier bookings are not written yet.");
  if ((behind || !host_.closeOutRecovered(*c)) && !keep(record, true)) {
    kept_ = std::filesystem::exists(files_.journalSeq(), missing);
    if (!kept_) holdInMemory(record);
  }
  finishRecovery();
}

void CrashJournal::ignore() {
  log_.append(" Interrupted connection subtracted from statistics (user request)");
  const JournalReading journal = readJournalRecord(path_);
  const std::string& entry = journal.entry;
  JournalRecord record;
  record.time = journal.time.empty() ? journalTimeText(clock_.now()) : journal.time;
  record.figures.entry = entry;
  record.figures.weekday = clock_.now().weekday;
  record.mark = BookingMark::Ignored;
  writeMark(record);
  host_.finishQuickLogLine(abortedQuickLogTail(entry));
  finishRecovery();
}

void CrashJournal::resumeInterruptedBooking() {
  const JournalReading journal = readJournalRecord(path_);
  // A kill after the failed booking was kept leaves it in security.que already.
  const bool queued = std::any_of(queued_.begin(), queued_.end(), [&](const KeptBooking& k) {
    return k.record.identity == journal.identity;
  });
  if (!queued && !completeStartedBooking(path_)) {
    std::string time;
    if (std::optional<CloseOutFigures> c = readConnection(path_, time)) {
      JournalRecord record = recordOf(*c, time);
      record.identity = journal.identity.empty() ? nextIdentity() : journal.identity;
      // Statistics that hold the booking mean its close-out got past them; whether it
      // reached the quick-log line is unknown, so the line gets no second tail.
      const bool lineOpen = lastBookedIdentity(files_) != journal.identity;
      kept_ = !keep(record, lineOpen);
    }
  }
  finishRecovery();
}

JournalRecord CrashJournal::recordOf(const CloseOutFigures& c, const std::string& time) {
  return JournalRecord{time, c.figures, BookingMark::Started, c.identity};
}

bool CrashJournal::completeStartedBooking(const std::filesystem::path& file) {
  // Bookings written out of order would leave the older balance on the account.
  if (!queued_.empty()) return false;
  const JournalReading journal = readJournalRecord(file);
  const std::string& identity = journal.identity;
  if (!identity.empty() && lastBookedIdentity(files_) != identity) {
    // The statistics come first in a close-out and lack this booking, so nothing of it reached
    // the files: the whole close-out runs now.
    std::string time;
    std::optional<CloseOutFigures> c = readConnection(file, time);
    if (!c) {
      log_.append(" Interrupted connection data unreadable: nothing booked.");
      host_.finishQuickLogLine(abortedQuickLogTail(journal.entry));
      return true;
    }
    c->identity = identity;
    // A kept booking's line may have had its tail when the next connection began.
    c->lineOpen = !linesFinished_.contains(identity);
    const bool booked = host_.closeOutRecovered(*c);
    log_.append(booked ? " Interrupted connection was being booked: booking completed."
                       : " Interrupted connection was being booked: booking failed, kept for the "
                         "next attempt.");
    return booked;
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
