// tarvik-line: dials, hangs up and inspects the simulated line of a program directory, so
// that tests and demonstrations can play the part of the modem while the program runs.

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/ini_file.h"
#include "platform/sim_line.h"
#include "tools/data_folder.h"

namespace {

using tarvik::SimLine;

constexpr int kUsageExit = 2;
constexpr std::int64_t kDefaultAuthMs = 2000;
constexpr std::int64_t kMaxRate = 1'000'000'000'000;

constexpr const char* kSynopsis =
    "usage: tarvik-line [DIR] entries | add ENTRY | dial ENTRY [--device NAME] "
    "[--auth SECONDS] [--fail] [--rate BYTES_PER_SECOND] | second ENTRY | hangup | status\n";

int usage() {
  std::cerr << kSynopsis;
  return kUsageExit;
}

int help() {
  std::cout << kSynopsis
            << "\n"
               "Plays the modem for the program: while the file of the simulated line is in its\n"
               "folder, the program watches it instead of the system's remote-access service.\n"
               "\n"
               "  entries        list the phonebook entries of the line\n"
               "  add ENTRY      add a phonebook entry\n"
               "  dial ENTRY     start a call: it authenticates for --auth seconds (default 2),\n"
               "                 then is online, or fails with --fail; --rate gives the bytes\n"
               "                 received a second (a tenth of them are sent); --device names\n"
               "                 its device\n"
               "  second ENTRY   a second call beside the first, online at once\n"
               "  hangup         end every call\n"
               "  status         the first call's state, entry and device (and bytes), or 0\n"
               "\n"
            << tarvik::tools::kDataFolderHelp;
  std::cout.flush();
  return std::cout ? 0 : 1;
}

bool isCommand(std::string_view word) {
  for (const char* command : {"entries", "add", "dial", "second", "hangup", "status"})
    if (word == command) return true;
  return false;
}

// Seconds as a non-negative decimal number ("3", "0.5"), in milliseconds.
std::optional<std::int64_t> parseSeconds(std::string_view text) {
  double seconds = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, seconds);
  if (text.empty() || ec != std::errc() || ptr != end || !std::isfinite(seconds) || seconds < 0 ||
      seconds > 1e9) {
    return std::nullopt;
  }
  return static_cast<std::int64_t>(std::llround(seconds * 1000));
}

// Bytes a second: a whole number from 0 to a terabyte.
std::optional<std::int64_t> parseRate(std::string_view text) {
  std::int64_t rate = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, rate);
  if (text.empty() || ec != std::errc() || ptr != end || rate < 0 || rate > kMaxRate) {
    return std::nullopt;
  }
  return rate;
}

// An entry or device name the line file can hold: one line of text, not empty.
bool validName(std::string_view name) {
  return !name.empty() && name.find_first_of("\r\n") == std::string_view::npos;
}

int dial(SimLine& line, const std::vector<std::string>& args) {
  // args: ENTRY [--device NAME] [--auth SECONDS] [--fail] [--rate BYTES_PER_SECOND]
  if (args.empty() || !validName(args[0])) return usage();
  std::string device = SimLine::kDefaultDevice;
  std::int64_t authMs = kDefaultAuthMs;
  std::int64_t rate = 0;
  bool fails = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--fail") {
      fails = true;
    } else if (args[i] == "--device" && i + 1 < args.size() && validName(args[i + 1])) {
      device = args[++i];
    } else if (args[i] == "--auth" && i + 1 < args.size()) {
      auto ms = parseSeconds(args[++i]);
      if (!ms) return usage();
      authMs = *ms;
    } else if (args[i] == "--rate" && i + 1 < args.size()) {
      auto bytes = parseRate(args[++i]);
      if (!bytes) return usage();
      rate = *bytes;
    } else {
      return usage();
    }
  }
  line.dial(args[0], device, authMs, fails, rate);
  return 0;
}

int status(SimLine& line) {
  const std::vector<tarvik::SimCall> calls = line.liveCalls();
  if (calls.empty()) {
    std::cout << "0\n";
    return 0;
  }
  const tarvik::SimCall& first = calls.front();
  const std::int64_t now = SimLine::systemNowMs();
  std::cout << first.stateAt(now).value_or(0) << '\t' << first.entry << '\t' << first.device;
  // A call with a rate also shows the bytes received and sent so far.
  if (first.rate > 0) {
    const tarvik::TrafficBytes counters = first.countersAt(now);
    std::cout << '\t' << counters.received << '\t' << counters.sent;
  }
  std::cout << '\n';
  return 0;
}

int run(std::vector<std::string> argv) {
  if (!argv.empty() && (argv[0] == "--help" || argv[0] == "-h")) return help();
  // A command first: the installed program's folder. A folder named like a command is
  // written with its path ("./status").
  if (!argv.empty() && isCommand(argv[0])) {
    const std::filesystem::path data = tarvik::tools::installedDataFolder();
    // The launcher makes the folder at the program's first start; a line may come first.
    std::error_code ignored;
    if (argv[0] != "entries" && argv[0] != "status")
      std::filesystem::create_directories(data, ignored);
    argv.insert(argv.begin(), data.string());
  }
  if (argv.size() < 2 || argv[0].empty()) return usage();
  SimLine line(SimLine::fileIn(argv[0]), SimLine::systemNowMs);
  const std::string& command = argv[1];
  const std::vector<std::string> args(argv.begin() + 2, argv.end());

  if (command == "entries" && args.empty()) {
    for (const std::string& entry : line.entries()) std::cout << entry << '\n';
    return 0;
  }
  if (command == "add" && args.size() == 1 && validName(args[0])) {
    line.addEntry(args[0]);
    return 0;
  }
  if (command == "dial") return dial(line, args);
  if (command == "second" && args.size() == 1 && validName(args[0])) {
    line.addCall(args[0], SimLine::kDefaultDevice);
    return 0;
  }
  if (command == "hangup" && args.empty()) {
    line.hangUpAll();
    return 0;
  }
  if (command == "status" && args.empty()) return status(line);
  return usage();
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  try {
    return run(args);
  } catch (const tarvik::IniWriteError& e) {
    std::cerr << "tarvik-line: cannot write the line file: " << e.what() << '\n';
    return 1;
  }
}
