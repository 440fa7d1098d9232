// The settings dialog on the screen: shrunk to fit it, grown to its pages, centred on it.
#include "settings/qt/dialog_screen.h"

#include <QFont>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <algorithm>

#include "settings/qt/settings_dialog.h"

namespace tarvik {

DialogFit fitToScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return kDialogDesign;
  const QRect free = screen->availableGeometry();
  return fitDialog(free.width(), free.height());
}

void compact(QWidget* root, int titlePixels) {
  for (QLayout* layout : root->findChildren<QLayout*>()) {
    layout->setContentsMargins(3, 1, 3, 1);
    layout->setSpacing(1);
  }
  const QFont controls = root->font();
  QFont titles = controls;
  titles.setPixelSize(titlePixels);
  for (QGroupBox* group : root->findChildren<QGroupBox*>()) {
    group->setFont(titles);
    for (QWidget* child : group->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      child->setFont(controls);
  }
}

void Tsettings::growToPages() {
  if (!scroll_) return;
  // Shrunk to the screen's width, the dialog takes the height its pages need (and a scroll
  // bar's, for the width they lack) as far as the screen allows, so that a page only scrolls
  // sideways.
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  layout()->activate();
  const int around = height() - scroll_->viewport()->height();
  const int wanted = around + stack_->minimumSizeHint().height() +
                     scroll_->horizontalScrollBar()->sizeHint().height();
  const int room = screen->availableGeometry().height() - kDialogFrameHeight;
  setFixedHeight(std::max(fit_.height, std::min(wanted, room)));
}

void Tsettings::placeOnWorkArea() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  // The window manager's frame is known once the dialog was shown with one; before that the
  // usual frame stands in, so that the first show is already centred. Window managers draw
  // their frames in the screen's own pixels, whatever the scale factor.
  const auto usual = [ratio = screen->devicePixelRatio()](int pixels) {
    return qRound(pixels / ratio);
  };
  const int border = usual(kDialogFrameWidth / 2);
  const QMargins frame =
      frameMargins_.isNull()
          ? QMargins(border, usual(kDialogFrameHeight - kDialogFrameWidth / 2), border, border)
          : frameMargins_;
  const QSize outer = size().grownBy(frame);
  const QPoint corner(area.left() + std::max(0, (area.width() - outer.width()) / 2),
                      area.top() + std::max(0, (area.height() - outer.height()) / 2));
  // The client's place, before the window is mapped: the window manager puts its frame round.
  setGeometry(QRect(corner + QPoint(frame.left(), frame.top()), size()));
}

}  // namespace tarvik
