#pragma once

#include <QDialog>
#include <QString>

#include "platform/user.h"

class QPushButton;

namespace tarvik {

// The question about a connection interrupted by a crash: book it, ignore it, or ask again
// later. The third answer is offered only once.
class RecoveryDialog : public QDialog {
  Q_OBJECT

 public:
  RecoveryDialog(const QString& text, bool allowRemind, QWidget* parent = nullptr);

  RecoveryAnswer answer() const { return answer_; }
  QPushButton* bookButton() const { return book_; }
  QPushButton* ignoreButton() const { return ignore_; }
  QPushButton* laterButton() const { return later_; }

  // Runs the dialog until one of the three buttons is pressed.
  static RecoveryAnswer ask(const QString& text, bool allowRemind);

 protected:
  // Only the three buttons end the question: closing it any other way would leave the
  // interrupted connection neither booked, ignored nor postponed.
  void reject() override {}

 private:
  QPushButton* book_;
  QPushButton* ignore_;
  QPushButton* later_;
  RecoveryAnswer answer_ = RecoveryAnswer::Book;
};

}  // namespace tarvik
