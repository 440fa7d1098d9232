#include "status/qt/tray_icon.h"

#include <QApplication>

#include "config/ini_file.h"
#include "config/keys.h"

namespace tarvik {
namespace {

QString qs(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

constexpr int kBalloonTimeoutMs = 10000;
constexpr int kTitleLimit = 63;
constexpr int kTextLimit = 255;
constexpr int kHintLimit = 127;

}  // namespace

TrayIcon::TrayIcon(ProgramFiles files, TimerFactory& timers, QObject* parent)
    : QObject(parent), files_(std::move(files)), notifier_(tray_) {
  ownBalloonTimer_ = timers.createTimer("t_baloon");
  setBalloonTimer(*ownBalloonTimer_);
  clickTimer_.setSingleShot(true);
  connect(&clickTimer_, &QTimer::timeout, this, [this] {
    if (!clickPending_) return;
    clickPending_ = false;
    if (onClick) onClick();
  });
  connect(&tray_, &QSystemTrayIcon::activated, this, &TrayIcon::activated);
}

TrayIcon::~TrayIcon() {
  tray_.hide();
}

void TrayIcon::setBalloonTimer(Timer& t_baloon) {
  if (balloonTimer_) balloonTimer_->setEnabled(false);
  balloonTimer_ = &t_baloon;
  balloonTimer_->onFire([this] { removeBalloon(); });
}

void TrayIcon::activated(QSystemTrayIcon::ActivationReason reason) {
  if (!enabled_) return;
  switch (reason) {
    case QSystemTrayIcon::Trigger:
      if (!clickTimer_.isActive()) {
        clickPending_ = true;
        clickTimer_.start(QApplication::doubleClickInterval());
      }
      break;
    case QSystemTrayIcon::DoubleClick:
      clickTimer_.stop();
      clickPending_ = false;
      if (onDoubleClick) onDoubleClick();
      break;
    case QSystemTrayIcon::Context:
      if (onContextMenu) onContextMenu();
      break;
    default:
      break;
  }
}

void TrayIcon::showState(std::string_view code) {
  const int family =
      static_cast<int>(readKey(IniFile(files_.config()), sections::global(), global_keys::kIcon));
  static const char* kFamilies[4] = {"dk", "lt", "in", "v3"};
  if (family >= 0 && family <= 3)
    tray_.setIcon(QIcon(QStringLiteral(":/tray/i_%1_%2").arg(kFamilies[family]).arg(qs(code))));
}

void TrayIcon::setHint(std::string_view hint) {
  tray_.setToolTip(qs(hint).left(kHintLimit));
}

void TrayIcon::balloon(std::string_view title, std::string_view text, bool optional) {
  const IniFile config(files_.config());
  if (readKey(config, sections::global(), global_keys::kHelpShow) == 0) return;
  if (optional && readKey(config, sections::global(), global_keys::kBaloon) == 0) return;
  if (!enabled_) return;
  balloonTimer_->setEnabled(false);
  notifier_.show(qs(title).left(kTitleLimit), qs(text).left(kTextLimit), kBalloonTimeoutMs);
  balloonTimer_->setInterval(readKey(config, sections::global(), global_keys::kHelpTime) * 1000);
  balloonTimer_->setEnabled(true);
}

void TrayIcon::removeBalloon() {
  balloonTimer_->setEnabled(false);
  notifier_.remove();
}

}  // namespace tarvik
