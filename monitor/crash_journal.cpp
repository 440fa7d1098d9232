#include "monitor/crash_journal.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "config/entry_section.h"
#include "config/ini_file.h"
#include "config/keys.h"
#include "monitor/booking_identity.h"
#include "monitor/quick_log.h"
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

namespace {

// The journal files keep their record under the section every data file shares.
constexpr std::string_view kSection = kGlobalSection;
constexpr const char* kBookingKey = "Booking";
constexpr const char* kBookingStarted = "started";
constexpr const char* kBookingIgnored = "ignored";
constexpr const char* kIdentityKey = "BookingId";
// An entry name that would not come back from "Entry" as it was (blanks at its ends are
// trimmed, a line break cuts it, characters code page 1251 lacks become '?') is kept here as
// well, byte by byte in hexadecimal, so the recovery books it to the right entry.
constexpr const char* kEntryCodeKey = "EntryCode";

std::string entryCode(std::string_view entry) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string code;
  for (const char c : entry) {
    const auto byte = static_cast<unsigned char>(c);
    code += kHex[byte >> 4];
    code += kHex[byte & 0x0F];
  }
  return code;
}

std::optional<std::string> decodeEntry(std::string_view code) {
  const auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  if (code.empty() || code.size() % 2 != 0) return std::nullopt;
  std::string entry;
  for (std::size_t i = 0; i < code.size(); i += 2) {
    const int high = digit(code[i]);
    const int low = digit(code[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    entry += static_cast<char>(high * 16 + low);
  }
  return entry;
}

bool plainEntryValue(std::string_view entry) {
  return sectionForEntry(entry) == entry;
}

std::string readEntry(const IniFile& journal) {
  if (auto entry = decodeEntry(journal.readString(kSection, kEntryCodeKey, ""))) return *entry;
  return journal.readString(kSection, "Entry", "Default");
}

bool fileExists(const std::filesystem::path& p) {
  std::error_code ec;
  return std::filesystem::exists(p, ec);
}

}  // namespace

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

CrashJournal::Record CrashJournal::recordNow(const MeterFigures& figures) const {
  const LocalTime now = clock_.now();
  return Record{journalTimeText(now), figures, now.weekday, nullptr, {}};
}

void CrashJournal::writeRecord(const std::filesystem::path& file, const Record& record) {
  IniFile journal(file);
  IniEdit edit(journal);
  edit.writeString(kSection, "Time", record.time);
  const std::string& entry = record.figures.entry;
  edit.writeString(kSection, "Entry", plainEntryValue(entry) ? entry : oneLine(entry));
  edit.writeString(kSection, "Losses", formatGeneral(record.figures.cost, format_));
  edit.writeString(kSection, "Account", formatGeneral(record.figures.balance, format_));
  edit.writeInt(kSection, "Duration", record.figures.seconds);
  edit.writeInt(kSection, "WeekDay", record.weekday);
  edit.writeInt(kSection, "AccID", record.figures.accountKind);
  if (plainEntryValue(entry))
    edit.deleteKey(kSection, kEntryCodeKey);
  else
    edit.writeString(kSection, kEntryCodeKey, entryCode(entry));
  if (record.booking != nullptr)
    edit.writeString(kSection, kBookingKey, record.booking);
  else
    edit.deleteKey(kSection, kBookingKey);
  if (!record.identity.empty())
    edit.writeString(kSection, kIdentityKey, record.identity);
  else
    edit.deleteKey(kSection, kIdentityKey);
  edit.commit();
}

void CrashJournal::writeLevelOne() {
  if (kept_) return;
  try {
    const Record record = recordNow(host_.meterFigures());
    writeRecord(files_.journalPro(), record);
    writeRecord(files_.journalTmp(), record);
  } catch (const std::exception&) {
    writeFailed();
  }
}

void CrashJournal::writeLevelTwo() {
  if (kept_) return;
  try {
    writeRecord(files_.journalSeq(), recordNow(host_.meterFigures()));
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

CrashJournal::Mark CrashJournal::writeMark(const Record& record) {
  // security.seq is the journal a start-up reads first; once it carries the mark, no file
  // that a start-up could pick is unmarked.
  try {
    writeRecord(files_.journalSeq(), record);
    return Mark::Written;
  } catch (const std::exception&) {
  }
  // The mark could not be written: without the journal a kill loses this connection, with an
  // unmarked one it would count twice. Losing is the lesser harm.
  removeFiles();
  const bool gone = !fileExists(files_.journalSeq()) && !fileExists(files_.journalPro()) &&
                    !fileExists(files_.journalTmp());
  return gone ? Mark::Removed : Mark::Failed;
}

std::string CrashJournal::markClosing(const MeterFigures& finalFigures) {
  marked_ = false;
  if (kept_) return {};
  Record record = recordNow(finalFigures);
  record.booking = kBookingStarted;
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
  removeFiles();
}

void CrashJournal::markIgnored() {
  // A kept booking's mark must stay; the connection now ending has no journal of its own.
  if (kept_) return;
  Record record = recordNow(host_.meterFigures());
  record.booking = kBookingIgnored;
  writeMark(record);
}

void CrashJournal::remove() {
  if (!kept_) removeFiles();
}

void CrashJournal::removeFiles() {
  // security.seq goes last: it is the file a start-up prefers, and it may carry the mark.
  std::error_code ec;
  std::filesystem::remove(files_.journalTmp(), ec);
  std::filesystem::remove(files_.journalPro(), ec);
  std::filesystem::remove(files_.journalSeq(), ec);
}

bool CrashJournal::detectAtStart() {
  path_.clear();
  for (const auto& candidate : {files_.journalTmp(), files_.journalPro(), files_.journalSeq()})
    if (fileExists(candidate)) path_ = candidate;
  if (path_.empty()) return false;

  const IniFile journal(path_);
  const std::string time = journal.readString(kSection, "Time", journalTimeText(clock_.now()));
  log_.append(" Abnormal termination detected (" + time + ")");
  remindedOnce_ = false;

  const std::string booking = journal.readString(kSection, kBookingKey, "");
  if (booking == kBookingStarted) {
    resumeInterruptedBooking();
  } else if (booking == kBookingIgnored) {
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
  const IniFile journal(file);
  InterruptedConnection c;
  c.entry = readEntry(journal);
  c.accountKind = journal.readInt(kSection, "AccID", 0);
  if (c.accountKind < 0 || c.accountKind > 5) c.accountKind = 0;
  c.weekday = journal.readInt(kSection, "WeekDay", clock_.now().weekday);
  if (c.weekday < 0 || c.weekday > 6) c.weekday = clock_.now().weekday;
  c.seconds = std::max(0, journal.readInt(kSection, "Duration", 0));
  time = journal.readString(kSection, "Time", journalTimeText(clock_.now()));

  const bool hasLosses = journal.hasKey(kSection, "Losses");
  const std::optional<double> losses = parseDecimal(journal.readString(kSection, "Losses", "0"));
  const std::optional<double> account = parseDecimal(journal.readString(kSection, "Account", ""));
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
    if (fileExists(file) && (c = readConnection(file, time))) break;
  }
  if (!c) {
    log_.append(" Interrupted connection data unreadable: nothing booked.");
    host_.finishQuickLogLine(abortedQuickLogTail(readEntry(IniFile(path_))));
    finishRecovery();
    return;
  }

  Record record;
  record.time = time;
  record.figures = MeterFigures{c->entry, c->cost, c->balance, c->seconds, c->accountKind};
  record.weekday = c->weekday;
  record.booking = kBookingStarted;
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
  kept_ = !host_.closeOutRecovered(*c) && fileExists(files_.journalSeq());
  host_.refreshStatistics(c->entry);
  finishRecovery();
}

void CrashJournal::ignore() {
  log_.append(" Interrupted connection subtracted from statistics (user request)");
  const IniFile journal(path_);
  const std::string entry = readEntry(journal);
  Record record;
  record.time = journal.readString(kSection, "Time", journalTimeText(clock_.now()));
  record.figures.entry = entry;
  record.weekday = clock_.now().weekday;
  record.booking = kBookingIgnored;
  writeMark(record);
  host_.finishQuickLogLine(abortedQuickLogTail(entry));
  finishRecovery();
}

void CrashJournal::resumeInterruptedBooking() {
  kept_ = !completeStartedBooking(path_);
  finishRecovery();
}

bool CrashJournal::completeStartedBooking(const std::filesystem::path& file) {
  const IniFile journal(file);
  const std::string identity = journal.readString(kSection, kIdentityKey, "");
  if (!identity.empty() && lastBookedIdentity(files_) != identity) {
    // The statistics come first in a close-out and lack this booking, so nothing of it reached
    // the files: the whole close-out runs now.
    log_.append(" Interrupted connection was being booked: booking completed.");
    std::string time;
    std::optional<InterruptedConnection> c = readConnection(file, time);
    if (!c) {
      log_.append(" Interrupted connection data unreadable: nothing booked.");
      host_.finishQuickLogLine(abortedQuickLogTail(readEntry(journal)));
      return true;
    }
    c->identity = identity;
    const bool booked = host_.closeOutRecovered(*c);
    host_.refreshStatistics(c->entry);
    return booked;
  }
  // The statistics hold this booking (or the journal predates identities and they may):
  // they are left alone. The balance is an absolute value, so writing it again completes a
  // booking that stopped before it and changes nothing otherwise.
  const std::string entry = readEntry(journal);
  int accountKind = journal.readInt(kSection, "AccID", 0);
  if (accountKind < 0 || accountKind > 5) accountKind = 0;
  const std::optional<double> account = parseDecimal(journal.readString(kSection, "Account", ""));
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
