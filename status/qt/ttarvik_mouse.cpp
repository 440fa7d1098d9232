// What the mouse does on the status window: dragging by the face, the indicator or a text, the
// hover and pressed looks and the clicks of the two buttons, the double-click action and the
// window commands it shares with the menu.
#include <QContextMenuEvent>
#include <QMouseEvent>

#include "config/ini_file.h"
#include "config/keys.h"
#include "status/account_display.h"
#include "status/qt/ttarvik.h"

namespace tarvik {

bool Ttarvik::buttonEvent(SkinButton button, QEvent* event) {
  bool& mark = button == SkinButton::Hide ? hideMarked_ : switchMarked_;
  // A hide button that cannot hide (no notification area) shows no looks and takes no clicks.
  if (button == SkinButton::Hide && !area_.windowMayHide()) {
    const QEvent::Type type = event->type();
    return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
           type == QEvent::MouseButtonDblClick;
  }
  switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::Enter:
      if (!mark) {
        view_.showButton(button, ButtonLook::Hover);
        mark = true;
      }
      return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      view_.showButton(button, ButtonLook::Pressed);
      mark = true;
      return true;
    case QEvent::MouseButtonRelease: {
      view_.showButton(button, ButtonLook::Normal);
      mark = false;
      auto* me = static_cast<QMouseEvent*>(event);
      if (me->button() == Qt::LeftButton &&
          view_.button(button)->rect().contains(me->position().toPoint())) {
        if (button == SkinButton::Hide)
          hideStatusWindow();
        else
          switchMode();
      }
      return true;
    }
    default:
      return false;
  }
}

bool Ttarvik::eventFilter(QObject* watched, QEvent* event) {
  SkinButton button{};
  if (view_.isButton(watched, &button)) return buttonEvent(button, event);
  auto* me = dynamic_cast<QMouseEvent*>(event);
  if (!me) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::MouseMove:
      if (hideMarked_ || switchMarked_) clearButtonMarks();
      return false;
    case QEvent::MouseButtonPress:
      if (me->button() != Qt::LeftButton) return false;
      {
        const QPoint grab = me->globalPosition().toPoint() - pos();
        behaviour_->dragStart({grab.x(), grab.y()});
      }
      return true;
    case QEvent::MouseButtonRelease:
      if (me->button() != Qt::LeftButton) return false;
      behaviour_->dragEnd();
      return true;
    case QEvent::MouseButtonDblClick:
      if (me->button() != Qt::LeftButton) return false;
      windowDoubleClicked();
      return true;
    default:
      return false;
  }
}

void Ttarvik::contextMenuEvent(QContextMenuEvent* event) {
  if (!tray_.enabled()) return;
  menu_->popup(event->globalPos());
}

void Ttarvik::openSettingsPage(PageId page) {
  if (!menu_->host()) return;
  raise();
  menu_->host()->openSettings(page);
}

void Ttarvik::keepLine() {
  if (menu_->host()) menu_->host()->keepLine();
  setKeepLineMenu(false);
}

void Ttarvik::windowDoubleClicked() {
  TrayHost* host = menu_->host();
  const DoubleClickAction action =
      readKey(IniFile(files_.config()), sections::global(), global_keys::kAction);
  const bool active = host ? host->connectionActive() : !menu_->offline();
  switch (action) {
    case DoubleClickAction::ShowStatistics:
      openSettingsPage(PageId::Stat);
      break;
    case DoubleClickAction::HideWindow:
      hideStatusWindow();
      break;
    case DoubleClickAction::SwitchMoney:
      toggleAccountDisplay();
      break;
    case DoubleClickAction::SwitchSkinMode:
      switchMode();
      break;
    case DoubleClickAction::HangUp:
      if (active && host) host->hangUp();
      break;
    case DoubleClickAction::CancelAutoHangUp:
      if (active && menu_->keepLineVisible()) keepLine();
      break;
    default:
      break;
  }
}

void Ttarvik::toggleAccountDisplay() {
  // Both items toggle, whichever is chosen.
  setAccountDisplayChecks(!menu_->accountChecked());
  storeAccountDisplay(files_, menu_->entry().toStdString(), menu_->accountChecked());
  if (menu_->host()) menu_->host()->reloadEntrySettings();
}

}  // namespace tarvik
