#pragma once

#include <filesystem>
#include <ostream>

namespace tarvik::report {

// Copies the event log (code page 1251, CR LF) to `out` as UTF-8 lines ending in LF, a line
// at a time, so a log of any size streams. Control characters other than tabs become '?', so
// nothing in the log (an entry's name is written there) can act on the terminal. Throws
// ReportError when the file is missing, not a regular file or cannot be read.
void printEventLog(const std::filesystem::path& file, std::ostream& out);

}  // namespace tarvik::report
