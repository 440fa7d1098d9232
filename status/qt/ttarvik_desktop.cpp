// The status window on the desktop it finds: with or without a notification area, brought
// forward by a later start, and painted through XWayland, where only transparency cuts it to
// its outline.
#include <QPaintEvent>
#include <QPainter>

#include "status/qt/ttarvik.h"

namespace tarvik {

void Ttarvik::showTrayIcon() {
  trayWanted_ = true;
  if (area_.present()) tray_.icon().show();
}

void Ttarvik::hideTrayIcon() {
  trayWanted_ = false;
  tray_.icon().hide();
}

void Ttarvik::followNotificationArea(TrayWatch& watch) {
  watch.onChange = [this](bool present) { notificationAreaChanged(present); };
  watch.probe();
}

void Ttarvik::notificationAreaChanged(bool present) {
  area_.report(present);
  if (area_.present() && trayWanted_)
    tray_.icon().show();
  else if (!area_.present())
    tray_.icon().hide();
  menu_->m_status_hide->setEnabled(area_.windowMayHide());
  if (QLabel* hide = view_.button(SkinButton::Hide)) hide->setEnabled(area_.windowMayHide());
  keepReachable();
}

void Ttarvik::paintEvent(QPaintEvent* event) {
  QWidget::paintEvent(event);
  if (!cutByAlpha_) return;
  QPainter painter(this);
  if (!mask().isEmpty()) painter.setClipRegion(mask());
  painter.fillRect(rect(), palette().button());
}

void Ttarvik::keepReachable() {
  if (area_.mustShowWindow(isVisible(), skinApplied_ && !inert_)) showStatusWindow();
}

bool Ttarvik::bringForward() {
  if (inert_) return false;
  showStatusWindow();
  raise();
  return true;
}

}  // namespace tarvik
