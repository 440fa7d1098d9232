#pragma once

#include <QPointer>
#include <QString>

#include "platform/event_log.h"
#include "platform/qt/help_window.h"

namespace tarvik {

// Help at a context number, for the settings dialog's F1 and "[ справка ]" and the tray
// menu's "Справка". A build without the manual explains that there is none and says so in the
// event log.
class ProgramHelp {
 public:
  explicit ProgramHelp(EventLog& log, QString manual = HelpWindow::kBuiltInManual);
  ~ProgramHelp();
  ProgramHelp(const ProgramHelp&) = delete;
  ProgramHelp& operator=(const ProgramHelp&) = delete;

  // The help-file check: whether there is a manual to open.
  bool available() const;
  void open(int context);
  // The window once help was opened; nullptr before.
  HelpWindow* window() const { return window_; }

 private:
  EventLog& log_;
  QString manual_;
  QPointer<HelpWindow> window_;
};

}  // namespace tarvik
