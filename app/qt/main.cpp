#include <QTimer>
#include <chrono>
#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <thread>

#include "app/banner.h"
#include "app/engine.h"
#include "app/escaped_exception.h"
#include "app/instance_door.h"
#include "app/qt/display_check.h"
#include "app/qt/door_keeper.h"
#include "app/qt/lazy_settings_dialog.h"
#include "app/qt/live_bus.h"
#include "app/qt/program_events.h"
#include "app/qt/program_hosts.h"
#include "app/qt/qt_clock.h"
#include "app/qt/tarvik_application.h"
#include "app/single_instance.h"
#include "app/usage.h"
#include "config/ini_file.h"
#include "config/program_files.h"
#include "platform/event_log.h"
#include "platform/linux/inotify_file_watch.h"
#include "platform/linux/lazy_audio.h"
#include "platform/linux/local_zone.h"
#include "platform/linux/process_launcher.h"
#include "platform/linux/ras_select.h"
#include "platform/linux/shell_desktop.h"
#include "platform/linux/tray_watch.h"
#include "platform/qt/message_box.h"
#include "settings/qt/program_help.h"
#include "status/qt/ttarvik.h"

namespace {

using namespace tarvik;

// Every data file lives beside the executable, wherever it was copied to.
std::filesystem::path programDirectory() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) return exe.parent_path();
  return std::filesystem::current_path(ec);
}

// How long a refused start waits for the running instance to take its request.
constexpr int kKnockWaitMs = 3000;

// Windows, services and the engine, then the event loop until the program ends.
int runProgram(TarvikApplication& app, const ProgramFiles& files, QtClock& clock, EventLog& log,
               const std::string& firstArgument, const std::filesystem::path& door) {
  // The program lives in the tray; closing a window never ends it.
  app.setQuitOnLastWindowClosed(false);

  // The data files and the simulated line are read again only after a change notice.
  InotifyFileWatch fileWatch;
  const FileWatchInstalled watchInstalled(fileWatch.watch(files.dir) ? &fileWatch : nullptr);
  // A change of the system's zone while the program runs moves its clock as before.
  const LocalZoneWatch zoneWatch;

  QtTimerFactory timers;
  Ttarvik user(files, log, timers);
  // The icon goes up first, in the state "di", before the slower services start; where there
  // is no notification area the window takes its place.
  TrayWatch trayWatch;
  user.followNotificationArea(trayWatch);
  user.showTrayIcon();
  // Sent to the tray now: the services below would otherwise hold the dock request back until
  // the event loop runs.
  QCoreApplication::processEvents();
  DesktopShell shell;
  std::unique_ptr<RasSwitch> ras = selectRasService(files, log);
  // The audio libraries are loaded with the first tune or sound, not at every start, and
  // unloaded after a minute of silence.
  LazyAudio audio(LazyAudio::defaultModules(), &timers);
  ToneDevice& tone = audio.tone();
  SoundPlayer& sound = audio.sound();
  LinuxProcessLauncher process;
  // The settings dialog is made, hidden, when it is first opened.
  ProgramHelp help(log);
  DialogHost dialogHost(user, sound, tone, shell, help, log, clock);
  LazySettingsDialog settings(files, log, dialogHost);
  // What the core reports and the status window shows reaches every window that listens.
  ProgramEvents events;
  events.relayShownFigures(user);
  settings.listenTo(events);
  user.setSettingsWindow(&settings);

  Engine engine(Services{clock, timers, *ras, user, events.sink(), settings, tone, sound, process,
                         files, localeNumberFormat(), log, firstArgument});
  dialogHost.attach(engine);
  ras->setOnSwitch([&engine] { engine.serviceSwitched(); });
  user.setBalloonTimer(engine.timer(TimerId::Baloon));
  user.setHideTimer(engine.timer(TimerId::Hide));
  // Keeping the window on top needs no wake-ups of its own: it nudges in the poll's.
  timers.pace(user.behaviour().t_priority(), engine.timer(TimerId::Online));
  WindowHost windowHost(engine, settings, user, shell, help, files);
  user.setHost(&windowHost);
  engine.start();
  // A later start brings this one forward instead of only being refused.
  const DoorKeeper doorKeeper(door, [&user, &windowHost](std::string_view request) {
    // A delayed start waiting for its successor shows nothing; the later start says so.
    if (!user.bringForward()) return false;
    // Opened once the answer is out: making the dialog may take longer than the start waits.
    if (request == kSettingsRequest)
      QTimer::singleShot(0, &user, [&windowHost] { windowHost.openSettings(PageId::Cfg); });
    return true;
  });
  if (firstArgument == kSettingsArgument) windowHost.openSettings(PageId::Cfg);
  // Panel bars and scripts read the figures and give the menu's commands on the session bus.
  LiveBus liveBus(
      engine, [&ras] { return ras->currentName(); }, *user.trayPopUp(), windowHost, clock);
  liveBus.listenTo(events);
  if (QString why; !liveBus.publish(why) && !why.isEmpty())
    log.append(" Session bus: " + why.toStdString() + ".");
  const int result = app.exec();
  // The host and the dialog go before the window does; nothing may reach them while the rest is
  // torn down.
  user.setHost(nullptr);
  user.setSettingsWindow(nullptr);
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  // Before any thread: the zone file is read once, not at every clock read.
  readLocalZoneOnce();
  // Taken before Qt removes its own options from the command line.
  const std::string firstArgument = argc > 1 ? argv[1] : "";
  // Help and version need no display and never reach the log or a running instance.
  if (const auto status = answerInformationRequest(firstArgument, std::cout)) return *status;
  const ProgramFiles files{programDirectory()};
  QtClock clock;
  EventLog log(files.eventLog(), clock);
  // Whatever ends the program from here on leaves its reason in the log.
  const TerminationLogging terminationLogging(log);
  // The application object needs a display, so it is made only for the first message box or
  // window: a start without one still leaves its banner in the log.
  std::unique_ptr<TarvikApplication> app;
  const auto application = [&]() -> TarvikApplication& {
    if (!app) {
      const std::shared_ptr<void> display = chooseDisplayOrExit(argc, argv, log);
      app = std::make_unique<TarvikApplication>(argc, argv, log);
    }
    return *app;
  };

  if (prepareEventLog(files)) {
    application();
    message_box::inform(QString::fromStdString(writeProblemMessage()));
  }
  writeStartBanner(files, log, firstArgument, systemLine());

  InstanceLock instanceLock(instanceLockPath(kInstanceLockName));
  DirectoryLock directoryLock(files.dir);
  const auto pause = [] {
    std::this_thread::sleep_for(std::chrono::milliseconds(kDirectoryLockPauseMs));
  };
  if (!takeInstanceLocks(instanceLock, directoryLock,
                         skipsInstanceCheck(classifyArgument(firstArgument)), log, pause)) {
    logInstanceRefused(log);
    if (knock(instanceDoorPath(instanceLock.path()), doorRequest(firstArgument), kKnockWaitMs)) {
      log.append(" Running instance brought forward.");
      return 1;
    }
    application();
    QApplication::setApplicationDisplayName(QString());
    message_box::inform(QString::fromUtf8(kAlreadyRunningMessage));
    return 1;
  }

  try {
    return runProgram(application(), files, clock, log, firstArgument,
                      instanceLock.held() ? instanceDoorPath(instanceLock.path()) : "");
  } catch (...) {
    TarvikApplication::reportException(log, std::current_exception());
    return 1;
  }
}
