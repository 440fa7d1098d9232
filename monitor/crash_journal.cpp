#include "monitor/crash_journal.h"

#include <algorithm>
#include <utility>

#include "monitor/booking_identity.h"
#include "platform/time_text.h"

namespace tarvik {

const char* const kRecoveryQuestion =
    "Во время предыдущего соединения с Интернетом произошёл сбой,\n"
    "в результате которого, программа НЕ была закрыта логически.\n"
    "Все расчётные данные предыдущего соединения не были утрачены.\n"
    "Какое действие следует произвести?";
const char* const kJournalBalloonTitle = "Система защиты от сбоев";
const char* const kJournalWriteErrorText =
    "Возникла ошибка во время записи\nнеобходимых файлов на диск...\nСистема защиты от сбоев "
    "будет\nотключена для текущего соединения.\nЕсли ошибка повториться - свяжитесь с автором.";

CrashJournal::CrashJournal(const ProgramFiles& files, const Clock& clock, EventLog& log, User& user,
                           CrashJournalHost& host, CrashJournalTimers timers, NumberFormat format)
    : files_(files),
      clock_(clock),
      log_(log),
      user_(user),
      host_(host),
      timers_(timers),
      format_(format),
      waiting_(files, format) {
  timers_.levelOne.setInterval(kJournalLevelOneMs);
  timers_.levelOne.onFire([this] { writeLevelOne(); });
  timers_.levelTwo.setInterval(kJournalLevelTwoMs);
  timers_.levelTwo.onFire([this] { writeLevelTwo(); });
  timers_.remind.setInterval(kRemindMs);
  timers_.remind.onFire([this] { askRecovery(); });
}

void CrashJournal::stopForDisconnect() {
  timers_.levelOne.setEnabled(false);
  timers_.levelTwo.setEnabled(false);
}

JournalRecord CrashJournal::recordNow(const MeterFigures& figures) const {
  const LocalTime now = clock_.now();
  return JournalRecord{journalTimeText(now), figures, now.weekday, BookingMark::None, {}};
}

void CrashJournal::writeLevelOne() {
  if (kept_) return;
  try {
    const JournalRecord record = recordNow(host_.meterFigures());
    writeJournalRecord(files_.journalPro(), record, format_);
    writeJournalRecord(files_.journalTmp(), record, format_);
  } catch (const std::exception&) {
    writeFailed();
  }
}

void CrashJournal::writeLevelTwo() {
  if (kept_) return;
  try {
    writeJournalRecord(files_.journalSeq(), recordNow(host_.meterFigures()), format_);
  } catch (const std::exception&) {
    writeFailed();
  }
}

void CrashJournal::writeFailed() {
  log_.append(" Failed write intelligence protection files.");
  user_.balloon(kJournalBalloonTitle, kJournalWriteErrorText, false);
  // The balloon stays until the system removes it.
  timers_.balloon.setEnabled(false);
  stopForDisconnect();
}

CrashJournal::Mark CrashJournal::writeMark(const JournalRecord& record) {
  // security.seq is the journal a start-up reads first; once it carries the mark, no file
  // that a start-up could pick is unmarked.
  try {
    writeJournalRecord(files_.journalSeq(), record, format_);
    return Mark::Written;
  } catch (const std::exception&) {
  }
  // The mark could not be written: without the journal a kill loses this connection, with an
  // unmarked one it would count twice. Losing is the lesser harm.
  removeJournalFiles(files_);
  return anyJournalLeft(files_) ? Mark::Failed : Mark::Removed;
}

std::string CrashJournal::nextIdentity() const {
  std::string after = waiting_.lastIdentity();
  if (kept_) after = readJournalRecord(files_.journalSeq()).identity;
  if (!unrecorded_.empty()) after = unrecorded_.back().identity;
  return nextBookingIdentity(files_, after);
}

void CrashJournal::connectionStarting() {
  // Before the meter reads the balance those bookings change.
  completeKeptBooking();
  finishKeptLine();
  // A journal an earlier connection left behind (its deletion failed) would be taken for this
  // connection's after a crash in its first seconds, and booked a second time.
  remove();
}

std::string CrashJournal::markClosing(const MeterFigures& finalFigures) {
  marked_ = false;
  completeKeptBooking();
  JournalRecord record = recordNow(finalFigures);
  record.mark = BookingMark::Started;
  record.identity = nextIdentity();
  closing_ = record;
  // While security.seq is the kept booking, a mark would write over it.
  if (!kept_) marked_ = writeMark(record) == Mark::Written;
  return record.identity;
}

bool CrashJournal::closeOutEnded(bool booked) {
  const bool marked = std::exchange(marked_, false);
  // The close-out left the connection's quick-log line open.
  if (booked || (!kept_ && keep(closing_, true))) return !kept_;
  if (!kept_ && marked) {
    // security.que refuses it too: the marked journal stays as the one kept booking.
    kept_ = true;
    stopForDisconnect();
    return false;
  }
  // No file can hold it: it waits in memory behind the others, lost only if the program ends
  // before the files can be written, rather than dropped at once.
  unrecorded_.push_back(closing_);
  return !kept_;
}

bool CrashJournal::keep(const JournalRecord& record, bool lineOpen) {
  try {
    waiting_.append(KeptBooking{record, lineOpen});
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

InterruptedConnection CrashJournal::connectionOf(const JournalRecord& record) {
  const MeterFigures& f = record.figures;
  InterruptedConnection c;
  c.entry = f.entry;
  c.accountKind = f.accountKind;
  c.weekday = record.weekday;
  c.seconds = f.seconds;
  c.cost = f.cost;
  c.balance = f.balance;
  c.volume = f.volume;
  c.identity = record.identity;
  return c;
}

void CrashJournal::completeKeptBooking() {
  for (const KeptBooking& kept : waiting_.list()) {
    if (!bookKept(kept)) return;
  }
  if (kept_) {
    if (!completeStartedBooking(files_.journalSeq())) return;
    kept_ = false;
    removeJournalFiles(files_);
  }
  while (!unrecorded_.empty()) {
    InterruptedConnection c = connectionOf(unrecorded_.front());
    if (!writeKept(c, true)) return;
    unrecorded_.erase(unrecorded_.begin());
  }
}

bool CrashJournal::bookKept(const KeptBooking& kept) {
  InterruptedConnection c = connectionOf(kept.record);
  // Written in an earlier session that security.que would not let go: the statistics carry it
  // as booked last and the account holds its balance, so it was reported then.
  if (lastBookedIdentity(files_) == c.identity &&
      host_.storedBalance(c.entry, c.accountKind) == c.balance)
    written_.insert(c.identity);
  if (!written_.contains(c.identity) && !writeKept(c, kept.lineOpen)) return false;
  try {
    waiting_.removeFirst();
  } catch (const std::exception&) {
    return false;
  }
  written_.erase(c.identity);
  return true;
}

bool CrashJournal::writeKept(InterruptedConnection& c, bool lineOpen) {
  c.retry = true;
  c.lineOpen = lineOpen && !linesFinished_.contains(c.identity);
  log_.append(" Kept connection data:");
  // The statistics carry the identity once written, so a booking that stopped at the balance
  // is not counted again here.
  if (!host_.closeOutRecovered(c)) {
    log_.append(" Kept connection not booked yet: the data files cannot be written.");
    return false;
  }
  linesFinished_.insert(c.identity);
  written_.insert(c.identity);
  return true;
}

std::optional<float> CrashJournal::pendingBalance(const AccountKey& account) const {
  std::optional<float> balance = waiting_.pendingBalance(account, written_);
  // The marked journal standing in for security.que, then the bookings no file could take,
  // are newer than those in security.que.
  if (kept_) {
    const JournalReading seq = readJournalRecord(files_.journalSeq());
    if (seq.sound && seq.account && KeptBookings::writes(seq.entry, seq.accountKind, account))
      balance = static_cast<float>(*seq.account);
  }
  for (const JournalRecord& r : unrecorded_)
    if (KeptBookings::writes(r.figures.entry, r.figures.accountKind, account))
      balance = r.figures.balance;
  return balance;
}

void CrashJournal::finishKeptLine() {
  // Only the newest kept booking's line can still be the open one: every line that opened
  // after an older one came here first. Oldest first: security.que, the marked journal
  // standing in for it, those no file could take.
  const std::vector<KeptBooking> kept = waiting_.list();
  std::vector<JournalRecord> order;
  for (const KeptBooking& k : kept)
    if (k.lineOpen) order.push_back(k.record);
  if (kept_) {
    std::string time;
    if (const std::optional<InterruptedConnection> c = readConnection(files_.journalSeq(), time)) {
      JournalRecord seq = recordOf(*c, time);
      seq.identity = readJournalRecord(files_.journalSeq()).identity;
      order.push_back(seq);
    }
  }
  order.insert(order.end(), unrecorded_.begin(), unrecorded_.end());
  const auto open = std::find_if(order.rbegin(), order.rend(), [this](const JournalRecord& r) {
    return !linesFinished_.contains(r.identity);
  });
  if (open == order.rend()) return;
  // The figures are final; only their booking waits. The line shows them now, so that every
  // connection keeps a line of its own and the next one does not continue it.
  host_.finishQuickLogLine(host_.quickLogTail(connectionOf(*open)));
  for (const JournalRecord& r : order) linesFinished_.insert(r.identity);
  for (const KeptBooking& k : kept) {
    if (!k.lineOpen) continue;
    try {
      waiting_.setLineFinished(k.record.identity);
    } catch (const std::exception&) {
    }
  }
}

void CrashJournal::markIgnored() {
  // A kept booking's mark must stay; the connection now ending has no journal of its own.
  if (kept_) return;
  JournalRecord record = recordNow(host_.meterFigures());
  record.mark = BookingMark::Ignored;
  writeMark(record);
}

void CrashJournal::remove() {
  if (!kept_) removeJournalFiles(files_);
}

}  // namespace tarvik
