#pragma once

#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A dbus-daemon of the test's own on a socket in a temporary folder, stopped with the object,
// so tests never touch the machine's system or session bus.
class PrivateBus {
 public:
  PrivateBus() = default;
  PrivateBus(const PrivateBus&) = delete;
  PrivateBus& operator=(const PrivateBus&) = delete;
  ~PrivateBus() { stop(); }

  // Starts the daemon; returns its address, or an empty text when it could not start.
  QString start() {
    if (!dir_.isValid()) return {};
    QFile config(dir_.filePath(QStringLiteral("bus.conf")));
    if (!config.open(QIODevice::WriteOnly)) return {};
    config.write(QStringLiteral(
                     "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
                     "1.0//EN\" \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                     "<busconfig><type>session</type><listen>unix:path=%1</listen>"
                     "<policy context=\"default\"><allow send_destination=\"*\"/>"
                     "<allow receive_sender=\"*\"/><allow own=\"*\"/></policy></busconfig>\n")
                     .arg(dir_.filePath(QStringLiteral("bus")))
                     .toUtf8());
    config.close();
    daemon_.start(QStringLiteral("dbus-daemon"),
                  {QStringLiteral("--nofork"), QStringLiteral("--print-address=1"),
                   QStringLiteral("--config-file=") + config.fileName()});
    if (!daemon_.waitForStarted(5000) || !daemon_.waitForReadyRead(5000)) return {};
    return QString::fromUtf8(daemon_.readLine()).trimmed();
  }

  void stop() {
    if (daemon_.state() == QProcess::NotRunning) return;
    daemon_.terminate();
    if (!daemon_.waitForFinished(5000)) {
      daemon_.kill();
      daemon_.waitForFinished(5000);
    }
  }

 private:
  QTemporaryDir dir_;
  QProcess daemon_;
};
