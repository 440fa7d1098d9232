#include "settings/qt/tsettings.h"

namespace tarvik {

Tsettings::Tsettings(QWidget* parent) : QDialog(parent) {
  setObjectName("Tsettings");
  setWindowTitle("Tarvik");
  // Fixed size, no system buttons: the dialog closes only through its own buttons.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setFixedSize(750, 235);
}

}  // namespace tarvik
