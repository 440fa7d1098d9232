#include "platform/linux/process_launcher.h"

#include <QProcess>
#include <QStringList>

#include <filesystem>
#include <system_error>

#include "platform/command_line.h"

namespace tarvik {

namespace {

void startDetached(const std::string& program, const std::vector<std::string>& arguments) {
  QStringList args;
  for (const auto& a : arguments) args << QString::fromStdString(a);
  // A program that cannot be started is ignored; nothing waits for it or reports it.
  QProcess::startDetached(QString::fromStdString(program), args);
}

}  // namespace

LinuxProcessLauncher::LinuxProcessLauncher(std::string programPath)
    : programPath_(std::move(programPath)) {}

std::string LinuxProcessLauncher::ownExecutable() {
  std::error_code error;
  const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : path.string();
}

void LinuxProcessLauncher::run(const std::string& commandLine) {
  auto words = splitCommandLine(commandLine);
  if (words.empty() || words.front().empty()) return;
  const std::string program = words.front();
  words.erase(words.begin());
  startDetached(program, words);
}

void LinuxProcessLauncher::startNewInstance(const std::string& programSwitch) {
  if (programPath_.empty()) return;
  startDetached(programPath_, {programSwitch});
}

}  // namespace tarvik
