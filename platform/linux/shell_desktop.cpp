#include "platform/linux/shell_desktop.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

#include "config/codepage.h"
#include "config/regular_file.h"

namespace tarvik {

namespace {

// The opener usually hands over to a program and returns at once; in a bare session it may
// instead run that program to its end. Past this wait it counts as opened and is left to run.
constexpr int kOpenWaitMs = 1500;
constexpr int kPrintWaitMs = 10000;

// "https://...", "mailto:..." and the like are addresses; everything else is a local file.
bool isAddress(const QString& target) {
  static const QRegularExpression scheme("^[A-Za-z][A-Za-z0-9+.-]+:");
  return scheme.match(target).hasMatch();
}

ShellResult fromOpener(int exitCode) {
  switch (exitCode) {
    case 0:
      return {ShellStatus::Done, 0};
    case 2:
      return {ShellStatus::FileNotFound, 2};
    case 3:
      return {ShellStatus::NoAssociation, 3};
    default:
      return {ShellStatus::Failed, exitCode};
  }
}

}  // namespace

DesktopShell::DesktopShell(QString opener, QString printer)
    : opener_(std::move(opener)), printer_(std::move(printer)) {}

ShellResult DesktopShell::open(const std::string& target) {
  QString what = QString::fromStdString(target);
  if (what.isEmpty()) return {ShellStatus::FileNotFound, 2};
  if (!isAddress(what)) {
    if (!QFileInfo::exists(what)) return {ShellStatus::FileNotFound, 2};
    what = QFileInfo(what).absoluteFilePath();  // never mistaken for an option of the opener
  }

  // Owned by itself from here: it may outlive this call when the opener keeps running.
  auto* process = new QProcess;
  process->setStandardInputFile(QProcess::nullDevice());
  process->setStandardOutputFile(QProcess::nullDevice());
  process->setStandardErrorFile(QProcess::nullDevice());
  process->start(opener_, {what});
  if (!process->waitForStarted()) {
    delete process;
    return {ShellStatus::NoAssociation, kNotStarted};
  }
  if (!process->waitForFinished(kOpenWaitMs)) {
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    return {ShellStatus::Done, 0};
  }
  const bool crashed = process->exitStatus() == QProcess::CrashExit;
  const int code = process->exitCode();
  delete process;
  return crashed ? ShellResult{ShellStatus::Failed, kCrashed} : fromOpener(code);
}

ShellResult DesktopShell::print(const std::filesystem::path& file) {
  const FileRead read = readRegularFile(file);
  if (read.error != 0) return {ShellStatus::FileNotFound, 2};
  const std::string text = cp1251ToUtf8(read.bytes);

  QProcess lp;
  lp.setStandardOutputFile(QProcess::nullDevice());
  lp.setStandardErrorFile(QProcess::nullDevice());
  // With no file named, lp prints its standard input; the title names the job in the queue.
  lp.start(printer_, {"-t", QString::fromStdString(file.filename().string())});
  if (!lp.waitForStarted()) return {ShellStatus::Failed, kNotStarted};
  lp.write(text.data(), static_cast<qint64>(text.size()));
  lp.closeWriteChannel();
  if (!lp.waitForFinished(kPrintWaitMs)) {
    lp.kill();
    lp.waitForFinished();
    return {ShellStatus::Failed, kTimedOut};
  }
  if (lp.exitStatus() == QProcess::CrashExit) return {ShellStatus::Failed, kCrashed};
  if (lp.exitCode() != 0) return {ShellStatus::Failed, lp.exitCode()};
  return {ShellStatus::Done, 0};
}

bool DesktopShell::viewText(const std::filesystem::path& file) {
  // One viewer at a time: viewing again brings it back with the file read afresh.
  const bool fresh = viewer_.isNull();
  if (fresh) {
    viewer_ = new LogViewer;
    viewer_->setAttribute(Qt::WA_DeleteOnClose);
  }
  if (!viewer_->load(file)) {
    if (fresh) delete viewer_;
    return false;
  }
  viewer_->show();
  viewer_->raise();
  viewer_->activateWindow();
  return true;
}

}  // namespace tarvik
