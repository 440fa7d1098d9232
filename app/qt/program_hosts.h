#pragma once

#include <QGuiApplication>
#include <QLocale>
#include <QScreen>
#include <string>
#include <vector>

#include "app/engine.h"
#include "app/qt/lazy_settings_dialog.h"
#include "config/ini_file.h"
#include "config/program_files.h"
#include "monitor/tunes.h"
#include "platform/event_log.h"
#include "platform/linux/autostart_xdg.h"
#include "platform/linux/process_launcher.h"
#include "settings/help_contexts.h"
#include "settings/qt/program_help.h"
#include "settings/settings_host.h"
#include "status/display_text.h"
#include "status/qt/tray_host.h"
#include "status/qt/ttarvik.h"
#include "status/window_geometry.h"

// The running program as the settings dialog and the status window reach it: the two hosts
// the program's assembly hands them.

namespace tarvik {

// Where "Справка…" sends the user when the program was built without its manual.
inline constexpr const char* kHelpDownloadPage = "https://tarvik.example.org/help/";

// The user's decimal separator, as the system's locale has it.
inline NumberFormat localeNumberFormat() {
  const QString point = QLocale::system().decimalPoint();
  return NumberFormat{point == "." ? '.' : ','};
}

// The settings dialog's way into the running program.
class DialogHost final : public SettingsHost {
 public:
  DialogHost(Ttarvik& window, SoundPlayer& sound, ToneDevice& tone, Shell& shell, ProgramHelp& help,
             EventLog& log, const Clock& clock)
      : window_(window),
        sound_(sound),
        tunes_(tone, log),
        shell_(shell),
        help_(help),
        clock_(clock) {}

  void attach(Engine& engine) { engine_ = &engine; }

  std::vector<std::string> phonebookEntries() const override {
    return engine_ ? engine_->phonebookEntries() : std::vector<std::string>{};
  }
  void reloadGlobalParameters(bool skinChanged) override {
    if (engine_) engine_->reloadGlobalParameters(skinChanged);
  }
  void previewPosition(bool fromTopLeft, int x, int y) override {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QSize size = screen->geometry().size();
    const QRect free = screen->availableGeometry();
    const WindowPoint p = placeWindowInside(
        fromTopLeft ? 1 : 0, x, y, {window_.width(), window_.height()},
        {size.width(), size.height()}, {free.x(), free.y(), free.width(), free.height()});
    window_.move(p.x, p.y);
  }
  void restart() override {
    if (engine_) engine_->restart();
  }
  void playSoundFile(const std::string& file) override { sound_.play(file); }
  void playTune(int tune) override { tunes_.play(tune); }
  void runProgram(const std::string& commandLine) override { launcher_.run(commandLine); }
  Autostart& autostart() override { return autostart_; }
  bool viewText(const std::filesystem::path& file) override { return shell_.viewText(file); }
  void openHelp(int context) override { help_.open(context); }
  bool helpAvailable() const override { return help_.available(); }
  void previewTransparency(int percent) override {
    window_.behaviour().previewTransparency(percent);
  }
  void openExternal(const std::string& target) override { shell_.open(target); }
  ShellResult print(const std::filesystem::path& file) override { return shell_.print(file); }
  void balloon(const std::string& title, const std::string& text) override {
    window_.balloon(title, text, false);
  }
  LocalTime now() const override { return clock_.now(); }
  NumberFormat numberFormat() const override { return localeNumberFormat(); }
  const PendingBalances* pendingBalances() const override {
    return engine_ ? &engine_->pendingBalances() : nullptr;
  }

 private:
  Ttarvik& window_;
  SoundPlayer& sound_;
  TunePlayer tunes_;
  Shell& shell_;
  ProgramHelp& help_;
  const Clock& clock_;
  XdgAutostart autostart_;
  Engine* engine_ = nullptr;
  // The programs tested from the connection page start as those launched on connecting do.
  LinuxProcessLauncher launcher_;
};

// The status window's and tray menu's way into the running program.
class WindowHost final : public TrayHost {
 public:
  WindowHost(Engine& engine, LazySettingsDialog& settings, Ttarvik& window, Shell& shell,
             ProgramHelp& help, const ProgramFiles& files)
      : engine_(engine),
        settings_(settings),
        window_(window),
        shell_(shell),
        help_(help),
        files_(files) {}

  void clearDisplay() override { writeClearedDisplay(window_, IniFile(files_.config())); }
  void reloadEntrySettings() override { engine_.reloadGlobalParameters(false); }
  void newCount() override { engine_.newCount(); }
  void keepLine() override { engine_.keepLine(); }
  void hangUp() override { engine_.hangUp(); }
  // The built-in manual at its contents (the menu shows "Справка" only with a manual), else
  // the download page.
  void openHelp() override { help_.open(kHelpContents); }
  bool helpAvailable() override { return help_.available(); }
  void getHelp() override { shell_.open(kHelpDownloadPage); }
  void openSettings(PageId page) override { settings_.openOn(page); }
  void enableMonitoring() override { engine_.toggleMonitoring(); }
  void restart() override { engine_.restart(); }
  void exit() override { engine_.exit(); }
  bool connectionActive() override { return engine_.connectionActive(); }
  void windowShown() override { engine_.statusWindowShown(); }

 private:
  Engine& engine_;
  LazySettingsDialog& settings_;
  Ttarvik& window_;
  Shell& shell_;
  ProgramHelp& help_;
  const ProgramFiles& files_;
};

}  // namespace tarvik
