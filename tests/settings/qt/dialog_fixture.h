#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/qt/message_box.h"
#include "platform/virtual_clock.h"
#include "settings/qt/settings_dialog.h"
#include "support/program_dir.h"

namespace tarvik::test {

// The autostart registration in memory; a scope that is not writable refuses every change.
struct FakeAutostart : Autostart {
  std::optional<bool> user = false, all = false;
  bool allWritable = true;
  int writes = 0;

  std::optional<bool>& held(AutostartScope scope) {
    return scope == AutostartScope::AllUsers ? all : user;
  }
  std::optional<bool> registered(AutostartScope scope) override { return held(scope); }
  bool enable(AutostartScope scope) override { return change(scope, true); }
  bool disable(AutostartScope scope) override { return change(scope, false); }
  bool writable(AutostartScope scope) override {
    return scope == AutostartScope::CurrentUser || allWritable;
  }
  bool change(AutostartScope scope, bool on) {
    // Removing a registration that is not there needs no write access, as with a file.
    if (!on && held(scope) == false) return true;
    if (!writable(scope)) return false;
    ++writes;
    held(scope) = on;
    return true;
  }
};

// Records what the dialog asks of the program.
struct RecordingHost : SettingsHost {
  std::vector<std::string> entries;
  std::vector<bool> reloads;  // the skin-changed flag of each reload
  struct Placement {
    bool fromTopLeft;
    int x, y;
  };
  std::vector<Placement> placements;
  int restarts = 0;
  std::vector<int> helpContexts;
  std::vector<std::string> soundFiles;
  std::vector<int> tunes;
  std::vector<std::string> programs;
  FakeAutostart autostartScopes;
  std::vector<std::filesystem::path> viewed;
  bool viewerWorks = true;
  bool manual = true;
  // Where help goes besides the record (a real help window, in the help tests).
  std::function<void(int)> help;
  std::vector<int> transparencies;
  std::vector<std::string> opened;
  std::vector<std::filesystem::path> printed;
  ShellResult printResult{ShellStatus::Done, 0};
  struct Balloon {
    std::string title, text;
  };
  std::vector<Balloon> balloons;
  LocalTime clock = makeLocalTime(2026, 12, 8, 9, 5, 7);

  std::vector<std::string> phonebookEntries() const override { return entries; }
  void reloadGlobalParameters(bool skinChanged) override { reloads.push_back(skinChanged); }
  void previewPosition(bool fromTopLeft, int x, int y) override {
    placements.push_back({fromTopLeft, x, y});
  }
  void restart() override { ++restarts; }
  void playSoundFile(const std::string& file) override { soundFiles.push_back(file); }
  void playTune(int tune) override { tunes.push_back(tune); }
  void runProgram(const std::string& commandLine) override { programs.push_back(commandLine); }
  Autostart& autostart() override { return autostartScopes; }
  bool viewText(const std::filesystem::path& file) override {
    viewed.push_back(file);
    return viewerWorks;
  }
  void openHelp(int context) override {
    helpContexts.push_back(context);
    if (help) help(context);
  }
  bool helpAvailable() const override { return manual; }
  void previewTransparency(int percent) override { transparencies.push_back(percent); }
  void openExternal(const std::string& target) override { opened.push_back(target); }
  ShellResult print(const std::filesystem::path& file) override {
    printed.push_back(file);
    return printResult;
  }
  void balloon(const std::string& title, const std::string& text) override {
    balloons.push_back({title, text});
  }
  LocalTime now() const override { return clock; }
  NumberFormat numberFormat() const override { return NumberFormat{','}; }
  const PendingBalances* pendingBalances() const override { return pending; }
  const PendingBalances* pending = nullptr;
};

// The message boxes, answered in-process: each queued answer goes to the next box.
class BoxAnswerer {
 public:
  void answerNext(QMessageBox::StandardButton button) { message_box::setNextAnswer(button); }
  // The texts of every box answered so far, oldest first.
  QStringList texts() {
    answered_ += message_box::takeAnsweredTexts();
    return answered_;
  }

 private:
  QStringList answered_;
};

// The shown controls of `dialog`'s current page and frame that are squeezed below what their
// captions need (a cut caption, a check box without the height of its box), by object name.
inline QStringList squeezedControls(QWidget& dialog) {
  QStringList squeezed;
  for (QWidget* w : dialog.findChildren<QWidget*>()) {
    if (!w->isVisible()) continue;
    QSize needed;
    const auto indicator = [w](QStyle::PixelMetric metric) {
      return QSize(w->minimumSizeHint().width(), w->style()->pixelMetric(metric, nullptr, w));
    };
    if (auto* button = qobject_cast<QPushButton*>(w))
      needed = {button->fontMetrics().horizontalAdvance(button->text()) + 4, 0};
    else if (qobject_cast<QCheckBox*>(w))
      needed = indicator(QStyle::PM_IndicatorHeight);
    else if (qobject_cast<QRadioButton*>(w))
      needed = indicator(QStyle::PM_ExclusiveIndicatorHeight);
    else if (qobject_cast<QGroupBox*>(w))
      needed = {w->minimumSizeHint().width(), 0};
    if (w->width() < needed.width() || w->height() < needed.height()) squeezed << w->objectName();
  }
  return squeezed;
}

// A dialog over a temporary program directory.
struct DialogFixture {
  explicit DialogFixture(std::vector<std::string> entries = {}) {
    host.entries = std::move(entries);
    dialog = std::make_unique<Tsettings>(dir.files(), log, host);
  }
  template <typename W>
  W* find(const char* name) const {
    W* w = dialog->findChild<W*>(QString::fromUtf8(name));
    if (!w) qFatal("no control %s", name);
    return w;
  }
  IniFile config() const { return IniFile(dir.files().config()); }
  std::string logText() const { return ProgramDir::readText(dir.files().eventLog()); }

  ProgramDir dir;
  VirtualClock clock;
  EventLog log{dir.files().eventLog(), clock};
  RecordingHost host;
  BoxAnswerer boxes;
  std::unique_ptr<Tsettings> dialog;
};

}  // namespace tarvik::test
