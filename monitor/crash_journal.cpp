#include "monitor/crash_journal.h"

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
      format_(format) {
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

std::string CrashJournal::markClosing(const MeterFigures& finalFigures) {
  marked_ = false;
  if (kept_) return {};
  JournalRecord record = recordNow(finalFigures);
  record.mark = BookingMark::Started;
  record.identity = nextBookingIdentity(files_);
  marked_ = writeMark(record) == Mark::Written;
  return marked_ ? record.identity : std::string();
}

bool CrashJournal::closeOutEnded(bool booked) {
  const bool marked = std::exchange(marked_, false);
  if (kept_) return false;
  if (booked || !marked) return true;
  kept_ = true;
  stopForDisconnect();
  return false;
}

void CrashJournal::completeKeptBooking() {
  if (!kept_ || !completeStartedBooking(files_.journalSeq())) return;
  kept_ = false;
  removeJournalFiles(files_);
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
