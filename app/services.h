#pragma once

#include <string>

#include "config/number_text.h"
#include "config/program_files.h"
#include "platform/clock.h"
#include "platform/event_log.h"
#include "platform/process.h"
#include "platform/program_events.h"
#include "platform/ras_service.h"
#include "platform/settings_window.h"
#include "platform/sound.h"
#include "platform/timer.h"
#include "platform/user.h"

namespace tarvik {

// What the program is given by its entry point, or by a test or a benchmark.
struct Services {
  Clock& clock;
  TimerFactory& timers;
  RasService& ras;
  User& user;
  // What the core reports to the windows other than the status display, and the settings
  // dialog it closes at midnight, exit and restart.
  ProgramEventSink& events;
  SettingsWindow& settingsWindow;
  ToneDevice& tone;
  SoundPlayer& sound;
  ProcessLauncher& process;
  ProgramFiles files;
  NumberFormat numberFormat;
  EventLog& log;
  std::string firstArgument;
};

}  // namespace tarvik
