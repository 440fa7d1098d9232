// The crash journal and the kept-bookings queue as a start-up reads them from disk.
#include <cstdint>
#include <string>

#include "config/program_files.h"
#include "monitor/journal_file.h"
#include "monitor/pending_bookings.h"
#include "stats/accounts.h"
#include "tests/fuzz/fuzz_input.h"

using namespace tarvik;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const ProgramFiles files{fuzz::scratchDir()};
  const auto [journal, queue] =
      fuzz::splitInput(std::string_view(reinterpret_cast<const char*>(data), size));
  fuzz::writeFile(files.journalSeq(), journal);
  const JournalReading reading = readJournalRecord(files.journalSeq());
  if (reading.weekday && (*reading.weekday < 0 || *reading.weekday > 6))
    fuzz::finding("weekday out of range");

  fuzz::writeFile(files.keptBookings(), queue);
  const KeptBookings kept(files, NumberFormat{','});
  for (const KeptBooking& booking : kept.list()) {
    // A byte code page 1251 leaves unassigned (0x98) has no character to name its section by.
    if (booking.record.identity.empty() ||
        booking.record.identity.find("\xEF\xBF\xBD") != std::string::npos)
      continue;
    if (!kept.holds(booking.record.identity)) fuzz::finding("listed booking not held");
  }
  for (int kind = 0; kind < kAccountKindCount; ++kind)
    kept.pendingBalance(accountKey("Default", kind));
  return 0;
}
