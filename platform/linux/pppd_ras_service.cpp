#include "platform/linux/pppd_ras_service.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <signal.h>

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>
#include <sstream>

#include "config/directory_scan.h"
#include "config/regular_file.h"

namespace tarvik {

namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kMaxSmallFileBytes = 1 << 20;

std::string readFile(const fs::path& file) {
  // Pid files and /proc entries are small; anything else in their place is not read.
  FileRead read = readRegularFile(file, kMaxSmallFileBytes);
  return read.error == 0 ? std::move(read.bytes) : std::string();
}

std::optional<long> parseNumber(std::string_view text, int base = 10) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.remove_suffix(1);
  if (base == 16 && text.starts_with("0x")) text.remove_prefix(2);
  long value = 0;
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || ec != std::errc() || ptr != text.data() + text.size()) return std::nullopt;
  return value;
}

std::vector<std::string> commandLineOf(const fs::path& procDir) {
  const std::string raw = readFile(procDir / "cmdline");
  std::vector<std::string> argv;
  std::string current;
  for (char c : raw) {
    if (c == '\0') {
      argv.push_back(std::move(current));
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) argv.push_back(std::move(current));
  return argv;
}

bool systemHasAddress(const std::string& interface) {
  ifaddrs* list = nullptr;
  if (::getifaddrs(&list) != 0) return false;
  bool found = false;
  for (ifaddrs* a = list; a; a = a->ifa_next) {
    if (a->ifa_addr && interface == a->ifa_name &&
        (a->ifa_addr->sa_family == AF_INET || a->ifa_addr->sa_family == AF_INET6)) {
      found = true;
      break;
    }
  }
  ::freeifaddrs(list);
  return found;
}

// The first pid line and the optional interface line of a pppd pid file.
struct PidFile {
  long pid = 0;
  std::string interface;
};

std::optional<PidFile> readPidFile(const fs::path& file) {
  std::istringstream in(readFile(file));
  std::string pidLine;
  if (!std::getline(in, pidLine)) return std::nullopt;
  auto pid = parseNumber(pidLine);
  if (!pid) return std::nullopt;
  PidFile result{*pid, {}};
  std::getline(in, result.interface);
  return result;
}

}  // namespace

std::string pppdPeerOf(const std::vector<std::string>& argv) {
  if (argv.empty() || fs::path(argv[0]).filename() != "pppd") return {};
  for (std::size_t i = 1; i + 1 < argv.size(); ++i) {
    if (argv[i] == "call") return argv[i + 1];
    if (argv[i] == "file") {
      const fs::path file(argv[i + 1]);
      if (file.parent_path().filename() == "peers") return file.filename().string();
    }
  }
  return {};
}

PppdRasService::PppdRasService(PppdRoots roots, Signal signal, HasAddress hasAddress)
    : roots_(std::move(roots)),
      signal_(signal ? std::move(signal)
                     : Signal([](pid_t pid, int sig) { return ::kill(pid, sig); })),
      hasAddress_(hasAddress ? std::move(hasAddress) : HasAddress(systemHasAddress)) {}

bool PppdRasService::available() {
  std::error_code ec;
  return fs::is_directory(roots_.etcPpp / "peers", ec);
}

std::optional<std::vector<std::string>> PppdRasService::phonebookEntries() {
  std::vector<std::string> names;
  const bool listed = scanDirectory(roots_.etcPpp / "peers", [&](const fs::directory_entry& entry) {
    const std::string name = entry.path().filename().string();
    std::error_code ec;
    // Editor backups and hidden files are not peers anyone means to call.
    if (!name.starts_with('.') && !name.ends_with('~') && entry.is_regular_file(ec)) {
      names.push_back(name);
    }
    return true;
  });
  // A folder that could not be read to its end is no phonebook to go by.
  if (!listed) return std::nullopt;
  // The directory has no order of its own; the phonebook is shown sorted.
  std::sort(names.begin(), names.end());
  return names;
}

std::optional<PppdRasService::Call> PppdRasService::callOf(pid_t pid) const {
  if (pid <= 0) return std::nullopt;  // never a process group or "every process"
  const fs::path dir = roots_.proc / std::to_string(pid);
  // Reading a command line takes that process's memory lock, so one process stuck in the
  // kernel would hang every poll; the short name costs nothing and rules out all but pppd.
  std::string name = readFile(dir / "comm");
  if (!name.empty() && name.back() == '\n') name.pop_back();
  if (name != "pppd") return std::nullopt;
  const std::string peer = pppdPeerOf(commandLineOf(dir));
  if (peer.empty()) return std::nullopt;
  return Call{pid, peer, interfaceOf(pid, peer)};
}

