#pragma once

#include <string>

namespace tarvik {

// Starting programs. Nothing is reported back: a program that cannot start is ignored.
class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;
  // Runs a command line split the way the Windows command line is split (quotes, blanks),
  // detached and without a shell.
  virtual void run(const std::string& commandLine) = 0;
  // Starts a new instance of this program with one switch ("/reboot", "/reinitialize").
  virtual void startNewInstance(const std::string& programSwitch) = 0;
};

}  // namespace tarvik
