#pragma once

#include <QLabel>
#include <QString>
#include <array>
#include <string_view>

#include "platform/user.h"
#include "status/qt/skin_pictures.h"
#include "status/skin.h"

class QWidget;

namespace tarvik {

enum class SkinButton { Hide, Switch };
enum class ButtonLook { Normal, Hover, Pressed };

// Draws a skin's objects into a host widget: the face, the state indicator, the five texts
// with their shadow copies and the hide and mode buttons, as children named as the status
// window's objects are. The status window and any preview of a skin use it alike, so that a
// preview shows exactly what the window will show. It draws only: what the mouse does on the
// objects is the host's business (the children send their events to `eventFilter`).
class SkinView {
 public:
  SkinView(QWidget& host, QObject* eventFilter);

  // The picture holders the skin loader fills (i_ind_di ... i_switch_dn and the face).
  QtSkinPictures& pictures() { return pictures_; }

  // Sizes the host, cuts it to the outline and places, styles and fills every object as
  // `layout` says; the mode button is shown only for a skin with both modes.
  void apply(const SkinLayout& layout, bool doubleMode);

  void setField(DisplayField field, const QString& text);
  QString field(DisplayField field) const;
  // The indicator picture of a state code; false (and nothing changes) for an unknown code.
  bool showState(std::string_view code);
  void showButton(SkinButton button, ButtonLook look);

  QLabel* button(SkinButton button) const {
    return button == SkinButton::Hide ? i_hide_ : i_switch_;
  }
  // Whether `object` is one of the two buttons, and which.
  bool isButton(const QObject* object, SkinButton* which) const;

 private:
  QLabel* label(const char* name);
  void setPicture(QLabel* target, SkinBitmap picture);

  QWidget& host_;
  QObject* eventFilter_;
  QtSkinPictures pictures_;
  // Children, bottom to top.
  QLabel* i_face_ = nullptr;
  QLabel* i_ind_ = nullptr;
  std::array<QLabel*, 5> shadows_{};  // s_time, s_money, s_cur, s_entry, s_tariff
  std::array<QLabel*, 5> texts_{};    // s_time_s, s_money_s, s_cur_s, s_entry_s, s_tariff_s
  QLabel* i_hide_ = nullptr;
  QLabel* i_switch_ = nullptr;
};

}  // namespace tarvik
