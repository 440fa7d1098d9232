#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <filesystem>

#include "platform/linux/shell_desktop.h"

using tarvik::DesktopShell;
using tarvik::ShellStatus;

namespace {

// A stand-in for the opener or lp: records its arguments and standard input in `marker`
// and ends with `exitCode`.
QString helper(const QTemporaryDir& dir, const QString& name, int exitCode) {
  const QString path = dir.path() + "/" + name;
  QFile script(path);
  script.open(QIODevice::WriteOnly);
  script.write(QString("#!/bin/sh\n"
                       "printf '%s|%s|' \"$#\" \"$*\" > '%1.marker'\n"
                       "[ -t 0 ] || cat >> '%1.marker'\n"
                       "exit %2\n")
                   .arg(path)
                   .arg(exitCode)
                   .toUtf8());
  script.close();
  script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  return path;
}

QByteArray readAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  file.open(QIODevice::WriteOnly);
  file.write(bytes);
}

// "Журнал" in code page 1251.
const QByteArray kCp1251Word("\xC6\xF3\xF0\xED\xE0\xEB");

}  // namespace

class ShellDesktopTest : public QObject {
  Q_OBJECT
 private slots:
  void openerResultsMapOntoTheShellResults() {
    QTemporaryDir dir;
    const QString quickLog = dir.path() + "/Velk.TxT";
    writeBytes(quickLog, "log\r\n");
    const struct {
      int exitCode;
      ShellStatus status;
      int code;
    } cases[] = {{0, ShellStatus::Done, 0},          {2, ShellStatus::FileNotFound, 2},
                 {3, ShellStatus::NoAssociation, 3}, {4, ShellStatus::Failed, 4},
                 {1, ShellStatus::Failed, 1},        {5, ShellStatus::Failed, 5}};
    for (const auto& c : cases) {
      DesktopShell shell(helper(dir, QString("opener%1").arg(c.exitCode), c.exitCode));
      const auto result = shell.open(quickLog.toStdString());
      QCOMPARE(result.status, c.status);
      QCOMPARE(result.code, c.code);
      QCOMPARE(result.ok(), c.status == ShellStatus::Done);
    }
  }

  void theTargetReachesTheOpenerAsOneWord() {
    QTemporaryDir dir;
    const QString opener = helper(dir, "opener", 0);
    DesktopShell shell(opener);
    const QString address = "https://example.org/a b?x=1&y=$HOME;`id`";
    QVERIFY(shell.open(address.toStdString()).ok());
    QCOMPARE(readAll(opener + ".marker"), ("1|" + address + "|").toUtf8());
    QVERIFY(shell.open("mailto:someone@example.org").ok());
    QCOMPARE(readAll(opener + ".marker"), QByteArray("1|mailto:someone@example.org|"));
  }

  void aMissingFileIsNotFoundWithoutAskingTheOpener() {
    QTemporaryDir dir;
    const QString opener = helper(dir, "opener", 0);
    DesktopShell shell(opener);
    const auto result = shell.open((dir.path() + "/Velk.TxT").toStdString());
    QCOMPARE(result.status, ShellStatus::FileNotFound);
    QCOMPARE(shell.open("").status, ShellStatus::FileNotFound);
    QVERIFY(!QFileInfo::exists(opener + ".marker"));
  }

  // An opener that runs the program to its end (a bare session) is not waited for.
  void anOpenerStillRunningCountsAsOpened() {
    QTemporaryDir dir;
    writeBytes(dir.path() + "/Velk.TxT", "log\r\n");
    const QString opener = dir.path() + "/editor";
    QFile script(opener);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(("#!/bin/sh\nsleep 2\ntouch '" + opener + ".closed'\nexit 4\n").toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    DesktopShell shell(opener);
    QElapsedTimer elapsed;
    elapsed.start();
    QVERIFY(shell.open((dir.path() + "/Velk.TxT").toStdString()).ok());
    QVERIFY(elapsed.elapsed() < 2000);
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(opener + ".closed"), 10000);
  }

