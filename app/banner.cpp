#include "app/banner.h"

#include <fcntl.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <string>

#include "config/codepage.h"

namespace tarvik {
namespace {

constexpr std::string_view kContactAddress = "tarvik.support@example.org";

// A new log starts with its header; an existing one is left alone.
void createLogIfMissing(const std::filesystem::path& file) {
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return;
  const std::string header = utf8ToCp1251(std::string(kEventLogHeader) + "\r\n");
  [[maybe_unused]] const ssize_t written = ::write(fd, header.data(), header.size());
  ::close(fd);
}

// Writable means it can be opened for appending right now: a missing file, a read-only file
// or a read-only medium all fail.
bool logWritable(const std::filesystem::path& file) {
  const int fd = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

std::string programDirText(const std::filesystem::path& dir) {
  std::string text = dir.string();
  if (text.empty() || text.back() != '/') text += '/';
  return text;
}

}  // namespace

std::string writeProblemMessage() {
  return "Возникла проблема при попытке записать файл на диск.\n"
         "Возможно, программа запущена с диска, запись на который запрещена.\n"
         "Журналы работы и соединений,  а также файлы настроек и статистики\n"
         "НЕ будут задействованы. Скопируйте программу на жёсткий диск и/или\n"
         "снимите флаг «только для чтения» у всех файлов в директории...\n"
         "Если ошибка повторится, свяжитесь с автором (" +
         std::string(kContactAddress) + ")";
}

StartKind classifyArgument(std::string_view firstArgument) {
  if (firstArgument == "/auto") return StartKind::Auto;
  if (firstArgument == "/reinitialize") return StartKind::Reinitialize;
  if (firstArgument == "/reboot") return StartKind::Reboot;
  return StartKind::Ordinary;
}

bool skipsInstanceCheck(StartKind kind) {
  return kind != StartKind::Ordinary;
}

std::string systemLine() {
  struct utsname names {};
  std::string line = " System: Linux ";
  if (::uname(&names) == 0) line += names.release;
  return line;
}

bool prepareEventLog(const ProgramFiles& files) {
  createLogIfMissing(files.eventLog());
  std::error_code ec;
  return !logWritable(files.eventLog()) && !std::filesystem::exists(files.noGo(), ec);
}

void writeStartBanner(const ProgramFiles& files, EventLog& log, std::string_view firstArgument,
                      std::string_view systemText) {
  if (classifyArgument(firstArgument) == StartKind::Reinitialize) {
    log.append(" ReInitializing...", true);
    return;
  }
  log.append(" Starting application...", true);
  log.append(" iD: " + std::string(kInstanceId));
  log.append(" Arg: " + std::string(firstArgument));
  log.append(" Path: " + programDirText(files.dir));
  log.append(systemText);
  log.append(" Initializing...");
}

void logInstanceRefused(EventLog& log) {
  log.append(" Failed. One instance allowed only.");
  log.append(" New instance will be terminated.");
}

void logTopLevelException(EventLog& log, std::string_view id, std::string_view message) {
  log.append(" Failed. System exception " + std::string(id) + ".");
  log.append(" Error: " + std::string(message) + ".");
  log.append(" Application will be terminated.");
}

}  // namespace tarvik
