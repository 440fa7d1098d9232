#pragma once

// One run of the whole program over a program directory that outlives it, on the virtual
// clock: the wiring tests start, kill and restart it.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/assembly.h"
#include "app/guard_wiring.h"
#include "monitor/monitor_rig.h"

namespace tarvik {

using test::FakeProcess;
using test::FakeRas;
using test::FakeSound;
using test::FakeTone;
using test::FakeUser;
using test::MonitorRig;
using test::ProgramDir;
using V = std::vector<std::string>;

// Stands for the process being killed: nothing in the program catches it.
struct Killed {};

struct KillableUser : FakeUser {
  bool killOnSummary = false;
  void balloon(std::string_view title, std::string_view text, bool optional) override {
    FakeUser::balloon(title, text, optional);
    if (killOnSummary && text.starts_with("Соединение с интернетом завершено.")) throw Killed{};
  }
};

// One run of the program over a program directory that outlives it.
struct Program {
  Program(const ProgramDir& dir, VirtualClock& clock, FakeRas& ras)
      : log(dir.files().eventLog(), clock),
        assembly(Services{clock, clock, ras, user, user, user, tone, sound, process, dir.files(),
                          NumberFormat{','}, log, ""}),
        guard(assembly.guard.get()),
        monitor(&assembly.monitor),
        stateCode(assembly.stateCode) {
    QuickLog(dir.files().quickLog()).createIfMissing();
    guard->reloadGlobals(IniFile(dir.files().config()).readInt("Olm:TK", "Midnight", 0) != 0);
  }
  // The start-up: the crash journal first, then the poller unless an answer is pending.
  void start() {
    guard->journal().detectAtStart();
    if (t("t_remind").enabled()) return;
    stateCode = "of";
    t("t_online").setEnabled(true);
  }
  Timer& t(std::string_view name) { return test::timerNamed(assembly.timers, name); }

  EventLog log;
  KillableUser user;
  FakeTone tone;
  FakeSound sound;
  FakeProcess process;
  Assembly assembly;
  GuardWiring* guard;
  Monitor* monitor;
  std::string& stateCode;
};

struct Wiring : ::testing::Test {
  ProgramDir dir;
  VirtualClock clock{makeLocalTime(2026, 12, 7, 12, 0, 0)};
  FakeRas ras;

  void SetUp() override {
    dir.writeConfig("[Default]\n" + MonitorRig::uniformTariff(3600, "Day"));
    dir.writeAccounts("[Default]\nAccount=100\n");
  }
  std::unique_ptr<Program> program() {
    auto p = std::make_unique<Program>(dir, clock, ras);
    p->start();
    return p;
  }
  void advanceTo(int h, int m, int s) {
    const LocalTime now = clock.now();
    clock.advanceTo(makeLocalTime(now.year, now.month, now.day, h, m, s));
  }
  std::string logText() const { return ProgramDir::readText(dir.files().eventLog()); }
  int count() const { return IniFile(dir.files().statistics()).readInt("Default", "CountTT", 0); }
  std::string balance() const {
    return IniFile(dir.files().accounts()).readString("Default", "Account", "");
  }
  bool anyJournal() const {
    return std::filesystem::exists(dir.files().journalSeq()) ||
           std::filesystem::exists(dir.files().journalPro()) ||
           std::filesystem::exists(dir.files().journalTmp());
  }
};

inline void setWritable(const std::filesystem::path& file, bool writable) {
  std::filesystem::permissions(
      file, writable ? std::filesystem::perms(0644) : std::filesystem::perms(0444));
}

}  // namespace tarvik
