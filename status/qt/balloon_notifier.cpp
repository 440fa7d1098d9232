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

BalloonNotifier::BalloonNotifier(QSystemTrayIcon& tray)
    : tray_(tray), route_([](bool serviceRuns) {
        return serviceRuns ? BalloonRoute::Service : BalloonRoute::TrayBalloon;
      }) {}

BalloonNotifier::~BalloonNotifier() = default;

bool BalloonNotifier::serviceRuns() const {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected() || !bus.interface()) return false;
  const QDBusReply<bool> reply = bus.interface()->isServiceRegistered(kService);
  return reply.isValid() && reply.value();
}

void BalloonNotifier::show(const QString& title, const QString& text, int timeoutMs) {
  // A popup still up from an earlier balloon gives way to this one.
  if (popup_) popup_->hide();
  BalloonRoute route = route_(serviceRuns());
  if (route == BalloonRoute::Service) {
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, "Notify");
    call << QStringLiteral("Tarvik") << lastId_ << QStringLiteral("dialog-information") << title
         << plain(text) << QStringList() << QVariantMap() << timeoutMs;
    const QDBusReply<uint> reply =
        QDBusConnection::sessionBus().call(call, QDBus::Block, kCallTimeoutMs);
    if (reply.isValid()) {
      lastId_ = reply.value();
      return;
    }
    // The service went away meanwhile: the balloon takes the next way.
    route = route_(false);
  }
  if (route == BalloonRoute::TrayBalloon && tray_.isVisible()) {
    tray_.showMessage(title, text, QSystemTrayIcon::Information, timeoutMs);
    trayBalloonShown_ = true;
    return;
  }
  if (!popup_) popup_ = std::make_unique<BalloonPopup>();
  popup_->showBeside(anchor_, title, text);
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
  if (popup_) popup_->hide();
}

}  // namespace tarvik
