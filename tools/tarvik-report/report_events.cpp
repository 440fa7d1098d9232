#include "tools/tarvik-report/report_events.h"

#include <fstream>
#include <string>

#include "config/codepage.h"
#include "tools/tarvik-report/report_data.h"

namespace tarvik::report {

void printEventLog(const std::filesystem::path& file, std::ostream& out) {
  std::error_code error;
  // A FIFO or a device would block or never end; only a plain file is read.
  if (!std::filesystem::is_regular_file(file, error))
    throw ReportError("no event log " + file.string());
  std::ifstream in(file, std::ios::binary);
  if (!in) throw ReportError("cannot read " + file.string());
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    for (char& c : line) {
      const auto byte = static_cast<unsigned char>(c);
      if ((byte < 0x20 && c != '\t') || byte == 0x7F) c = '?';
    }
    out << cp1251ToUtf8(line) << '\n';
  }
  if (in.bad()) throw ReportError("cannot read " + file.string());
}

}  // namespace tarvik::report
