#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/program_events.h"
#include "platform/settings_window.h"
#include "platform/user.h"

namespace tarvik::test {

// Records what the core shows, answers its questions from scripted queues (default answers
// when a queue is empty: No, Cancel, RemindLater), stands for the settings dialog and records
// the events the core reports.
class FakeUser : public User, public SettingsWindow, public ProgramEventSink {
 public:
  std::vector<std::string> stateCodes;
  std::string fields[5];
  std::vector<std::string> fieldWrites;  // "Time=00:00:01", ...
  bool connectionUp = false;
  bool authenticating = false;
  bool monitoringOn = true;
  bool windowVisible = false;
  int broughtToFront = 0;
  int placed = 0;  // placeStatusWindow calls
  struct Balloon {
    std::string title, text;
    bool optional;
  };
  std::vector<Balloon> balloons;
  std::vector<std::string> messages;
  std::vector<std::string> questions;  // texts of every question asked, in order
  std::deque<Answer> answers;
  std::deque<RecoveryAnswer> recoveryAnswers;
  std::vector<bool> recoveryAllowRemind;
  bool dialogOpen = false;
  int dialogApplied = 0;
  int dialogCancelled = 0;
  std::vector<std::string> dialogRefreshes;  // bookings reported: "entry accountKind"
  int serviceSwitches = 0;
  int terminated = 0;
  std::string onlineHint;  // the tooltip lines set last
  int onlineHintWrites = 0;

  const std::string& field(DisplayField f) const { return fields[static_cast<int>(f)]; }
  std::string lastStateCode() const { return stateCodes.empty() ? "" : stateCodes.back(); }

  void showStateCode(std::string_view code) override { stateCodes.emplace_back(code); }
  void setOnlineHint(std::string_view lines) override {
    onlineHint = lines;
    ++onlineHintWrites;
  }
  void setField(DisplayField f, std::string_view text) override {
    static const char* names[] = {"Time", "Money", "Currency", "Entry", "Tariff"};
    fields[static_cast<int>(f)] = std::string(text);
    fieldWrites.push_back(std::string(names[static_cast<int>(f)]) + "=" + std::string(text));
  }
  void setOnlineMenu(bool up, bool auth) override {
    connectionUp = up;
    authenticating = auth;
  }
  void setMonitoringMenu(bool on) override { monitoringOn = on; }
  void showStatusWindow() override { windowVisible = true; }
  void hideStatusWindow() override { windowVisible = false; }
  void bringStatusWindowToFront() override { ++broughtToFront; }
  void placeStatusWindow() override { ++placed; }
  void connectionBooked(std::string_view entry, int accountKind) override {
    dialogRefreshes.push_back(std::string(entry) + " " + std::to_string(accountKind));
  }
  void serviceSwitched() override { ++serviceSwitches; }
  void balloon(std::string_view title, std::string_view text, bool optional) override {
    balloons.push_back({std::string(title), std::string(text), optional});
  }
  void message(std::string_view text) override { messages.emplace_back(text); }
  Answer askYesNo(std::string_view text, bool) override {
    questions.emplace_back(text);
    return next(Answer::No);
  }
  Answer askYesNoCancel(std::string_view text) override {
    questions.emplace_back(text);
    return next(Answer::Cancel);
  }
  RecoveryAnswer askRecovery(std::string_view text, bool allowRemind) override {
    questions.emplace_back(text);
    recoveryAllowRemind.push_back(allowRemind);
    if (recoveryAnswers.empty()) return RecoveryAnswer::RemindLater;
    RecoveryAnswer a = recoveryAnswers.front();
    recoveryAnswers.pop_front();
    return a;
  }
  bool shown() const override { return dialogOpen; }
  void applyAndClose() override {
    ++dialogApplied;
    dialogOpen = false;
  }
  void cancel() override {
    ++dialogCancelled;
    dialogOpen = false;
  }
  void showWindowPosition(int, int) override {}
  void terminate() override { ++terminated; }

 private:
  Answer next(Answer fallback) {
    if (answers.empty()) return fallback;
    Answer a = answers.front();
    answers.pop_front();
    return a;
  }
};

}  // namespace tarvik::test
