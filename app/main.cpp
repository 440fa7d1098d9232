#include <QLocale>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>

#include "app/banner.h"
#include "app/engine.h"
#include "app/event_log.h"
#include "app/qt/message_box.h"
#include "app/qt/qt_clock.h"
#include "app/qt/tarvik_application.h"
#include "app/qt/tray_user.h"
#include "app/single_instance.h"
#include "config/program_files.h"
#include "platform/linux/process_launcher.h"
#include "platform/linux/ras_select.h"
#include "platform/linux/sound_player.h"
#include "platform/linux/tone_device.h"
#include "settings/qt/tsettings.h"

namespace {

using namespace tarvik;

// Every data file lives beside the executable, wherever it was copied to.
std::filesystem::path programDirectory() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) return exe.parent_path();
  return std::filesystem::current_path(ec);
}

NumberFormat localeNumberFormat() {
  const QString point = QLocale::system().decimalPoint();
  return NumberFormat{point == "." ? '.' : ','};
}

// Windows, services and the engine, then the event loop until the program ends.
int runProgram(TarvikApplication& app, const ProgramFiles& files, QtClock& clock, EventLog& log,
               const std::string& firstArgument) {
  QApplication::setApplicationDisplayName(QString::fromUtf8(kApplicationTitle));
  // The program lives in the tray; closing a window never ends it.
  app.setQuitOnLastWindowClosed(false);

  Tsettings settings;
  settings.hide();
  TrayUser user(settings);
  QtTimerFactory timers;
  std::unique_ptr<RasService> ras = selectRasService(files, log);
  LinuxToneDevice tone;
  LinuxSoundPlayer sound;
  LinuxProcessLauncher process;

  Engine engine(Services{clock, timers, *ras, user, tone, sound, process, files,
                         localeNumberFormat(), log, firstArgument});
  user.showTrayIcon();
  engine.start();
  return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
  // Taken before Qt removes its own options from the command line.
  const std::string firstArgument = argc > 1 ? argv[1] : "";
  const ProgramFiles files{programDirectory()};
  QtClock clock;
  EventLog log(files.eventLog(), clock);
  // Message boxes need the application object, even the refusal of a second instance.
  TarvikApplication app(argc, argv, log);

  if (prepareEventLog(files)) message_box::inform(QString::fromStdString(writeProblemMessage()));
  writeStartBanner(files, log, firstArgument, systemLine());

  InstanceLock instanceLock(instanceLockPath(kInstanceLockName));
  if (!instanceLock.acquire(!skipsInstanceCheck(classifyArgument(firstArgument)))) {
    QApplication::setApplicationDisplayName(QString());
    logInstanceRefused(log);
    message_box::inform(QString::fromUtf8(kAlreadyRunningMessage));
    return 1;
  }

  try {
    return runProgram(app, files, clock, log, firstArgument);
  } catch (...) {
    TarvikApplication::reportException(log, std::current_exception());
    return 1;
  }
}
