#pragma once

#include <string>

#include "platform/process.h"

namespace tarvik {

// Starts programs detached from this one, never through a shell: the words of the command
// line go to the program as they are, so shell characters in a stored line do nothing.
class LinuxProcessLauncher : public ProcessLauncher {
 public:
  // `programPath` is what a new instance runs; tests pass a stand-in.
  explicit LinuxProcessLauncher(std::string programPath = ownExecutable());

  void run(const std::string& commandLine) override;
  void startNewInstance(const std::string& programSwitch) override;

  // The running executable with every link resolved (/proc/self/exe).
  static std::string ownExecutable();

 private:
  std::string programPath_;
};

}  // namespace tarvik