  void noOpenerMeansNoAssociation() {
    QTemporaryDir dir;
    writeBytes(dir.path() + "/Velk.TxT", "log\r\n");
    DesktopShell shell(dir.path() + "/no-such-opener");
    const auto result = shell.open((dir.path() + "/Velk.TxT").toStdString());
    QCOMPARE(result.status, ShellStatus::NoAssociation);
    QCOMPARE(result.code, DesktopShell::kNotStarted);
  }

  void printSendsTheReportInUtf8() {
    QTemporaryDir dir;
    const QString report = dir.path() + "/Tarvik.TxT";
    writeBytes(report, kCp1251Word + "\r\n");
    const QString lp = helper(dir, "lp", 0);
    DesktopShell shell("xdg-open", lp);
    QVERIFY(shell.print(report.toStdString()).ok());
    QCOMPARE(readAll(lp + ".marker"),
             QByteArray("2|-t Tarvik.TxT|") + QString("Журнал\r\n").toUtf8());
  }

  void aPrinterFailureCarriesItsNumber() {
    QTemporaryDir dir;
    const QString report = dir.path() + "/Tarvik.TxT";
    writeBytes(report, "report\r\n");
    DesktopShell shell("xdg-open", helper(dir, "lp", 1));
    const auto result = shell.print(report.toStdString());
    QCOMPARE(result.status, ShellStatus::Failed);
    QCOMPARE(result.code, 1);

    DesktopShell noLp("xdg-open", dir.path() + "/no-such-lp");
    QCOMPARE(noLp.print(report.toStdString()).code, DesktopShell::kNotStarted);
    QVERIFY(!noLp.print((dir.path() + "/missing.txt").toStdString()).ok());
  }

  // The real lp against a print service that is not there: the failure path.
  void printWithoutAPrintServiceFails() {
    if (QStandardPaths::findExecutable("lp").isEmpty()) QSKIP("lp is not installed");
    QTemporaryDir dir;
    const QString report = dir.path() + "/Tarvik.TxT";
    writeBytes(report, "report\r\n");
    const QByteArray saved = qgetenv("CUPS_SERVER");
    qputenv("CUPS_SERVER", (dir.path() + "/no-cups.sock").toUtf8());
    const auto result = DesktopShell().print(report.toStdString());
    if (saved.isNull())
      qunsetenv("CUPS_SERVER");
    else
      qputenv("CUPS_SERVER", saved);
    QCOMPARE(result.status, ShellStatus::Failed);
    QVERIFY(result.code != 0);
  }

  void theLogViewerDecodesTheCodePageReadOnly() {
    QTemporaryDir dir;
    const QString log = dir.path() + "/Tarvik.LOG";
    writeBytes(log, "\r\n01.02.2026 10:00:00\r\n " + kCp1251Word + " started.\r\n");
    DesktopShell shell;
    QVERIFY(shell.viewText(log.toStdString()));
    QVERIFY(shell.viewer());
    QCOMPARE(shell.viewer()->objectName(), QString("log_viewer"));
    QVERIFY(shell.viewer()->isVisible());
    auto* text = shell.viewer()->findChild<QPlainTextEdit*>("e_log");
    QVERIFY(text);
    QVERIFY(text->isReadOnly());
    QCOMPARE(text->toPlainText(), QString("\n01.02.2026 10:00:00\n Журнал started.\n"));

    // Viewing again reuses the window and shows the file as it is now.
    LogViewerPointer first = shell.viewer();
    writeBytes(log, "second\r\n");
    QVERIFY(shell.viewText(log.toStdString()));
    QCOMPARE(shell.viewer(), first.data());
    QCOMPARE(text->toPlainText(), QString("second\n"));
  }

  void aLogThatCannotBeReadIsNotShown() {
    QTemporaryDir dir;
    DesktopShell shell;
    QVERIFY(!shell.viewText((dir.path() + "/Tarvik.LOG").toStdString()));
    QVERIFY(!shell.viewer());
  }

 private:
  using LogViewerPointer = QPointer<tarvik::LogViewer>;
};

QTEST_MAIN(ShellDesktopTest)
#include "shell_desktop_test.moc"
