#include "monitor/crash_journal.h"

#include <algorithm>
#include <utility>

#include "config/codepage.h"

#include "monitor/booking_identity.h"
#include "platform/time_text.h"

namespace tarvik {

const char* const kRecoveryQuestion =
    "Во время предыдущего соединения с Интернетом произошёл сбой,\n"
    "в результате которого, программа НЕ была закрыта логически.\n"
    "Все расчётные данные предыдущего соединения не были утрачены.\n"
    "Какое действие следует произвести?";
const char* const kJournalBalloonTitle = "Система защиты от сбоев";
const char* const kConnectionInMemoryText =
    "Возникла ошибка при попытке записать файл на диск.\n"
    "Данные завершённого соединения не удалось сохранить ни в один файл.\n"
    "Они будут записаны, как только запись станет возможной,\n"
    "и пропадут, если программа будет закрыта раньше.";
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

JournalRecord CrashJournal::recordNow(const ConnectionFigures& figures) const {
  const LocalTime now = clock_.now();
  JournalRecord record{journalTimeText(now), figures, BookingMark::None, {}};
  record.figures.weekday = now.weekday;
  return record;
}

void CrashJournal::writeLevelOne() {
  if (kept_) return;
  try {
    const JournalRecord record = recordNow(host_.meterFigures());
    writeJournalRecords(files_.journalPro(), files_.journalTmp(), record, format_);
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

std::string CrashJournal::markClosing(const ConnectionFigures& finalFigures) {
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
  holdInMemory(closing_);
  return !kept_;
}

void CrashJournal::holdInMemory(const JournalRecord& record) {
  // No file can hold it: it waits in memory behind the others, lost only if the program ends
  // before any file can be written, rather than dropped at once; the user is told.
  unrecorded_.push_back(record);
  log_.append(" Failed saving connection data: no file can be written, it waits in memory.");
  std::error_code ec;
  if (!std::filesystem::exists(files_.noGo(), ec)) user_.message(kConnectionInMemoryText);
}

bool CrashJournal::keep(const JournalRecord& record, bool lineOpen) {
  try {
    waiting_.append(KeptBooking{record, lineOpen});
  } catch (const std::exception&) {
    return false;
  }
  queued_.push_back(KeptBooking{record, lineOpen});
  noteQueueAside();
  return true;
}

void CrashJournal::noteQueueAside() {
  const bool aside = waiting_.movedAside();
  if (aside && !queueAside_)
    log_.append(" Failed write security.que: the kept bookings are kept in security.qu2.");
  queueAside_ = aside;
}

CloseOutFigures CrashJournal::connectionOf(const JournalRecord& record) {
  CloseOutFigures c;
  c.figures = record.figures;
  c.identity = record.identity;
  c.isVirtual = true;
  return c;
}

void CrashJournal::completeKeptBooking() {
  if (bookQueue() && kept_) {
    if (completeStartedBooking(files_.journalSeq())) {
      kept_ = false;
      removeJournalFiles(files_);
    }
  }
  // Those held in memory are newer than the marked journal, which is written first. Each is
  // written when nothing waits before it, else kept in the queue behind the others, so none
  // stays only in memory once a file can take it.
  while (!unrecorded_.empty() && !kept_) {
    CloseOutFigures c = connectionOf(unrecorded_.front());
    if (!queued_.empty() || !writeKept(c, true)) {
      if (!keep(unrecorded_.front(), true)) return;
    }
    unrecorded_.erase(unrecorded_.begin());
  }
}

void CrashJournal::keepBeforeExit() {
  completeKeptBooking();
  if (!unrecorded_.empty())
    log_.append(" Failed saving connection data: " + std::to_string(unrecorded_.size()) +
                " connection(s) lost at exit, no file can be written.");
}

bool CrashJournal::bookQueue() {
  KeptQueue queue = waiting_.read();
  if (queue.bookings.empty() && queue.refused.empty()) {
    queued_.clear();
    return true;
  }
  bool rewrite = false;
  if (!queue.refused.empty()) {
    for (const RefusedBooking& r : queue.refused)
      log_.append(" Kept connection data incomplete ([" + r.section + "], " + r.why +
                  "): not booked, set aside in security.bad.");
    try {
      waiting_.setAside(queue.refused);
      queue.refused.clear();
      rewrite = true;
    } catch (const std::exception&) {
      log_.append(" Failed write security.bad: the incomplete data stays in security.que.");
    }
  }

  // The statistics carry the identity of the last booking written, and bookings are written
  // in the order of their identities: one not above it is written, whatever copies of it the
  // file holds.
  const int booked = identityNumber(lastBookedIdentity(files_));
  std::vector<KeptBooking> written, fresh;
  for (KeptBooking& k : queue.bookings)
    (identityNumber(k.record.identity) <= booked ? written : fresh).push_back(std::move(k));
  std::vector<KeptBooking> remaining = balancesToRewrite(written);
  rewrite = rewrite || !written.empty();
  std::vector<CloseOutFigures> connections;
  for (const KeptBooking& k : remaining) {
    connections.push_back(connectionOf(k.record));
    connections.back().statisticsBooked = true;
  }
  for (KeptBooking& k : fresh) {
    connections.push_back(connectionOf(k.record));
    remaining.push_back(std::move(k));
  }
  for (std::size_t i = 0; i < connections.size(); ++i) {
    CloseOutFigures& c = connections[i];
    c.retry = true;
    c.lineOpen = remaining[i].lineOpen && !linesFinished_.contains(c.identity);
  }
  if (!connections.empty()) {
    if (host_.closeOutKept(connections)) {
      for (const CloseOutFigures& c : connections) linesFinished_.insert(c.identity);
      remaining.clear();
      rewrite = true;
    } else {
      log_.append(" Kept connection not booked yet: the data files cannot be written.");
    }
  }
  if (rewrite) {
    try {
      waiting_.rewrite(remaining, queue.refused);
      queueRewriteFailed_ = false;
      noteQueueAside();
    } catch (const std::exception&) {
      // Those written stay in the file, where their identities keep them from being booked
      // again; nothing waits behind them.
      if (!std::exchange(queueRewriteFailed_, true))
        log_.append(" Failed write security.que: bookings written from it stay in it.");
    }
  }
  queued_ = std::move(remaining);
  return queued_.empty();
}

std::vector<KeptBooking> CrashJournal::balancesToRewrite(
    const std::vector<KeptBooking>& written) const {
  // Only while the last booking written is one of them can an attempt have stopped between
  // the statistics and the balances; a later booking means they were all written.
  const std::string last = lastBookedIdentity(files_);
  if (std::none_of(written.begin(), written.end(),
                   [&](const KeptBooking& k) { return k.record.identity == last; }))
    return {};
  // The balances of one attempt are one replacement: all written or none. Each account the
  // bookings write holds the newest one's balance when they were.
  std::set<std::string> seen;
  for (auto it = written.rbegin(); it != written.rend(); ++it) {
    const ConnectionFigures& f = it->record.figures;
    for (const int kind : {f.accountKind, static_cast<int>(kAccountIndividual)}) {
      const AccountKey key = accountKey(f.entry, kind);
      const std::string name =
          cp1251Fold(utf8ToCp1251(key.section.name() + "\n" + key.key.name.str()));
      if (seen.insert(name).second && host_.storedBalance(f.entry, kind) != f.balance)
        return written;
    }
  }
  return {};
}

bool CrashJournal::writeKept(CloseOutFigures& c, bool lineOpen) {
  c.retry = true;
  c.lineOpen = lineOpen && !linesFinished_.contains(c.identity);
  log_.append(" Kept connection data:");
  if (!host_.closeOutRecovered(c)) {
    log_.append(" Kept connection not booked yet: the data files cannot be written.");
    return false;
  }
  linesFinished_.insert(c.identity);
  return true;
}

std::optional<float> CrashJournal::pendingBalance(const AccountKey& account) const {
  std::optional<float> balance = KeptBookings::pendingBalance(queued_, account);
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
  std::vector<JournalRecord> order;
  for (const KeptBooking& k : queued_)
    if (k.lineOpen) order.push_back(k.record);
  if (kept_) {
    std::string time;
    if (const std::optional<CloseOutFigures> c = readConnection(files_.journalSeq(), time)) {
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
  for (KeptBooking& k : queued_) k.lineOpen = false;
  try {
    waiting_.setLinesFinished();
    noteQueueAside();
  } catch (const std::exception&) {
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
