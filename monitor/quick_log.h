#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "config/number_text.h"
#include "platform/clock.h"

namespace tarvik {

// The quick connections log Velk.TxT: one line per connection, opened with a stamp at the
// connection's first sign and finished with a tail when its fate is known. Code page 1251,
// CR LF line ends; every call opens and closes the file, and a file that cannot be opened is
// ignored (the calls return false).
class QuickLog {
 public:
  explicit QuickLog(std::filesystem::path file);

  const std::filesystem::path& path() const { return file_; }

  // Writes the header line and an empty line when the file does not exist yet.
  bool createIfMissing();
  // Appends the stamp "dd.mm.yyyy hh:nn:ss" without a line end. A line left open earlier (a
  // close-out that failed, a crash during authentication) is ended first, so that every
  // connection starts a line of its own.
  bool openLine(const LocalTime& now);
  // Appends a tail and the line end.
  bool finishLine(std::string_view tail);

 private:
  bool append(std::string_view utf8Text);

  std::filesystem::path file_;
};

// A phonebook entry or device name as it may stand in a line of the logs: control characters
// (a line break in a hand-made entry name) become blanks, so one connection stays one line.
std::string oneLine(std::string_view name);

inline constexpr std::string_view kQuickLogHeader = "Tarvik «4» quick connections log";

// Tail of a booked connection: " = 00:00:30 + [$ | ~0.2083 | =99.791 ] <Default>".
// `costHundredths` is shown in whole units; a one-character currency sign gets a blank.
std::string bookedQuickLogTail(std::string_view currencySign, std::int64_t seconds,
                               float costHundredths, float balance, std::string_view entry,
                               const NumberFormat& format);
// Tail of a connection whose authentication ended without a connection.
std::string neverEstablishedQuickLogTail(float balance, std::string_view entry,
                                         const NumberFormat& format);
// Tail of a connection abandoned by the user: program closed while online, or an interrupted
// connection ignored at recovery.
std::string abortedQuickLogTail(std::string_view entry);

}  // namespace tarvik
