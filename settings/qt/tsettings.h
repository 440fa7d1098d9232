#pragma once

#include <QDialog>

namespace tarvik {

// The settings dialog. Created once, hidden, at start-up and only shown and hidden afterwards.
class Tsettings : public QDialog {
  Q_OBJECT

 public:
  explicit Tsettings(QWidget* parent = nullptr);
};

}  // namespace tarvik
