#include "platform/sim_line.h"

#include <fcntl.h>
#include <sys/file.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>

#include "config/file_descriptor.h"
#include "config/ini_file.h"

namespace tarvik {

namespace {

constexpr const char* kPhonebook = "Phonebook";
constexpr const char* kLine = "Line";

std::string callSection(std::size_t index) {
  return "Call" + std::to_string(index + 1);
}
std::string entryKey(std::size_t index) {
  return "Entry" + std::to_string(index + 1);
}

// 64-bit numbers are kept as text: the INI integer rule only covers 32 bits.
std::int64_t readInt64(const IniFile& ini, std::string_view section, std::string_view key,
                       std::int64_t def) {
  const std::string text = ini.readString(section, key);
  std::int64_t value = def;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end) return def;
  return value;
}

// The program (hanging up) and tarvik-line (dialling, hanging up) both rewrite the file from
// what they have just read. Each change is made under this lock, so that neither writes back
// a state that drops the other's change: a dial made while the program hung up the previous
// call used to vanish before the program ever saw it. Without a lock file (a read-only
// folder) the change goes ahead unlocked; its write fails there anyway.
class LineLock {
 public:
  explicit LineLock(const std::filesystem::path& file)
      : fd_(::open((file.string() + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666)) {
    if (fd_.get() < 0) return;
    while (::flock(fd_.get(), LOCK_EX) != 0 && errno == EINTR) {
    }
  }

 private:
  FileDescriptor fd_;
};

}  // namespace

std::optional<std::int32_t> SimCall::stateAt(std::int64_t nowMs) const {
  // A clock set back before the dialling time counts as the very start of the call.
  const std::int64_t elapsed = std::max<std::int64_t>(0, nowMs - dialledMs);
  if (elapsed >= authMs) {
    if (fails) return std::nullopt;
    return kRasConnected;
  }
  // Integer halves: with an odd number of milliseconds the first half is the shorter one.
  return elapsed * 2 < authMs ? kRasAuthenticate : kRasAuthProject;
}

TrafficBytes SimCall::countersAt(std::int64_t nowMs) const {
  const auto elapsed = static_cast<std::uint64_t>(std::max<std::int64_t>(0, nowMs - dialledMs));
  const auto bytesPerSecond = static_cast<std::uint64_t>(std::max<std::int64_t>(0, rate));
  // Whole seconds and the rest apart, so a high rate over a long call does not overflow.
  const std::uint64_t received =
      elapsed / 1000 * bytesPerSecond + elapsed % 1000 * bytesPerSecond / 1000;
  return {received, received / 10};
}

std::int64_t SimLine::systemNowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

SimLine::SimLine(std::filesystem::path file, NowMs nowMs)
    : file_(std::move(file)), nowMs_(std::move(nowMs)) {}

bool SimLine::available() {
  return exists_.exists(file_);
}

std::vector<RasConnection> SimLine::activeConnections() {
  std::vector<RasConnection> result;
  for (const SimCall& call : liveCalls()) result.push_back({call.handle, call.entry, call.device});
  return result;
}

std::optional<std::int32_t> SimLine::connectionState(std::uint64_t handle) {
  const std::int64_t now = nowMs_();
  for (const SimCall& call : calls()) {
    if (call.handle == handle) return call.stateAt(now);
  }
  return std::nullopt;
}

void SimLine::hangUp(std::uint64_t handle) {
  const LineLock lock(file_);
  std::vector<SimCall> all = calls();
  const auto gone = std::remove_if(all.begin(), all.end(),
                                   [&](const SimCall& call) { return call.handle == handle; });
  if (gone == all.end()) return;
  all.erase(gone, all.end());
  try {
    writeCalls(all, nextHandle());
  } catch (const IniWriteError&) {
    // A hang-up that cannot be written leaves the call up, as a line that did not drop.
  }
}

std::optional<TrafficBytes> SimLine::trafficCounters(std::uint64_t handle) {
  const std::int64_t now = nowMs_();
  for (const SimCall& call : calls()) {
    if (call.handle == handle) return call.countersAt(now);
  }
  return std::nullopt;
}

std::optional<std::vector<std::string>> SimLine::phonebookEntries() {
  return entries();
}

std::vector<std::string> SimLine::entries() const {
  const IniFile ini(file_);
  const int count = std::max(0, ini.readInt(kPhonebook, "Count", 0));
  std::vector<std::string> result;
  for (int i = 0; i < count; ++i) {
    std::string name = ini.readString(kPhonebook, entryKey(static_cast<std::size_t>(i)));
    if (!name.empty()) result.push_back(std::move(name));
  }
  return result;
}

void SimLine::addEntry(const std::string& entry) {
  const LineLock lock(file_);
  std::vector<std::string> all = entries();
  if (std::find(all.begin(), all.end(), entry) != all.end()) return;
  const IniFile ini(file_);
  IniEdit edit(ini);
  edit.writeString(kPhonebook, entryKey(all.size()), entry);
  edit.writeInt(kPhonebook, "Count", static_cast<int>(all.size() + 1));
  edit.commit();
}

std::uint64_t SimLine::dial(const std::string& entry, const std::string& device,
                            std::int64_t authMs, bool fails, std::int64_t rate) {
  const LineLock lock(file_);
  const std::uint64_t handle = nextHandle();
  SimCall call{handle,
               entry,
               device,
               nowMs_(),
               std::max<std::int64_t>(0, authMs),
               fails,
               std::max<std::int64_t>(0, rate)};
  writeCalls({call}, handle + 1);
  return handle;
}

std::uint64_t SimLine::addCall(const std::string& entry, const std::string& device) {
  const LineLock lock(file_);
  std::vector<SimCall> all = calls();
  const std::uint64_t handle = nextHandle();
  all.push_back({handle, entry, device, nowMs_(), 0, false});
  writeCalls(all, handle + 1);
  return handle;
}

void SimLine::hangUpAll() {
  const LineLock lock(file_);
  writeCalls({}, nextHandle());
}

std::vector<SimCall> SimLine::calls() const {
  const IniFile ini(file_);
  const int count = std::max(0, ini.readInt(kLine, "Count", 0));
  std::vector<SimCall> result;
  for (int i = 0; i < count; ++i) {
    const std::string section = callSection(static_cast<std::size_t>(i));
    SimCall call;
    call.handle = static_cast<std::uint64_t>(readInt64(ini, section, "Handle", 0));
    if (call.handle == 0) continue;
    call.entry = ini.readString(section, "Entry");
    call.device = ini.readString(section, "Device");
    call.dialledMs = readInt64(ini, section, "Dialled", 0);
    call.authMs = std::max<std::int64_t>(0, readInt64(ini, section, "AuthMs", 0));
    call.fails = ini.readInt(section, "Fails", 0) != 0;
    call.rate = std::max<std::int64_t>(0, readInt64(ini, section, "Rate", 0));
    result.push_back(std::move(call));
  }
  return result;
}

std::vector<SimCall> SimLine::liveCalls() const {
  const std::int64_t now = nowMs_();
  std::vector<SimCall> result;
  for (SimCall& call : calls()) {
    if (call.stateAt(now)) result.push_back(std::move(call));
  }
  return result;
}

std::uint64_t SimLine::nextHandle() const {
  const IniFile ini(file_);
  return static_cast<std::uint64_t>(
      std::max<std::int64_t>(1, readInt64(ini, kLine, "NextHandle", 1)));
}

void SimLine::writeCalls(const std::vector<SimCall>& calls, std::uint64_t nextHandle) {
  const IniFile ini(file_);
  const int oldCount = std::max(0, ini.readInt(kLine, "Count", 0));
  IniEdit edit(ini);
  for (int i = 0; i < oldCount; ++i) edit.deleteSection(callSection(static_cast<std::size_t>(i)));
  edit.writeString(kLine, "NextHandle", std::to_string(nextHandle));
  edit.writeInt(kLine, "Count", static_cast<int>(calls.size()));
  for (std::size_t i = 0; i < calls.size(); ++i) {
    const SimCall& call = calls[i];
    const std::string section = callSection(i);
    edit.writeString(section, "Handle", std::to_string(call.handle));
    edit.writeString(section, "Entry", call.entry);
    edit.writeString(section, "Device", call.device);
    edit.writeString(section, "Dialled", std::to_string(call.dialledMs));
    edit.writeString(section, "AuthMs", std::to_string(call.authMs));
    edit.writeInt(section, "Fails", call.fails ? 1 : 0);
    if (call.rate > 0) edit.writeString(section, "Rate", std::to_string(call.rate));
  }
  edit.commit();
}

}  // namespace tarvik
