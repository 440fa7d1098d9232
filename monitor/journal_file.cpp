#include "monitor/journal_file.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "config/entry_section.h"
#include "config/ini_file.h"
#include "config/keys.h"
#include "config/write_step.h"
#include "monitor/quick_log.h"

namespace tarvik {

namespace {

constexpr const char* kBookingStarted = "started";
constexpr const char* kBookingIgnored = "ignored";
// An entry name that would not come back from "Entry" as it was (blanks at its ends are
// trimmed, a line break cuts it, characters code page 1251 lacks become '?') is kept here as
// well, byte by byte in hexadecimal (journal_keys::kEntryCode), so the recovery books it to
// the right entry. A value reads back cut to 1023 characters, so a long code goes in pieces:
// "EntryCode" holds the first (all of it in journals written before the pieces),
// "EntryCode2", "EntryCode3" ... the rest.
constexpr std::size_t kEntryCodePiece = 1000;  // even, so each piece holds whole bytes

journal_keys::T entryCodeKey(int piece) {
  journal_keys::T key = journal_keys::kEntryCode;
  if (piece > 0) key.name.append(piece + 1);
  return key;
}

void putEntryCode(IniEdit& edit, const Section<Scope::Journal>& section, std::string_view code) {
  int piece = 0;
  for (; static_cast<std::size_t>(piece) * kEntryCodePiece < code.size(); ++piece)
    writeKey(edit, section, entryCodeKey(piece),
             code.substr(piece * kEntryCodePiece, kEntryCodePiece));
  // A piece left from a longer name would be read on.
  deleteKey(edit, section, entryCodeKey(piece));
}

template <class File>
std::string getEntryCode(const File& journal, const Section<Scope::Journal>& section) {
  std::string code;
  for (int piece = 0;; ++piece) {
    const std::string part = readKey(journal, section, entryCodeKey(piece));
    code += part;
    if (part.size() != kEntryCodePiece) return code;
  }
}

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

template <class File>
BookingMark readMark(const File& journal, const Section<Scope::Journal>& section) {
  const std::string text = readKey(journal, section, journal_keys::kBooking);
  if (text == kBookingStarted) return BookingMark::Started;
  if (text == kBookingIgnored) return BookingMark::Ignored;
  return BookingMark::None;
}

// A journal written before volumes were kept, or a hand-made figure, books no volume.
std::uint64_t byteCount(std::string_view text) {
  std::uint64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end ? value : 0;
}

bool fileExists(const std::filesystem::path& p) {
  std::error_code ec;
  return std::filesystem::exists(p, ec);
}

}  // namespace

void writeJournalRecord(const std::filesystem::path& file, const JournalRecord& record,
                        NumberFormat format) {
  // The journal files keep their record under the section every data file shares.
  IniEdit edit{IniFile(file)};
  putJournalRecord(edit, sections::journal(), record, format);
  edit.commit();
}

void writeJournalRecords(const std::filesystem::path& first, const std::filesystem::path& second,
                         const JournalRecord& record, NumberFormat format) {
  IniEdit one{IniFile(first)};
  putJournalRecord(one, sections::journal(), record, format);
  IniEdit two{IniFile(second)};
  putJournalRecord(two, sections::journal(), record, format);
  IniEdit::commitTogether(one, two);
}

void putJournalRecord(IniEdit& edit, const Section<Scope::Journal>& section,
                      const JournalRecord& record, NumberFormat format) {
  const ConnectionFigures& f = record.figures;
  writeKey(edit, section, journal_keys::kTime, record.time);
  const std::string& entry = f.entry;
  writeKey(edit, section, journal_keys::kEntry, plainEntryValue(entry) ? entry : oneLine(entry));
  writeKey(edit, section, journal_keys::kLosses, formatMoney(f.cost, format));
  writeKey(edit, section, journal_keys::kAccount, formatMoney(f.balance, format));
  writeKey(edit, section, journal_keys::kDuration, f.seconds);
  writeKey(edit, section, journal_keys::kWeekDay, f.weekday);
  writeKey(edit, section, journal_keys::kAccId, f.accountKind);
  // Only a connection that moved bytes carries them, so a journal of a line without counters
  // holds just the keys it always held.
  const TrafficBytes& volume = f.volume;
  if (volume != TrafficBytes{}) {
    writeKey(edit, section, journal_keys::kReceived, std::to_string(volume.received));
    writeKey(edit, section, journal_keys::kSent, std::to_string(volume.sent));
  } else {
    deleteKey(edit, section, journal_keys::kReceived);
    deleteKey(edit, section, journal_keys::kSent);
  }
  putEntryCode(edit, section, plainEntryValue(entry) ? std::string() : entryCode(entry));
  if (const char* mark = markText(record.mark))
    writeKey(edit, section, journal_keys::kBooking, mark);
  else
    deleteKey(edit, section, journal_keys::kBooking);
  if (!record.identity.empty())
    writeKey(edit, section, journal_keys::kBookingId, record.identity);
  else
    deleteKey(edit, section, journal_keys::kBookingId);
}

JournalReading readJournalRecord(const std::filesystem::path& file) {
  return getJournalRecord(IniFile(file), sections::journal());
}

namespace {

template <class File>
JournalReading readRecord(const File& journal, const Section<Scope::Journal>& section) {
  JournalReading r;
  r.time = readKey(journal, section, journal_keys::kTime);
  if (auto entry = decodeEntry(getEntryCode(journal, section))) {
    r.entry = *entry;
  } else {
    r.entry = readKey(journal, section, journal_keys::kEntry);
  }
  r.accountKind = readKey(journal, section, journal_keys::kAccId);
  if (r.accountKind < 0 || r.accountKind > 5) r.accountKind = 0;
  const int weekday = readKey(journal, section, journal_keys::kWeekDay, -1);
  if (weekday >= 0 && weekday <= 6) r.weekday = weekday;
  r.seconds = readKey(journal, section, journal_keys::kDuration, -1);
  if (r.seconds < 0) {
    r.sound = !hasKey(journal, section, journal_keys::kDuration);
    r.seconds = 0;
  }
  r.hasLosses = hasKey(journal, section, journal_keys::kLosses);
  r.losses = parseDecimal(readKey(journal, section, journal_keys::kLosses));
  r.account = parseDecimal(readKey(journal, section, journal_keys::kAccount));
  const auto fits = [](const std::optional<double>& v) {
    return !v || std::fabs(*v) <= std::numeric_limits<float>::max();
  };
  if (!fits(r.losses) || !fits(r.account)) r.sound = false;
  r.mark = readMark(journal, section);
  r.identity = readKey(journal, section, journal_keys::kBookingId);
  r.volume = {byteCount(readKey(journal, section, journal_keys::kReceived)),
              byteCount(readKey(journal, section, journal_keys::kSent))};
  return r;
}

}  // namespace

JournalReading getJournalRecord(const IniFile& journal, const Section<Scope::Journal>& section) {
  return readRecord(journal, section);
}

JournalReading getJournalRecord(const IniDocument& journal,
                                const Section<Scope::Journal>& section) {
  return readRecord(journal, section);
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
  for (const auto& file : {files.journalTmp(), files.journalPro(), files.journalSeq()}) {
    writeStep();
    std::filesystem::remove(file, ec);
  }
}

}  // namespace tarvik
