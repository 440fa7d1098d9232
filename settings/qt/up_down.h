#pragma once

#include <QWidget>

#include "settings/page_keys.h"

class QLineEdit;

namespace tarvik {

// The up-down buttons beside an edit box. The edit stays free text (its page checks what is
// typed); the buttons step the number shown by the row's step, within the row's range.
class UpDown : public QWidget {
 public:
  // Named "ud_" + the edit's name without its "e_"; the range is the edit's row in the page
  // key table.
  UpDown(QLineEdit* edit, PageId page);

  void stepBy(int steps);
  // Enables or disables the buttons together with their edit.
  void setActive(bool active);

 protected:
  // The arrow keys in the edit step it as the buttons do.
  bool eventFilter(QObject* watched, QEvent* event) override;
  int minimum() const { return min_; }
  int maximum() const { return max_; }

 private:
  QLineEdit* edit_;
  int min_ = 0;
  int max_ = 0;
  int step_ = 1;
};

}  // namespace tarvik
