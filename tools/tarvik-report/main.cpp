// tarvik-report: prints the statistics, balances and quick log of a program directory as a
// table, csv or json, for scripts and spreadsheets. It only reads.

#include <clocale>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "tools/tarvik-report/report_data.h"
#include "tools/tarvik-report/report_output.h"

namespace {

using namespace tarvik::report;

constexpr int kErrorExit = 2;

int usage() {
  std::cerr << "usage: tarvik-report DIR [--entry NAME] [--format text|csv|json] [--log]\n";
  return kErrorExit;
}

tarvik::NumberFormat localeNumbers() {
  std::setlocale(LC_NUMERIC, "");
  const std::lconv* conventions = std::localeconv();
  const bool point =
      conventions && conventions->decimal_point && std::string(conventions->decimal_point) == ".";
  std::setlocale(LC_NUMERIC, "C");
  return tarvik::NumberFormat{point ? '.' : ','};
}

int run(const std::vector<std::string>& args) {
  if (args.empty() || args[0].empty() || args[0].starts_with("--")) return usage();
  std::optional<std::string> entry;
  Format format = Format::Text;
  bool withLog = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--entry" && i + 1 < args.size() && !entry) {
      entry = args[++i];
    } else if (args[i] == "--format" && i + 1 < args.size()) {
      const std::string& name = args[++i];
      if (name == "text") {
        format = Format::Text;
      } else if (name == "csv") {
        format = Format::Csv;
      } else if (name == "json") {
        format = Format::Json;
      } else {
        return usage();
      }
    } else if (args[i] == "--log") {
      withLog = true;
    } else {
      return usage();
    }
  }
  const Report report = readReport(args[0], entry, withLog);
  std::cout << formatReport(report, format, localeNumbers());
  std::cout.flush();
  return std::cout ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const ReportError& e) {
    std::cerr << "tarvik-report: " << e.what() << '\n';
    return kErrorExit;
  } catch (const std::exception& e) {
    std::cerr << "tarvik-report: " << e.what() << '\n';
    return kErrorExit;
  }
}
