#include "app/qt/tray_user.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

#include "app/qt/message_box.h"
#include "settings/qt/tsettings.h"

namespace tarvik {
namespace {

QString qs(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A plain coloured disc per state, until the skin's icons take over.
QIcon stateIcon(std::string_view code) {
  QColor color(128, 128, 128);
  if (code == "of") color = QColor(200, 40, 40);
  if (code == "au") color = QColor(230, 180, 0);
  if (code == "on") color = QColor(40, 170, 40);
  if (code == "xx") color = QColor(40, 90, 220);
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(color);
  painter.setPen(Qt::black);
  painter.drawEllipse(1, 1, 14, 14);
  return QIcon(pixmap);
}

}  // namespace

TrayUser::TrayUser(Tsettings& settings) : settings_(settings) {
  QAction* exitAction = menu_.addAction("Выход");
  exitAction->setObjectName("m_exit");
  QObject::connect(exitAction, &QAction::triggered, [this] {
    if (exitHandler_) {
      exitHandler_();
    } else {
      terminate();
    }
  });
  tray_.setContextMenu(&menu_);
  tray_.setIcon(stateIcon("di"));
}

TrayUser::~TrayUser() {
  tray_.hide();
}

void TrayUser::showTrayIcon() {
  tray_.show();
}

void TrayUser::showStateCode(std::string_view code) {
  tray_.setIcon(stateIcon(code));
}

void TrayUser::balloon(std::string_view title, std::string_view text, bool) {
  if (tray_.isVisible()) tray_.showMessage(qs(title), qs(text));
}

void TrayUser::message(std::string_view text) {
  message_box::inform(qs(text));
}

Answer TrayUser::askYesNo(std::string_view text, bool defaultNo) {
  return message_box::askYesNo(qs(text), defaultNo) == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

Answer TrayUser::askYesNoCancel(std::string_view text) {
  switch (message_box::askYesNoCancel(qs(text))) {
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    default:
      return Answer::Cancel;
  }
}

RecoveryAnswer TrayUser::askRecovery(std::string_view text, bool allowRemind) {
  QMessageBox box(QMessageBox::NoIcon, QString(), qs(text));
  QPushButton* book = box.addButton("засчитать", QMessageBox::AcceptRole);
  QPushButton* ignore = box.addButton("игнорировать", QMessageBox::RejectRole);
  QPushButton* later = box.addButton("напомнить позже", QMessageBox::NoRole);
  later->setEnabled(allowRemind);
  box.setDefaultButton(book);
  message_box::run(box);
  if (box.clickedButton() == ignore) return RecoveryAnswer::Ignore;
  if (box.clickedButton() == later) return RecoveryAnswer::RemindLater;
  return RecoveryAnswer::Book;
}

bool TrayUser::settingsDialogOpen() {
  return settings_.isVisible();
}

void TrayUser::applyAndCloseSettingsDialog() {
  settings_.accept();
}

void TrayUser::cancelSettingsDialog() {
  settings_.reject();
}

void TrayUser::terminate() {
  tray_.hide();
  QApplication::quit();
}

void TrayUser::setTrayHint(std::string_view hint) {
  tray_.setToolTip(qs(hint));
}

void TrayUser::makeInert() {
  tray_.setContextMenu(nullptr);
}

void TrayUser::hideTrayIcon() {
  tray_.hide();
}

}  // namespace tarvik
