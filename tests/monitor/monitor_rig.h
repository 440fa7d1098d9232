#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "app/assembly.h"
#include "config/ini_file.h"
#include "config/keys.h"
#include "platform/event_log.h"
#include "platform/ras_service.h"
#include "platform/virtual_clock.h"
#include "stats/accounts.h"
#include "stats/statistics.h"
#include "support/fake_platform.h"
#include "support/fake_user.h"
#include "support/program_dir.h"

namespace tarvik::test {

// One of the program's timers by its name in the table ("t_online", ...).
inline Timer& timerNamed(const ProgramTimers& timers, std::string_view name) {
  for (const TimerRow& row : kTimerTable)
    if (row.name == name) return timers[row.id];
  throw std::out_of_range(std::string(name));
}

// Records the call points the guard fills in the program.
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
  void hangUp() override { calls.push_back("hangup"); }
  void playTune(int tune) override { calls.push_back("tune " + std::to_string(tune)); }
  void setMidnightArmed(bool armed) override { midnightArmed = armed; }
  void connectionBooked(std::string_view entry, int kind) override {
    calls.push_back("dialog " + std::string(entry) + " " + std::to_string(kind));
  }
  // No crash journal guards the bookings.
  void connectionStarting() override {}
  void closingConnection(CloseOutFigures&) override {}
  bool connectionClosed(bool booked) override { return booked; }
};

// A whole monitor, assembled as the program assembles it but on recording hooks, in a
// temporary program directory, on a virtual clock that starts at `start`, with the poller on
// and the state "of" as after start-up. Files written before build() are what the program
// finds.
class MonitorRig {
 public:
  explicit MonitorRig(LocalTime start = makeLocalTime(2026, 12, 7, 12, 0, 0),
                      NumberFormat format = NumberFormat{','})
      : clock(start), format_(format), log(dir.files().eventLog(), clock) {}

  // A weekly tariff of one all-day period in "Default" (or `section`).
  static std::string uniformTariff(int costPerHour, const std::string& name) {
    using namespace tariff_keys;
    std::string s;
    const auto line = [&s](const KeyName& key, const std::string& value) {
      s += key.str() + "=" + value + "\n";
    };
    for (int d = 0; d < 7; ++d) {
      line(count(d).name, "1");
      line(startHour(d, 0).name, "00");
      line(startMinute(d, 0).name, "00");
      line(endHour(d, 0).name, "24");
      line(endMinute(d, 0).name, "00");
      line(cost(d, 0).name, std::to_string(costPerHour));
      line(tariff_keys::name(d, 0).name, name);
    }
    return s;
  }

  void build() {
    assembly = std::make_unique<Assembly>(Services{clock, clock, ras, user, user, user, tone, sound,
                                                   process, dir.files(), format_, log, ""},
                                          hooks);
    monitor = &assembly->monitor;
    assembly->entries = entries;
    QuickLog(dir.files().quickLog()).createIfMissing();
    assembly->stateCode = "of";
    timer("t_online").setEnabled(true);
  }

  Timer& timer(std::string_view name) { return timerNamed(assembly->timers, name); }
  const std::string& stateCode() const { return assembly->stateCode; }
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
  FakeTone tone;
  FakeProcess process;
  FakeRas ras;
  RecordingHooks hooks;
  std::vector<std::string> entries;  // the phonebook the monitor finds
  std::unique_ptr<Assembly> assembly;
  Monitor* monitor = nullptr;
};

}  // namespace tarvik::test
