#include "status/qt/skin_view.h"

#include "status/qt/skin_fonts.h"

#include <QPalette>
#include <QPolygon>
#include <QRegion>
#include <QWidget>
#include <algorithm>

namespace tarvik {
namespace {

QColor qColor(SkinColor c) {
  return QColor(c.red(), c.green(), c.blue());
}

Qt::Alignment alignment(TextAlign a) {
  switch (a) {
    case TextAlign::Right:
      return Qt::AlignRight | Qt::AlignTop;
    case TextAlign::Center:
      return Qt::AlignHCenter | Qt::AlignTop;
    default:
      return Qt::AlignLeft | Qt::AlignTop;
  }
}

constexpr const char* kTextNames[5] = {"s_time_s", "s_money_s", "s_cur_s", "s_entry_s",
                                       "s_tariff_s"};
constexpr const char* kShadowNames[5] = {"s_time", "s_money", "s_cur", "s_entry", "s_tariff"};

bool indicatorFor(std::string_view code, SkinBitmap* picture) {
  if (code == "di")
    *picture = SkinBitmap::IndDi;
  else if (code == "of")
    *picture = SkinBitmap::IndOf;
  else if (code == "au")
    *picture = SkinBitmap::IndAu;
  else if (code == "on")
    *picture = SkinBitmap::IndOn;
  else if (code == "xx")
    *picture = SkinBitmap::IndXx;
  else
    return false;
  return true;
}

SkinBitmap buttonPicture(SkinButton button, ButtonLook look) {
  const int base =
      static_cast<int>(button == SkinButton::Hide ? SkinBitmap::HideOf : SkinBitmap::SwitchOf);
  return static_cast<SkinBitmap>(base + static_cast<int>(look));
}

}  // namespace

SkinView::SkinView(QWidget& host, QObject* eventFilter) : host_(host), eventFilter_(eventFilter) {
  i_face_ = label("i_face");
  i_face_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  i_ind_ = label("i_ind");
  // Shadow copies lie below the texts, in the order tariff, entry, currency, money, time.
  for (int i = 4; i >= 0; --i) shadows_[static_cast<std::size_t>(i)] = label(kShadowNames[i]);
  for (int i = 0; i < 5; ++i) texts_[static_cast<std::size_t>(i)] = label(kTextNames[i]);
  i_hide_ = label("i_hide");
  i_switch_ = label("i_switch");
  for (QLabel* l : texts_) l->setTextFormat(Qt::PlainText);
  for (QLabel* l : shadows_) l->setTextFormat(Qt::PlainText);
}

QLabel* SkinView::label(const char* name) {
  auto* l = new QLabel(&host_);
  l->setObjectName(name);
  l->setAttribute(Qt::WA_TranslucentBackground);
  // The host paints the button-face colour; the texts must not take its text colour.
  l->setForegroundRole(QPalette::WindowText);
  l->setWordWrap(false);
  if (eventFilter_) l->installEventFilter(eventFilter_);
  l->setMouseTracking(true);
  return l;
}

void SkinView::apply(const SkinLayout& layout, bool doubleMode) {
  const bool full = layout.mode == SkinMode::Full;
  showButton(SkinButton::Hide, ButtonLook::Normal);
  showButton(SkinButton::Switch, ButtonLook::Normal);

  // A window of no size cannot be put on screen.
  host_.setFixedSize(std::max(1, layout.width), std::max(1, layout.height));
  if (!layout.pointsOutOfRange) {
    QPolygon polygon;
    for (const SkinPoint& p : layout.points) polygon << QPoint(p.x, p.y);
    host_.setMask(QRegion(polygon, Qt::WindingFill));
  }

  const std::size_t entry = static_cast<std::size_t>(DisplayField::Entry);
  const std::size_t tariff = static_cast<std::size_t>(DisplayField::Tariff);
  for (std::size_t i = 0; i < 5; ++i) {
    const SkinText& t = layout.texts[i];
    const SkinTextStyle style = skinTextStyle(t);
    for (QLabel* l : {texts_[i], shadows_[i]}) {
      l->setFont(style.font);
      l->setContentsMargins(0, style.topMargin, 0, 0);
      l->setAlignment(alignment(t.align));
      l->resize(t.w, t.h);
    }
    texts_[i]->move(t.x, t.y);
    shadows_[i]->move(t.x + 1, t.y + 1);
    QPalette textPalette = texts_[i]->palette();
    textPalette.setColor(QPalette::WindowText, qColor(t.color));
    texts_[i]->setPalette(textPalette);
    QPalette shadowPalette = shadows_[i]->palette();
    shadowPalette.setColor(QPalette::WindowText, qColor(layout.shadowColor));
    shadows_[i]->setPalette(shadowPalette);
    // Entry and tariff belong to the full mode only, their shadow copies included.
    const bool shown = i == entry || i == tariff ? full : true;
    texts_[i]->setVisible(shown);
    shadows_[i]->setVisible(layout.shadowUse && shown);
  }

  const SkinImage& face = layout.image(SkinImageId::Face);
  i_face_->setPixmap(pictures_.picture(SkinBitmap::Face));
  i_face_->setScaledContents(face.stretch);
  i_face_->setGeometry(face.x, face.y, face.w, face.h);
  const std::pair<QLabel*, SkinImageId> sized[] = {{i_ind_, SkinImageId::Indicator},
                                                   {i_hide_, SkinImageId::Hide},
                                                   {i_switch_, SkinImageId::Switch}};
  for (const auto& [l, id] : sized) {
    const SkinImage& img = layout.image(id);
    l->setScaledContents(img.stretch);
    l->move(img.x, img.y);
    // Without stretching an object takes its picture's own size.
    if (img.stretch)
      l->resize(img.w, img.h);
    else if (l->pixmap().size().isValid())
      l->resize(l->pixmap().size());
  }
  i_switch_->setVisible(doubleMode);
}

void SkinView::setField(DisplayField field, const QString& text) {
  const auto i = static_cast<std::size_t>(field);
  texts_[i]->setText(text);
  shadows_[i]->setText(text);
}

QString SkinView::field(DisplayField field) const {
  return texts_[static_cast<std::size_t>(field)]->text();
}

bool SkinView::showState(std::string_view code) {
  SkinBitmap picture{};
  if (!indicatorFor(code, &picture)) return false;
  setPicture(i_ind_, picture);
  return true;
}

void SkinView::showButton(SkinButton button, ButtonLook look) {
  setPicture(this->button(button), buttonPicture(button, look));
}

void SkinView::setPicture(QLabel* target, SkinBitmap picture) {
  target->setPixmap(pictures_.picture(picture));
  if (!target->hasScaledContents() && !target->pixmap().isNull())
    target->resize(target->pixmap().size());
}

bool SkinView::isButton(const QObject* object, SkinButton* which) const {
  if (object == i_hide_)
    *which = SkinButton::Hide;
  else if (object == i_switch_)
    *which = SkinButton::Switch;
  else
    return false;
  return true;
}

}  // namespace tarvik
