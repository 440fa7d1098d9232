// What the crash-journal tests share: a host that books through the real statistics and
// accounts, one program session over a program directory that outlives it, and the fixture.
#pragma once

#include <gtest/gtest.h>

#include "config/ini_file.h"
#include "config/keys.h"
#include "monitor/booking_identity.h"
#include "monitor/crash_journal.h"
#include "platform/virtual_clock.h"
#include "stats/accounts.h"
#include "stats/statistics.h"
#include "support/fake_user.h"
#include "support/program_dir.h"

namespace tarvik::test {

using V = std::vector<std::string>;

// Thrown at a chosen step to stand for the process being killed there: it is no
// std::exception, so nothing in the program catches it and the files stay as they are.
struct Killed {};

struct JournalUser : FakeUser {
  std::vector<bool> commandsEnabled;
  void setRecoveryCommandsEnabled(bool enabled) override { commandsEnabled.push_back(enabled); }
};

// Books through the real statistics and accounts, the way the close-out does: statistics,
// balance, then the quick-log line. `killAt` names the step at which the "process dies".
struct JournalHost : CrashJournalHost {
  JournalHost(const ProgramFiles& files, EventLog& log)
      : files(files),
        log(log),
        statistics(files, NumberFormat{','}, log),
        accounts(files, NumberFormat{','}, log) {}

  ProgramFiles files;
  EventLog& log;
  Statistics statistics;
  Accounts accounts;
  ConnectionFigures figures;
  std::vector<CloseOutFigures> closedOut;
  V quickLines;
  int resumed = 0;
  std::string killAt;
  bool failBooking = false;  // a data file cannot be written: the close-out books nothing

  void step(const std::string& name) {
    if (killAt == name) throw Killed{};
  }
  ConnectionFigures meterFigures() const override { return figures; }
  bool closeOutRecovered(const CloseOutFigures& c) override {
    closedOut.push_back(c);
    if (failBooking) return false;
    bookAll(c);
    return true;
  }
  bool closeOutKept(const std::vector<CloseOutFigures>& connections) override {
    for (const CloseOutFigures& c : connections) {
      closedOut.push_back(c);
      if (failBooking) return false;
      if (c.statisticsBooked) {
        accounts.bookBalance(c.figures.entry, c.figures.accountKind, c.figures.balance);
      } else {
        bookAll(c);
      }
    }
    return true;
  }
  void bookAll(const CloseOutFigures& c) {
    const ConnectionFigures& f = c.figures;
    step("stats");
    if (c.identity.empty()) {
      statistics.bookConnection(f.entry, f.weekday, f.seconds, f.cost);
    } else {
      bookStatisticsOnce(files, NumberFormat{','}, log, c.identity, f.entry, f.weekday, f.seconds,
                         f.cost);
    }
    step("balance");
    accounts.bookBalance(f.entry, f.accountKind, f.balance);
    step("quick");
    if (c.lineOpen) quickLines.push_back("booked <" + f.entry + ">");
    step("closed");
  }
  void finishQuickLogLine(const std::string& tail) override { quickLines.push_back(tail); }
  std::string quickLogTail(const CloseOutFigures& c) override {
    return "booked <" + c.figures.entry + ">";
  }
  std::optional<float> storedBalance(const std::string& entry, int kind) override {
    const AccountKey key = accountKey(entry, kind);
    const auto value = parseDecimal(readKey(IniFile(files.accounts()), key.section, key.key, ""));
    if (!value) return std::nullopt;
    return static_cast<float>(*value);
  }
  void bookBalance(const std::string& entry, int kind, float balance) override {
    accounts.bookBalance(entry, kind, balance);
  }
  void resumeMonitoring() override {
    step("resume");
    ++resumed;
  }
};

// One session of the program: its timers, user and journal over a shared program directory.
struct Session {
  Session(const ProgramDir& dir, VirtualClock& clock)
      : log(dir.files().eventLog(), clock),
        host(dir.files(), log),
        levelOne(clock.createTimer("t_security_a")),
        levelTwo(clock.createTimer("t_security_z")),
        remind(clock.createTimer("t_remind")),
        balloon(clock.createTimer("t_baloon")),
        journal(dir.files(), clock, log, user, host,
                CrashJournalTimers{*levelOne, *levelTwo, *remind, *balloon}, NumberFormat{','}) {}
  // What the start of metering does for the journal: a journal an earlier connection left
  // behind goes, and both levels run (the meter arms them).
  void startMetering() {
    journal.remove();
    levelOne->setInterval(kJournalLevelOneMs);
    levelOne->setEnabled(true);
    levelTwo->setInterval(kJournalLevelTwoMs);
    levelTwo->setEnabled(true);
  }
  EventLog log;
  JournalUser user;
  JournalHost host;
  std::unique_ptr<Timer> levelOne, levelTwo, remind, balloon;
  CrashJournal journal;
};

struct JournalFixture : ::testing::Test {
  std::unique_ptr<ProgramDir> owned = std::make_unique<ProgramDir>();
  ProgramDir& dir() const { return *owned; }
  // A new, empty program directory (one per case of a loop).
  void freshDir() { owned = std::make_unique<ProgramDir>(); }
  VirtualClock clock{makeLocalTime(2026, 12, 7, 12, 0, 0)};  // a Monday

  std::unique_ptr<Session> run() { return std::make_unique<Session>(dir(), clock); }
  std::string logText() const { return ProgramDir::readText(dir().files().eventLog()); }
  bool anyJournal() const {
    return std::filesystem::exists(dir().files().journalSeq()) ||
           std::filesystem::exists(dir().files().journalPro()) ||
           std::filesystem::exists(dir().files().journalTmp());
  }
  int count(const std::string& entry) const {
    return IniFile(dir().files().statistics()).readInt(entry, "CountTT", 0);
  }
  std::string account(const std::string& entry) const {
    return IniFile(dir().files().accounts()).readString(entry, "Account", "");
  }
  std::optional<double> balance(const std::string& entry) const {
    return parseDecimal(account(entry));
  }
};

inline const char* const kRunningJournal =
    "[Olm:TK]\nTime=06.12.2026 23.10.05\nEntry=Home\nLosses=250\nAccount=97,5\nDuration=360\n"
    "WeekDay=0\nAccID=0\n";

}  // namespace tarvik::test
