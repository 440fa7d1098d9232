#include "status/qt/balloon_notifier.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QVariantMap>

namespace tarvik {
namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
// A notification call must not freeze the window when the daemon hangs.
constexpr int kCallTimeoutMs = 1000;

// Notification bodies may be read as markup; the program's texts are plain.
QString plain(const QString& text) {
  return text.toHtmlEscaped();
}

}  // namespace

bool BalloonNotifier::serviceRuns() const {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected() || !bus.interface()) return false;
  const QDBusReply<bool> reply = bus.interface()->isServiceRegistered(kService);
  return reply.isValid() && reply.value();
}

void BalloonNotifier::show(const QString& title, const QString& text, int timeoutMs) {
  if (serviceRuns()) {
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, "Notify");
    call << QStringLiteral("Tarvik") << lastId_ << QStringLiteral("dialog-information") << title
         << plain(text) << QStringList() << QVariantMap() << timeoutMs;
    const QDBusReply<uint> reply =
        QDBusConnection::sessionBus().call(call, QDBus::Block, kCallTimeoutMs);
    if (reply.isValid()) {
      lastId_ = reply.value();
      return;
    }
  }
  tray_.showMessage(title, text, QSystemTrayIcon::Information, timeoutMs);
  trayBalloonShown_ = true;
}

void BalloonNotifier::remove() {
  if (lastId_ != 0) {
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, "CloseNotification");
    call << lastId_;
    QDBusConnection::sessionBus().call(call, QDBus::NoBlock);
    lastId_ = 0;
  }
  if (trayBalloonShown_) {
    // An empty balloon takes the shown one away.
    tray_.showMessage(QString(), QString(), QSystemTrayIcon::NoIcon, 0);
    trayBalloonShown_ = false;
  }
}

}  // namespace tarvik