std::vector<PppdRasService::Call> PppdRasService::calls() const {
  std::vector<Call> result;
  // Processes end while /proc is read; the ones read so far are as good as a full scan.
  scanDirectory(roots_.proc, [&](const fs::directory_entry& entry) {
    auto pid = parseNumber(entry.path().filename().string());
    if (!pid || *pid <= 0) return true;
    if (auto call = callOf(static_cast<pid_t>(*pid))) result.push_back(std::move(*call));
    return true;
  });
  // Oldest pppd first, so the first call stays first while a second one comes and goes.
  std::sort(result.begin(), result.end(),
            [](const Call& a, const Call& b) { return a.pid < b.pid; });
  return result;
}

std::string PppdRasService::interfaceOf(pid_t pid, const std::string& peer) const {
  // With "linkname" pppd writes ppp-<name>.pid holding its pid and, once the link is up, the
  // interface; otherwise pppN.pid holds the pid of the pppd owning pppN.
  if (auto linked = readPidFile(roots_.run / ("ppp-" + peer + ".pid"))) {
    if (linked->pid == pid && !linked->interface.empty()) return linked->interface;
  }
  // pppd removes its pid file at hang-up, possibly while the folder is read.
  std::string interface;
  scanDirectory(roots_.run, [&](const fs::directory_entry& entry) {
    const std::string name = entry.path().filename().string();
    if (!name.starts_with("ppp") || !name.ends_with(".pid") || name.starts_with("ppp-")) {
      return true;
    }
    auto file = readPidFile(entry.path());
    if (!file || file->pid != pid) return true;
    interface = name.substr(0, name.size() - 4);
    return false;
  });
  return interface;
}

bool PppdRasService::interfaceUp(const std::string& interface) const {
  if (interface.empty() || interface.find('/') != std::string::npos) return false;
  auto flags = parseNumber(readFile(roots_.sysClassNet / interface / "flags"), 16);
  return flags && (*flags & IFF_UP) && hasAddress_(interface);
}

std::string PppdRasService::lineOf(const Call& call) const {
  // The serial device named in the peer file, as the modem of the call.
  std::istringstream in(readFile(roots_.etcPpp / "peers" / call.peer));
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string word;
    if (words >> word && word.starts_with("/dev/")) return word.substr(5);
  }
  return "pppd";
}

std::vector<RasConnection> PppdRasService::activeConnections() {
  std::vector<RasConnection> result;
  for (const Call& call : calls()) {
    // The traffic goes through pppd's own interface; until pppd has one (a modem still
    // dialling, a PPPoE server still looked for) the call has only its line to show.
    const bool hasInterface = !call.interface.empty();
    result.push_back({static_cast<std::uint64_t>(call.pid), call.peer,
                      hasInterface ? call.interface : lineOf(call), hasInterface});
  }
  return result;
}

std::optional<std::int32_t> PppdRasService::connectionState(std::uint64_t handle) {
  auto call = callOf(static_cast<pid_t>(handle));
  if (!call) return std::nullopt;
  return interfaceUp(call->interface) ? kRasConnected : kRasAuthenticate;
}

std::optional<TrafficBytes> PppdRasService::trafficCounters(std::uint64_t handle) {
  auto call = callOf(static_cast<pid_t>(handle));
  if (!call || call->interface.empty() || call->interface.find('/') != std::string::npos) {
    return std::nullopt;
  }
  const fs::path statistics = roots_.sysClassNet / call->interface / "statistics";
  const auto counter = [&](const char* name) -> std::optional<std::uint64_t> {
    const std::string text = readFile(statistics / name);
    std::string_view digits(text);
    while (!digits.empty() && (digits.back() == '\n' || digits.back() == ' '))
      digits.remove_suffix(1);
    std::uint64_t value = 0;
    auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || ec != std::errc() || ptr != digits.data() + digits.size()) {
      return std::nullopt;
    }
    return value;
  };
  const auto received = counter("rx_bytes");
  const auto sent = counter("tx_bytes");
  if (!received || !sent) return std::nullopt;
  return TrafficBytes{*received, *sent};
}

void PppdRasService::hangUp(std::uint64_t handle) {
  // Only a pppd still running for a peer is signalled: the pid may have been reused.
  auto call = callOf(static_cast<pid_t>(handle));
  if (!call) return;
  signal_(call->pid, SIGTERM);
}

}  // namespace tarvik
