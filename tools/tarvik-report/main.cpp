// tarvik-report: prints the statistics, balances and quick log of a program directory as a
// table, csv or json, for scripts and spreadsheets, or its event log. It only reads.

#include <clocale>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "config/program_files.h"
#include "tools/data_folder.h"
#include "tools/tarvik-report/report_data.h"
#include "tools/tarvik-report/report_events.h"
#include "tools/tarvik-report/report_output.h"
#include "tools/tarvik-report/watch_line.h"
#ifdef TARVIK_REPORT_WATCH
#include "tools/tarvik-report/watch_bus.h"
#endif

namespace {

using namespace tarvik::report;

constexpr int kErrorExit = 2;

constexpr const char* kSynopsis =
    "usage: tarvik-report [DIR] [--entry NAME] [--format text|csv|json] [--log]\n"
    "       tarvik-report [DIR] --events\n"
    "       tarvik-report --watch [--format text|json]\n";

int usage() {
  std::cerr << kSynopsis;
  return kErrorExit;
}

int help() {
  std::cout << kSynopsis
            << "\n"
               "Prints the statistics of every entry (time, money, connections, bytes received\n"
               "and sent for the last and previous connection, day, week, month and all time)\n"
               "and the balances of every account. It only reads, so it is safe while the\n"
               "program runs. Output is UTF-8.\n"
               "\n"
               "  --entry NAME   only this entry (and its connections with --log)\n"
               "  --format F     text (a table, the default), csv or json\n"
               "  --log          also the connections of the quick log Velk.TxT\n"
               "  --events       only the event log Tarvik.LOG, as text\n"
               "  --watch        follow the running program on the session bus: a line now and\n"
               "                 one per change (json: an object per line for panel bars);\n"
               "                 exit status 2 when the program is not running or ends\n"
               "  -h, --help     print this help and exit\n"
               "\n"
            << tarvik::tools::kDataFolderHelp
            << "An unknown entry or a file that cannot be read is reported with exit status 2.\n";
  std::cout.flush();
  return std::cout ? 0 : 1;
}

tarvik::NumberFormat localeNumbers() {
  std::setlocale(LC_NUMERIC, "");
  const std::lconv* conventions = std::localeconv();
  const bool point =
      conventions && conventions->decimal_point && std::string(conventions->decimal_point) == ".";
  std::setlocale(LC_NUMERIC, "C");
  return tarvik::NumberFormat{point ? '.' : ','};
}

// --watch [--format text|json]; nullopt when `args` ask for something else.
std::optional<int> watch(const std::vector<std::string>& args, int argc, char** argv) {
  if (args.empty() || args[0] != "--watch") return std::nullopt;
  WatchFormat format = WatchFormat::Text;
  if (args.size() == 3 && args[1] == "--format" && (args[2] == "text" || args[2] == "json"))
    format = args[2] == "json" ? WatchFormat::Json : WatchFormat::Text;
  else if (args.size() != 1)
    return usage();
#ifdef TARVIK_REPORT_WATCH
  return watchProgram(argc, argv, format);
#else
  (void)argc;
  (void)argv;
  (void)format;
  std::cerr << "tarvik-report: built without the session bus\n";
  return kErrorExit;
#endif
}

int run(std::vector<std::string> args, int argc, char** argv) {
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) return help();
  if (const auto status = watch(args, argc, argv)) return *status;
  // Options first: the installed program's folder.
  if (args.empty() || args[0].starts_with("--"))
    args.insert(args.begin(), tarvik::tools::installedDataFolder().string());
  if (args[0].empty()) return usage();
  if (args.size() == 2 && args[1] == "--events") {
    printEventLog(tarvik::ProgramFiles{args[0]}.eventLog(), std::cout);
    std::cout.flush();
    return std::cout ? 0 : 1;
  }
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
  // Entries are written as they are read: a statistics file of a great many is never held.
  ReportWriter writer(std::cout, format, localeNumbers(), withLog);
  const Report rest =
      readReport(args[0], entry, withLog, [&](const EntryReport& e) { writer.entry(e); });
  writer.finish(rest);
  std::cout.flush();
  return std::cout ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(std::vector<std::string>(argv + 1, argv + argc), argc, argv);
  } catch (const ReportError& e) {
    std::cerr << "tarvik-report: " << e.what() << '\n';
    return kErrorExit;
  } catch (const std::exception& e) {
    std::cerr << "tarvik-report: " << e.what() << '\n';
    return kErrorExit;
  }
}
