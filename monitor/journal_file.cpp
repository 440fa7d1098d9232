#include "monitor/journal_file.h"

#include <algorithm>
#include <system_error>

#include "config/entry_section.h"
#include "config/ini_file.h"
#include "config/keys.h"
#include "monitor/quick_log.h"

namespace tarvik {

namespace {

// The journal files keep their record under the section every data file shares.
const Section<Scope::Journal> kSection = sections::journal();
constexpr const char* kBookingStarted = "started";
constexpr const char* kBookingIgnored = "ignored";
// An entry name that would not come back from "Entry" as it was (blanks at its ends are
// trimmed, a line break cuts it, characters code page 1251 lacks become '?') is kept here as
// well, byte by byte in hexadecimal (journal_keys::kEntryCode), so the recovery books it to
// the right entry.

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

const char* markText(BookingMark mark) {
  switch (mark) {
    case BookingMark::Started:
      return kBookingStarted;
    case BookingMark::Ignored:
      return kBookingIgnored;
    case BookingMark::None:
      break;
  }
  return nullptr;
}

BookingMark readMark(const IniFile& journal) {
  const std::string text = readKey(journal, kSection, journal_keys::kBooking);
  if (text == kBookingStarted) return BookingMark::Started;
  if (text == kBookingIgnored) return BookingMark::Ignored;
  return BookingMark::None;
}

bool fileExists(const std::filesystem::path& p) {
  std::error_code ec;
  return std::filesystem::exists(p, ec);
}

}  // namespace

void writeJournalRecord(const std::filesystem::path& file, const JournalRecord& record,
                        NumberFormat format) {
  IniFile journal(file);
  IniEdit edit(journal);
  writeKey(edit, kSection, journal_keys::kTime, record.time);
  const std::string& entry = record.figures.entry;
  writeKey(edit, kSection, journal_keys::kEntry, plainEntryValue(entry) ? entry : oneLine(entry));
  writeKey(edit, kSection, journal_keys::kLosses, formatGeneral(record.figures.cost, format));
  writeKey(edit, kSection, journal_keys::kAccount, formatGeneral(record.figures.balance, format));
  writeKey(edit, kSection, journal_keys::kDuration, record.figures.seconds);
  writeKey(edit, kSection, journal_keys::kWeekDay, record.weekday);
  writeKey(edit, kSection, journal_keys::kAccId, record.figures.accountKind);
  if (plainEntryValue(entry))
    deleteKey(edit, kSection, journal_keys::kEntryCode);
  else
    writeKey(edit, kSection, journal_keys::kEntryCode, entryCode(entry));
  if (const char* mark = markText(record.mark))
    writeKey(edit, kSection, journal_keys::kBooking, mark);
  else
    deleteKey(edit, kSection, journal_keys::kBooking);
  if (!record.identity.empty())
    writeKey(edit, kSection, journal_keys::kBookingId, record.identity);
  else
    deleteKey(edit, kSection, journal_keys::kBookingId);
  edit.commit();
}

JournalReading readJournalRecord(const std::filesystem::path& file) {
  const IniFile journal(file);
  JournalReading r;
  r.time = readKey(journal, kSection, journal_keys::kTime);
  if (auto entry = decodeEntry(readKey(journal, kSection, journal_keys::kEntryCode))) {
    r.entry = *entry;
  } else {
    r.entry = readKey(journal, kSection, journal_keys::kEntry);
  }
  r.accountKind = readKey(journal, kSection, journal_keys::kAccId);
  if (r.accountKind < 0 || r.accountKind > 5) r.accountKind = 0;
  const int weekday = readKey(journal, kSection, journal_keys::kWeekDay, -1);
  if (weekday >= 0 && weekday <= 6) r.weekday = weekday;
  r.seconds = std::max(0, readKey(journal, kSection, journal_keys::kDuration));
  r.hasLosses = hasKey(journal, kSection, journal_keys::kLosses);
  r.losses = parseDecimal(readKey(journal, kSection, journal_keys::kLosses));
  r.account = parseDecimal(readKey(journal, kSection, journal_keys::kAccount));
  r.mark = readMark(journal);
  r.identity = readKey(journal, kSection, journal_keys::kBookingId);
  return r;
}

std::filesystem::path foundJournal(const ProgramFiles& files) {
  std::filesystem::path found;
  for (const auto& candidate : {files.journalTmp(), files.journalPro(), files.journalSeq()})
    if (fileExists(candidate)) found = candidate;
  return found;
}

bool anyJournalLeft(const ProgramFiles& files) {
  return !foundJournal(files).empty();
}

void removeJournalFiles(const ProgramFiles& files) {
  std::error_code ec;
  std::filesystem::remove(files.journalTmp(), ec);
  std::filesystem::remove(files.journalPro(), ec);
  std::filesystem::remove(files.journalSeq(), ec);
}

}  // namespace tarvik
