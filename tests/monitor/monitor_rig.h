#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "config/ini_file.h"
#include "monitor/monitor.h"
#include "monitor/probe.h"
#include "platform/event_log.h"
#include "platform/ras_service.h"
#include "platform/virtual_clock.h"
#include "stats/accounts.h"
#include "stats/statistics.h"
#include "support/fake_platform.h"
#include "support/fake_user.h"
#include "support/program_dir.h"

namespace tarvik::test {

// A remote-access service whose connections the test sets directly.
class FakeRas : public RasService {
 public:
  struct Call {
    RasConnection connection;
    std::int32_t state;
  };
  std::vector<Call> calls;
  std::vector<std::string> phonebook;
  int hangUps = 0;

  bool available() override { return true; }
  std::vector<RasConnection> activeConnections() override {
    std::vector<RasConnection> out;
    for (const Call& c : calls) out.push_back(c.connection);
    return out;
  }
  std::optional<std::int32_t> connectionState(std::uint64_t handle) override {
    for (const Call& c : calls)
      if (c.connection.handle == handle) return c.state;
    return std::nullopt;
  }
  void hangUp(std::uint64_t) override {
    ++hangUps;
    calls.clear();
  }
  std::optional<std::vector<std::string>> phonebookEntries() override { return phonebook; }

  // One call in `state` on `entry` (replacing any other).
  void dial(const std::string& entry, std::int32_t state, const std::string& device = "Modem") {
    calls = {{{nextHandle_++, entry, device}, state}};
  }
  void setState(std::int32_t state) { calls.at(0).state = state; }
  void addSecond(const std::string& entry) {
    calls.push_back({{nextHandle_++, entry, "Modem 2"}, kRasConnected});
  }
  void drop() { calls.clear(); }

 private:
  std::uint64_t nextHandle_ = 1;
};

// Records the call points the notifications and the midnight handling fill in.
class RecordingHooks : public MonitorHooks {
 public:
  std::vector<std::string> calls;
  bool midnightArmed = false;

  void connectActions(std::string_view entry) override {
    calls.push_back("connect " + std::string(entry));
  }
  void disconnectSignals(std::string_view entry) override {
    calls.push_back("disconnect " + std::string(entry));
  }
  void startWarningFlash() override { calls.push_back("flash"); }
  void playTune(int tune) override { calls.push_back("tune " + std::to_string(tune)); }
  void setMidnightArmed(bool armed) override { midnightArmed = armed; }
  void refreshSettingsDialog(std::string_view entry, int kind) override {
    calls.push_back("dialog " + std::string(entry) + " " + std::to_string(kind));
  }
};

// A whole monitor in a temporary program directory, on a virtual clock that starts at
// `start`, with the poller on and the state "of" as after start-up. Files written before
// build() are what the program finds.
class MonitorRig {
 public:
  explicit MonitorRig(LocalTime start = makeLocalTime(2026, 12, 7, 12, 0, 0),
                      NumberFormat format = NumberFormat{','})
      : clock(start), format_(format), log(dir.files().eventLog(), clock) {}

  // A weekly tariff of one all-day period in "Default" (or `section`).
  static std::string uniformTariff(int costPerHour, const std::string& name) {
    std::string s;
    for (int d = 0; d < 7; ++d) {
      const std::string p = "Tar" + std::to_string(d);
      s += p + "=1\n" + p + "x0AH=00\n" + p + "x0AM=00\n" + p + "x0ZH=24\n" + p + "x0ZM=00\n" + p +
           "x0Cost=" + std::to_string(costPerHour) + "\n" + p + "x0Name=" + name + "\n";
    }
    return s;
  }

  void build() {
    probe = std::make_unique<Probe>(ras, log);
    accounts = std::make_unique<Accounts>(dir.files(), format_, log);
    statistics = std::make_unique<Statistics>(dir.files(), format_, log);
    for (const char* name : {"t_online", "t_general", "t_security_a", "t_security_z", "t_minute",
                             "t_second", "t_hangup", "t_hide"}) {
      timers[name] = clock.createTimer(name);
    }
    MonitorTimers t;
    t.online = timers["t_online"].get();
    t.general = timers["t_general"].get();
    t.securityA = timers["t_security_a"].get();
    t.securityZ = timers["t_security_z"].get();
    t.minute = timers["t_minute"].get();
    t.second = timers["t_second"].get();
    t.hangup = timers["t_hangup"].get();
    t.hide = timers["t_hide"].get();
    MonitorEnv env{clock, dir.files(), log, user, sound, format_, t, &hooks};
    monitor = std::make_unique<Monitor>(env, *probe, *accounts, *statistics, stateCode, entries);
    monitor->attachTimers();
    QuickLog(dir.files().quickLog()).createIfMissing();
    stateCode = "of";
    t.online->setEnabled(true);
  }

  Timer& timer(const std::string& name) { return *timers.at(name); }
  Meter& meter() { return monitor->meter(); }
  ConnectionStateMachine& machine() { return monitor->stateMachine(); }

  void advance(std::int64_t ms) { clock.advance(ms); }
  // Advances to the given time of the clock's current day.
  void advanceTo(int hour, int minute, int second, int ms = 0) {
    const LocalTime now = clock.now();
    clock.advanceTo(makeLocalTime(now.year, now.month, now.day, hour, minute, second, ms));
  }

  std::string eventLog() const { return ProgramDir::readText(dir.files().eventLog()); }
  // The event log from `mark` (a size returned by logMark()) on.
  std::string logSince(std::size_t mark) const { return eventLog().substr(mark); }
  std::size_t logMark() const { return eventLog().size(); }
  std::string quickLog() const { return ProgramDir::readText(dir.files().quickLog()); }
  // The quick log without its header lines.
  std::string quickLines() const {
    const std::string q = quickLog();
    const std::string header = "Tarvik «4» quick connections log\r\n\r\n";
    return q.rfind(header, 0) == 0 ? q.substr(header.size()) : q;
  }
  std::string stat(const std::string& section, const std::string& key) const {
    return IniFile(dir.files().statistics()).readString(section, key, "<none>");
  }
  std::string account(const std::string& section, const std::string& key = "Account") const {
    return IniFile(dir.files().accounts()).readString(section, key, "<none>");
  }

  ProgramDir dir;
  VirtualClock clock;
  NumberFormat format_;
  EventLog log;
  FakeUser user;
  FakeSound sound;
  FakeRas ras;
  RecordingHooks hooks;
  std::string stateCode = "di";
  std::vector<std::string> entries;
  std::map<std::string, std::unique_ptr<Timer>> timers;
  std::unique_ptr<Probe> probe;
  std::unique_ptr<Accounts> accounts;
  std::unique_ptr<Statistics> statistics;
  std::unique_ptr<Monitor> monitor;
};

}  // namespace tarvik::test
