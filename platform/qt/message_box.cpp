#include "platform/qt/message_box.h"

#include <QPushButton>
#include <deque>
#include <utility>

#include "platform/qt/unattended.h"

namespace tarvik::message_box {
namespace {

std::deque<QMessageBox::StandardButton>& nextAnswers() {
  static std::deque<QMessageBox::StandardButton> answers;
  return answers;
}

QStringList& answeredTexts() {
  static QStringList texts;
  return texts;
}

QMessageBox::StandardButton runBox(QMessageBox::StandardButtons buttons,
                                   QMessageBox::StandardButton defaultButton, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QString(), text, buttons);
  box.setDefaultButton(defaultButton);
  return run(box);
}

}  // namespace

QMessageBox::StandardButton run(QMessageBox& box) {
  box.setWindowTitle(QString::fromUtf8(kCaption));
  box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
  if (!nextAnswers().empty()) {
    const QMessageBox::StandardButton answer = nextAnswers().front();
    nextAnswers().pop_front();
    answeredTexts().append(box.text());
    return answer;
  }
  answerUnattended(box, [&box] {
    QAbstractButton* button = box.defaultButton();
    if (!button && !box.buttons().isEmpty()) button = box.buttons().first();
    if (button) button->click();
  });
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

void setNextAnswer(QMessageBox::StandardButton button) {
  nextAnswers().push_back(button);
}

QStringList takeAnsweredTexts() {
  return std::exchange(answeredTexts(), {});
}

}  // namespace tarvik::message_box
