#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

// The installed launcher (packaging/tarvik-launcher.sh) in a fake installation: usr/bin/tarvik
// is the launcher, usr/libexec/tarvik/tarvik a stand-in program that records how it was started.
class PackagingLauncherTest : public QObject {
  Q_OBJECT
 private:
  QTemporaryDir root_;
  QString home() const { return root_.path() + "/home"; }
  QString launcher() const { return root_.path() + "/usr/bin/tarvik"; }
  QString installedProgram() const { return root_.path() + "/usr/libexec/tarvik/tarvik"; }
  QString ownCopy() const { return home() + "/.local/share/Tarvik/tarvik"; }

  static void writeExecutable(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }

  void installProgram(const QByteArray& version) {
    writeExecutable(installedProgram(),
                    "#!/bin/sh\n# " + version +
                        "\nprintf '%s\\n' \"$0\" \"$TARVIK_LAUNCHER\" \"$#:$*\" > \"$HOME/ran\"\n");
  }

  // Runs `command` (the launcher or a link to it) and returns what the program recorded.
  QStringList launch(const QString& command, const QStringList& args = {},
                     const QString& dataHome = {}) {
    QFile::remove(home() + "/ran");
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home());
    env.remove("TARVIK_LAUNCHER");
    if (dataHome.isEmpty())
      env.remove("XDG_DATA_HOME");
    else
      env.insert("XDG_DATA_HOME", dataHome);
    process.setProcessEnvironment(env);
    process.start(command, args);
    if (!process.waitForFinished(10000) || process.exitCode() != 0) return {"failed"};
    QFile ran(home() + "/ran");
    if (!ran.open(QIODevice::ReadOnly)) return {"not run"};
    return QString::fromUtf8(ran.readAll()).split('\n', Qt::SkipEmptyParts);
  }

  static ino_t inode(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
  }

 private slots:
  void init() {
    QDir(root_.path()).removeRecursively();
    QDir().mkpath(home());
    QFile source(QT_TESTCASE_SOURCEDIR "/../packaging/tarvik-launcher.sh");
    QVERIFY(source.open(QIODevice::ReadOnly));
    writeExecutable(launcher(), source.readAll());
    installProgram("version 1");
  }

  void theFirstStartRunsAPrivateCopyWithTheArguments() {
    const QStringList ran = launch(launcher(), {"/auto"});
    QCOMPARE(ran, (QStringList{ownCopy(), launcher(), "1:/auto"}));
    QVERIFY(QFileInfo(ownCopy()).isExecutable());
  }

  // Help and version are the installed program's answer: no data folder is made for them.
  void helpAndVersionCopyNothing() {
    for (const QString option : {"--help", "-h", "--version"}) {
      const QStringList ran = launch(launcher(), {option});
      QCOMPARE(QFileInfo(ran.value(0)).canonicalFilePath(),
               QFileInfo(installedProgram()).canonicalFilePath());
      QCOMPARE(ran.value(ran.size() - 1), "1:" + option);
    }
    QVERIFY(!QFileInfo::exists(home() + "/.local"));
  }

  void theCopyIsKeptUntilTheInstalledProgramChanges() {
    launch(launcher());
    QFile data(home() + "/.local/share/Tarvik/TarvikC.Kfg");
    QVERIFY(data.open(QIODevice::WriteOnly));
    data.write("[Olm:TK]\r\nShow=1\r\n");
    data.close();
    const ino_t first = inode(ownCopy());

    QCOMPARE(launch(launcher()).value(0), ownCopy());
    QCOMPARE(inode(ownCopy()), first);  // unchanged: not copied again

    installProgram("version 2");
    QCOMPARE(launch(launcher()).value(0), ownCopy());
    QVERIFY(inode(ownCopy()) != first);
    QFile copy(ownCopy());
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QVERIFY(copy.readAll().contains("version 2"));
    // The user's data files beside it stay as they were.
    QVERIFY(data.open(QIODevice::ReadOnly));
    QCOMPARE(data.readAll(), QByteArray("[Olm:TK]\r\nShow=1\r\n"));
    QVERIFY(!QFileInfo::exists(home() + "/.local/share/Tarvik/.tarvik.new"));
  }

  void anAbsoluteXdgDataHomeIsUsed() {
    const QString data = root_.path() + "/data";
    QCOMPARE(launch(launcher(), {}, data).value(0), data + "/Tarvik/tarvik");
    QCOMPARE(launch(launcher(), {}, "relative/data").value(0), ownCopy());
  }

  // A link elsewhere to the launcher still finds the installation and names the launcher.
  void startedThroughALink() {
    const QString link = root_.path() + "/elsewhere/tarvik";
    QDir().mkpath(QFileInfo(link).path());
    QVERIFY(QFile::link(launcher(), link));
    const QStringList ran = launch(link, {"/reboot", "x y"});
    QCOMPARE(ran, (QStringList{ownCopy(), launcher(), "2:/reboot x y"}));
  }
};

QTEST_GUILESS_MAIN(PackagingLauncherTest)
#include "packaging_launcher_test.moc"
