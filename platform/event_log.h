#pragma once

#include <filesystem>
#include <string_view>

#include "platform/clock.h"

namespace tarvik {

// The English event log Tarvik.LOG: code page 1251, CR LF line ends, opened and closed for
// every append, failures swallowed.
class EventLog {
 public:
  EventLog(std::filesystem::path file, const Clock& clock);

  // `text` may hold several lines separated by "\n"; each becomes one line. With `stamp`, an
  // empty line and the stamp "dd.mm.yyyy hh:nn:ss" come first. `lineEnds` (0, 1, 2) line
  // ends follow the text.
  void append(std::string_view text, bool stamp = false, int lineEnds = 1);

  const std::filesystem::path& path() const { return file_; }
  // The program's clock, which stamps the lines: what "today" is for those who log.
  const Clock& clock() const { return clock_; }

 private:
  std::filesystem::path file_;
  const Clock& clock_;
};

}  // namespace tarvik
