// tarvik-report's readers and its three outputs: any statistics file and quick log give a
// report whose table and json are valid UTF-8 without terminal controls.
#include <cstdint>
#include <string>

#include "config/program_files.h"
#include "tests/fuzz/fuzz_input.h"
#include "tools/tarvik-report/report_data.h"
#include "tools/tarvik-report/report_log.h"
#include "tools/tarvik-report/report_output.h"

using namespace tarvik;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const ProgramFiles files{fuzz::scratchDir()};
  const auto [statistics, log] =
      fuzz::splitInput(std::string_view(reinterpret_cast<const char*>(data), size));
  fuzz::writeFile(files.statistics(), statistics);
  fuzz::writeFile(files.quickLog(), log);
  try {
    const report::Report report = report::readReport(files.dir, std::nullopt, true);
    for (const report::Format format :
         {report::Format::Text, report::Format::Json, report::Format::Csv}) {
      const std::string out = report::formatReport(report, format, NumberFormat{','});
      if (format == report::Format::Csv) continue;  // a csv holds names as the files do
      if (!fuzz::validUtf8(out)) fuzz::finding("output is not UTF-8");
      if (out.find('\x1B') != std::string::npos || out.find("\xC2\x9B") != std::string::npos)
        fuzz::finding("output holds a terminal control");
    }
  } catch (const report::ReportError&) {
  }
  return 0;
}
