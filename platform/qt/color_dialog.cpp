#include "platform/qt/color_dialog.h"

#include <QColorDialog>
#include <deque>

#include "platform/qt/unattended.h"

namespace tarvik::color_dialog {
namespace {

std::deque<QColor>& nextColors() {
  static std::deque<QColor> colors;
  return colors;
}

}  // namespace

QColor pickColor(QWidget* parent, const QColor& initial) {
  if (!nextColors().empty()) {
    const QColor color = nextColors().front();
    nextColors().pop_front();
    return color;
  }
  QColorDialog dialog(initial, parent);
  // Unattended, a picker is cancelled: nothing changes.
  answerUnattended(dialog, [&dialog] { dialog.reject(); });
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.selectedColor();
}

void setNextColor(const QColor& color) {
  nextColors().push_back(color);
}

}  // namespace tarvik::color_dialog
