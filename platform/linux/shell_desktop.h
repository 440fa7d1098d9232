#pragma once

#include <QPointer>
#include <QString>

#include "platform/linux/log_viewer.h"
#include "platform/shell.h"

namespace tarvik {

// The shell services on a Linux desktop: the desktop's opener (xdg-open) for files and
// addresses, CUPS (lp) for printing, and a viewer window of our own for the event log, which
// decodes its code page correctly. Tests substitute the two helper programs.
class DesktopShell : public Shell {
 public:
  explicit DesktopShell(QString opener = "xdg-open", QString printer = "lp");

  // xdg-open's results: 0 done, 2 file missing, 3 no program for the type, others failed.
  // An opener that cannot be started leaves nothing to open files with (no association).
  ShellResult open(const std::string& target) override;
  // The text goes to the printer's standard input in UTF-8. No printer, no print service or
  // a missing lp all fail with lp's result.
  ShellResult print(const std::filesystem::path& file) override;
  bool viewText(const std::filesystem::path& file) override;

  LogViewer* viewer() const { return viewer_; }

  // Result numbers used when the helper itself did not answer.
  static constexpr int kNotStarted = 127;
  static constexpr int kTimedOut = 124;
  static constexpr int kCrashed = 125;

 private:
  QString opener_;
  QString printer_;
  QPointer<LogViewer> viewer_;
};

}  // namespace tarvik
