#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "config/key_types.h"
#include "config/keys.h"
#include "config/number_text.h"
#include "config/program_files.h"
#include "monitor/connection_figures.h"
#include "platform/traffic.h"

namespace tarvik {

class IniDocument;
class IniEdit;
class IniFile;

// What a close-out has done with the connection a journal holds.
enum class BookingMark {
  None,     // still metered, or cut short by a crash
  Started,  // its booking began: a start-up completes it instead of asking
  Ignored,  // the program ended the connection without booking it
};

// One level of the journal (security.pro, security.tmp or security.seq): all three hold the
// same record, written at different moments.
struct JournalRecord {
  std::string time;  // "dd.mm.yyyy hh.nn.ss"
  ConnectionFigures figures;
  BookingMark mark = BookingMark::None;
  std::string identity;  // of a started booking
};

// Writes the record over the level's file, as one replacement. Throws IniWriteError.
void writeJournalRecord(const std::filesystem::path& file, const JournalRecord& record,
                        NumberFormat format);
// Writes the record over two levels' files at one go: both flushed, then renamed in this
// order, then their folder flushed once. Throws IniWriteError.
void writeJournalRecords(const std::filesystem::path& first, const std::filesystem::path& second,
                         const JournalRecord& record, NumberFormat format);
// The same keys in `section` of an edit (the kept bookings hold one record per section).
void putJournalRecord(IniEdit& edit, const Section<Scope::Journal>& section,
                      const JournalRecord& record, NumberFormat format);

// A level as read back, before the recovery decides what to make of missing figures.
struct JournalReading {
  std::string time;  // "" when missing
  std::string entry{kDefaultEntry};
  int accountKind = 0;
  std::optional<int> weekday;  // nullopt when missing or out of range
  int seconds = 0;
  bool hasLosses = false;
  std::optional<double> losses;   // nullopt when not a number
  std::optional<double> account;  // nullopt when missing or not a number
  BookingMark mark = BookingMark::None;
  std::string identity;
  TrafficBytes volume;  // 0 when missing or no count
  // False when a figure is there but cannot be a real one: costs or balances that single
  // precision cannot hold (1e39, INF, NAN), or a duration that is no count of seconds. Such a
  // level is unreadable; booking it would leave keys no later booking can read.
  bool sound = true;
};
JournalReading readJournalRecord(const std::filesystem::path& file);
JournalReading getJournalRecord(const IniFile& file, const Section<Scope::Journal>& section);
JournalReading getJournalRecord(const IniDocument& file, const Section<Scope::Journal>& section);

// The level a start-up looks at first: the last one present in the order security.tmp,
// security.pro, security.seq. Empty when there is none.
std::filesystem::path foundJournal(const ProgramFiles& files);
bool anyJournalLeft(const ProgramFiles& files);
// Deletes security.tmp, security.pro and security.seq, in that order: security.seq goes last
// because a start-up prefers it and it may carry the mark of a booking.
void removeJournalFiles(const ProgramFiles& files);

}  // namespace tarvik
