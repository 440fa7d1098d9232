#include "platform/qt/message_box.h"

#include <QPushButton>
#include <QTimer>

namespace tarvik::message_box {
namespace {

int dismissAfterMs() {
  bool ok = false;
  const int ms = qEnvironmentVariableIntValue("TARVIK_TEST_DISMISS_MS", &ok);
  return ok && ms >= 0 ? ms : -1;
}

QMessageBox::StandardButton runBox(QMessageBox::StandardButtons buttons,
                                   QMessageBox::StandardButton defaultButton, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QString(), text, buttons);
  box.setDefaultButton(defaultButton);
  return run(box);
}

}  // namespace

QMessageBox::StandardButton run(QMessageBox& box) {
  box.setWindowTitle(QString());
  box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
  const int ms = dismissAfterMs();
  if (ms >= 0) {
    QTimer::singleShot(ms, &box, [&box] {
      QAbstractButton* button = box.defaultButton();
      if (!button && !box.buttons().isEmpty()) button = box.buttons().first();
      if (button) button->click();
    });
  }
  box.exec();
  return box.standardButton(box.clickedButton());
}

void inform(const QString& text) {
  runBox(QMessageBox::Ok, QMessageBox::Ok, text);
}

QMessageBox::StandardButton askYesNo(const QString& text, bool defaultNo) {
  return runBox(QMessageBox::Yes | QMessageBox::No, defaultNo ? QMessageBox::No : QMessageBox::Yes,
                text);
}

QMessageBox::StandardButton askYesNoCancel(const QString& text) {
  return runBox(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes, text);
}

}  // namespace tarvik::message_box
