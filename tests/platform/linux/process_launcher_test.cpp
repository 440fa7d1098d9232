#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/linux/process_launcher.h"

using tarvik::LinuxProcessLauncher;

namespace {

QString quoted(const QString& text) {
  return '"' + text + '"';
}

QByteArray readAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

// Real launches of harmless programs; each leaves a marker file that the test waits for.
class ProcessLauncherTest : public QObject {
  Q_OBJECT
 private slots:
  void runFindsTheProgramOnThePathAndPassesQuotedWords() {
    QTemporaryDir dir;
    const QString marker = dir.path() + "/with blank; and semicolon";
    LinuxProcessLauncher launcher;
    launcher.run(("touch " + quoted(marker)).toStdString());
    QTRY_VERIFY(QFileInfo::exists(marker));
  }

  void shellCharactersReachTheProgramUnexpanded() {
    QTemporaryDir dir;
    LinuxProcessLauncher launcher;
    // Through a shell this would name the file after the home folder and run `id`.
    launcher.run(("/usr/bin/touch " + dir.path() + "/x$HOME`id`").toStdString());
    QTRY_VERIFY(QFileInfo::exists(dir.path() + "/x$HOME`id`"));
  }

  void programsThatCannotStartAreIgnored() {
    QTemporaryDir dir;
    LinuxProcessLauncher launcher;
    launcher.run("");
    launcher.run("   ");
    launcher.run(R"("C:\Program Files\dialer.exe" /go)");
    launcher.run((dir.path() + "/missing-program").toStdString());
    // Still working afterwards.
    launcher.run(("touch " + dir.path() + "/after").toStdString());
    QTRY_VERIFY(QFileInfo::exists(dir.path() + "/after"));
  }

  void newInstanceRunsTheProgramWithOneSwitch() {
    QTemporaryDir dir;
    const QString marker = dir.path() + "/instance";
    const QString program = dir.path() + "/tarvik";
    QFile script(program);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(("#!/bin/sh\necho \"$# $1\" > '" + marker + ".tmp' && mv '" + marker + ".tmp' '" +
                  marker + "'\n")
                     .toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    LinuxProcessLauncher launcher(program.toStdString());
    launcher.startNewInstance("/reboot");
    QTRY_VERIFY(QFileInfo::exists(marker));
    QCOMPARE(readAll(marker), QByteArray("1 /reboot\n"));
  }

  void ownExecutableIsThisProgram() {
    QCOMPARE(QString::fromStdString(LinuxProcessLauncher::ownExecutable()),
             QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath());
  }
};

QTEST_MAIN(ProcessLauncherTest)
#include "process_launcher_test.moc"
