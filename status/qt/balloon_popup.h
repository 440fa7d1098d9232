#pragma once

#include <QFrame>
#include <QLabel>

namespace tarvik {

// The balloon of a desktop that has neither a notification service nor a notification area:
// a small frameless box beside the status window with the title and the text. It never takes
// the focus; it goes when the balloon's time is up, when a newer one replaces it, or when it is
// clicked.
class BalloonPopup : public QFrame {
  Q_OBJECT

 public:
  BalloonPopup();

  // Shows `title` and `text` beside `anchor` (above it when there is room, else below), or in
  // the bottom-right corner of the free area when the anchor is not on screen.
  void showBeside(const QWidget* anchor, const QString& title, const QString& text);

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QLabel* title_;
  QLabel* text_;
};

}  // namespace tarvik
