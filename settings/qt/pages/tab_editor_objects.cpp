// The skin editor's objects: pictures, boxes, text looks, control points and the author group.
#include <QFileInfo>
#include <QStackedWidget>

#include "config/codepage.h"
#include "platform/qt/color_dialog.h"
#include "platform/qt/font_dialog.h"
#include "platform/qt/message_box.h"
#include "settings/qt/file_kinds.h"
#include "settings/qt/page_widgets.h"
#include "settings/qt/pages/tab_editor.h"
#include "settings/qt/skin_preview.h"
#include "status/skin_format.h"

namespace tarvik {
namespace {

QString qs(const char* utf8) {
  return QString::fromUtf8(utf8);
}

const char* const kFileLoaded = "[   OK   ]";
const char* const kFileNotLoaded = "[   ФАЙЛ  НЕ  ЗАГРУЖЕН   ]";
const char* const kPointsQuestion =
    "Расположить контрольные точки формы по периметру загружаемого изображения?";
const char* const kPictureRefused =
    "Ошибка загрузки изображения. Неправильный или неподдерживаемый формат файла.";
const char* const kPathRefused =
    "Путь к файлу содержит символы, которые невозможно сохранить в файле темы:\n%1\n"
    "Переименуйте файл или каталог (только латиница, кириллица, цифры и знаки) и укажите его "
    "снова.";
const char* const kShowAuthor = "АВТОРСКАЯ  ИНФОРМАЦИЯ";
const char* const kHideAuthor = "ПАРАМЕТРЬI  ТЕМЬI  ИНТЕРФЕЙСА";

QColor qColor(SkinColor c) {
  return QColor(c.red(), c.green(), c.blue());
}

SkinColor skinColor(const QColor& c) {
  return SkinColor{static_cast<std::uint32_t>(c.red()) +
                   256u * static_cast<std::uint32_t>(c.green()) +
                   65536u * static_cast<std::uint32_t>(c.blue())};
}

void paintPanel(QPushButton* panel, SkinColor c) {
  panel->setStyleSheet(QStringLiteral("background-color: %1").arg(qColor(c).name()));
}

// The state a picture shows in the preview: the buttons' looks and the indicator's codes.
ButtonLook lookOf(SkinBitmap b, SkinBitmap normal) {
  return static_cast<ButtonLook>(static_cast<int>(b) - static_cast<int>(normal));
}

const char* stateCode(SkinBitmap b) {
  switch (b) {
    case SkinBitmap::IndDi:
      return "di";
    case SkinBitmap::IndAu:
      return "au";
    case SkinBitmap::IndOn:
      return "on";
    case SkinBitmap::IndXx:
      return "xx";
    default:
      return "of";
  }
}

}  // namespace

SkinMode TabEditor::currentMode() const {
  return o_extended_->isChecked() ? SkinMode::Full : SkinMode::Compact;
}

const TabEditor::EditorObject& TabEditor::currentObject() const {
  return kObjects[std::clamp(o_objects_->currentIndex(), 0, 16)];
}

void TabEditor::selectObject() {
  Busy busy(busy_);
  const EditorObject& o = currentObject();
  const bool window = o.image && o.slot == static_cast<int>(SkinImageId::Face);
  if (o.image) {
    const SkinImage& img = layout_.images[static_cast<std::size_t>(o.slot)];
    e_a_->setValue(img.w);
    e_b_->setValue(img.h);
    e_x_->setValue(window ? 0 : img.x);
    e_y_->setValue(window ? 0 : img.y);
    o_stretch_->setChecked(img.stretch);
    p_file_->setText(
        qs(loaded_[static_cast<std::size_t>(o.bitmap)] ? kFileLoaded : kFileNotLoaded));
  } else {
    const SkinText& t = layout_.texts[static_cast<std::size_t>(o.slot)];
    e_a_->setValue(t.w);
    e_b_->setValue(t.h);
    e_x_->setValue(t.x);
    e_y_->setValue(t.y);
    o_align_->setCurrentIndex(static_cast<int>(t.align));
    paintPanel(p_color_, t.color);
    p_font_->setText(QString::fromStdString(t.font));
  }
  const bool open = projectOpen() || o_objects_->isEnabled();
  e_x_->setEnabled(open && !window);
  e_y_->setEnabled(open && !window);
  for (QWidget* w : {static_cast<QWidget*>(b_file_), static_cast<QWidget*>(o_stretch_)})
    w->setEnabled(open && o.image);
  for (QWidget* w : {static_cast<QWidget*>(o_align_), static_cast<QWidget*>(p_color_),
                     static_cast<QWidget*>(b_font_)})
    w->setEnabled(open && !o.image);
  paintPanel(o_shadow_color_, layout_.shadowColor);
  refreshPreview();
}

void TabEditor::pickBitmap() {
  const EditorObject& o = currentObject();
  if (!o.image) return;
  const QString chosen =
      pickFile(this, FileKind::Picture, QString::fromStdString(frame_.files().dir.string()));
  if (chosen.isEmpty()) return;
  const QString path = QFileInfo(chosen).absoluteFilePath();
  // The working file is code page 1251: a path it cannot hold would come back as '?'.
  if (!fitsCp1251(path.toStdString())) {
    frame_.log().append(" Failed loading image for skin. File path is not supported.", true);
    message_box::inform(qs(kPathRefused).arg(path));
    return;
  }
  const auto slot = static_cast<std::size_t>(o.bitmap);
  const char* name = kSkinBitmapNames[slot];
  QtSkinPictures& pictures = preview_->view().pictures();
  loaded_[slot] = pictures.loadFile(o.bitmap, path.toStdString());
  if (!loaded_[slot]) {
    p_file_->setText(qs(kFileNotLoaded));
    frame_.log().append(
        " Failed loading image for skin. File format is not valid or not supported.", true);
    message_box::inform(qs(kPictureRefused));
  } else {
    if (o.bitmap == SkinBitmap::Face) {
      const QSize size = pictures.picture(SkinBitmap::Face).size();
      SkinImage& face = layout_.images[static_cast<std::size_t>(SkinImageId::Face)];
      face.w = size.width();
      face.h = size.height();
      if (message_box::askYesNo(qs(kPointsQuestion), false) == QMessageBox::Yes) {
        const auto points = borderPoints(size.width(), size.height());
        layout_.points.assign(points.begin(), points.end());
        write([&] { draft_.writePoints(layout_); });
        pointChosen();
      }
    }
    const SkinMode mode = currentMode();
    const SkinMode other = mode == SkinMode::Full ? SkinMode::Compact : SkinMode::Full;
    write([&] {
      draft_.writeImagePath(name, mode, path.toStdString(), false);
      // One picture set for both modes: the other mode has this picture too.
      if (o_same_->isChecked()) draft_.writeImagePath(name, other, path.toStdString(), true);
    });
  }
  fitImages();
  selectObject();
  writeImages();
}

void TabEditor::geometryChanged() {
  if (busy_) return;
  const EditorObject& o = currentObject();
  if (o.image) {
    SkinImage& img = layout_.images[static_cast<std::size_t>(o.slot)];
    const bool window = o.slot == static_cast<int>(SkinImageId::Face);
    img = {window ? 0 : e_x_->value(), window ? 0 : e_y_->value(), e_b_->value(), e_a_->value(),
           img.stretch};
    fitImages();
    writeImages();
    selectObject();
  } else {
    SkinText& t = layout_.texts[static_cast<std::size_t>(o.slot)];
    t.x = e_x_->value();
    t.y = e_y_->value();
    t.w = e_a_->value();
    t.h = e_b_->value();
    writeTexts();
    refreshPreview();
  }
}

void TabEditor::stretchChanged() {
  if (busy_ || !currentObject().image) return;
  layout_.images[static_cast<std::size_t>(currentObject().slot)].stretch = o_stretch_->isChecked();
  fitImages();
  writeImages();
  selectObject();
}

void TabEditor::fitImages() {
  const QtSkinPictures& pictures = preview_->view().pictures();
  const std::pair<SkinImageId, SkinBitmap> sized[] = {{SkinImageId::Indicator, SkinBitmap::IndOf},
                                                      {SkinImageId::Hide, SkinBitmap::HideOf},
                                                      {SkinImageId::Switch, SkinBitmap::SwitchOf}};
  const EditorObject& o = currentObject();
  for (const auto& [id, normal] : sized) {
    SkinImage& img = layout_.images[static_cast<std::size_t>(id)];
    const SkinBitmap shown = o.image && o.slot == static_cast<int>(id) ? o.bitmap : normal;
    const QSize size = pictures.picture(shown).size();
    if (img.stretch || size.isEmpty()) continue;
    img.w = size.width();
    img.h = size.height();
  }
}

void TabEditor::pickFont() {
  const EditorObject& o = currentObject();
  if (o.image) return;
  SkinText& t = layout_.texts[static_cast<std::size_t>(o.slot)];
  const QFont initial(QString::fromStdString(t.font), t.pointSize,
                      t.bold ? QFont::Bold : QFont::Normal);
  const std::optional<QFont> font =
      font_dialog::pickFont(this, initial, kDraftFontSizeMin, kDraftFontSizeMax);
  if (!font) return;
  t.font = QString(font->family()).left(static_cast<qsizetype>(kMaxSkinFontName)).toStdString();
  if (font->pointSize() > 0) t.pointSize = font->pointSize();
  t.bold = font->bold();
  p_font_->setText(QString::fromStdString(t.font));
  writeTexts();
  refreshPreview();
}

void TabEditor::pickColor() {
  const EditorObject& o = currentObject();
  if (o.image) return;
  SkinText& t = layout_.texts[static_cast<std::size_t>(o.slot)];
  const QColor color = color_dialog::pickColor(this, qColor(t.color));
  if (!color.isValid()) return;
  t.color = skinColor(color);
  paintPanel(p_color_, t.color);
  writeTexts();
  refreshPreview();
}

void TabEditor::alignChanged() {
  if (busy_ || currentObject().image) return;
  layout_.texts[static_cast<std::size_t>(currentObject().slot)].align =
      static_cast<TextAlign>(std::max(0, o_align_->currentIndex()));
  writeTexts();
  refreshPreview();
}

void TabEditor::shadowChanged() {
  if (busy_) return;
  layout_.shadowUse = o_shadow_->isChecked();
  writeTexts();
  refreshPreview();
}

void TabEditor::pickShadowColor() {
  const QColor color = color_dialog::pickColor(this, qColor(layout_.shadowColor));
  if (!color.isValid()) return;
  layout_.shadowColor = skinColor(color);
  paintPanel(o_shadow_color_, layout_.shadowColor);
  writeTexts();
  refreshPreview();
}

void TabEditor::pointChosen() {
  Busy busy(busy_);
  const auto i = static_cast<std::size_t>(std::max(0, o_points_->currentIndex()));
  const SkinPoint p = i < layout_.points.size() ? layout_.points[i] : SkinPoint{};
  o_pts_x_->setValue(p.x);
  o_pts_y_->setValue(p.y);
}

void TabEditor::pointMoved() {
  if (busy_) return;
  const int n = o_points_->currentIndex() + 1;
  if (n < 1 || static_cast<std::size_t>(n) > layout_.points.size()) return;
  const SkinPoint p{o_pts_x_->value(), o_pts_y_->value()};
  layout_.points[static_cast<std::size_t>(n - 1)] = p;
  write([&] { draft_.writePoint(currentMode(), n, p); });
  refreshPreview();
}

void TabEditor::markerPressed(int number) {
  o_points_->setCurrentIndex(number - 1);
}

void TabEditor::markerDropped(int number, QPoint point) {
  if (static_cast<std::size_t>(number) > layout_.points.size()) return;
  // The marker's last place is the point: shown in the spin boxes and written at once.
  const SkinPoint p{point.x(), point.y()};
  layout_.points[static_cast<std::size_t>(number - 1)] = p;
  o_points_->setCurrentIndex(number - 1);
  pointChosen();
  write([&] { draft_.writePoint(currentMode(), number, p); });
  refreshPreview();
}

void TabEditor::toggleAuthor() {
  b_info_->setEnabled(false);
  const bool show = sides_->currentWidget() != z_author_;
  sides_->setCurrentWidget(show ? static_cast<QWidget*>(z_author_) : sides_->widget(0));
  for (QWidget* w : {static_cast<QWidget*>(s_34_), static_cast<QWidget*>(o_pts_y_),
                     static_cast<QWidget*>(o_same_)})
    w->setVisible(!show);
  b_info_->setText(qs(show ? kHideAuthor : kShowAuthor));
  b_info_->setEnabled(true);
}

void TabEditor::showAuthor(const SkinAuthorInfo& info) {
  Busy busy(busy_);
  e_author_->setText(QString::fromStdString(info.author));
  e_name_->setText(QString::fromStdString(info.name));
  e_version_->setText(QString::fromStdString(info.version));
  e_mail_->setText(QString::fromStdString(info.mail));
  e_web_->setText(QString::fromStdString(info.web));
  o_comment_->setChecked(info.commentUse);
  e_comment_->setText(QString::fromStdString(info.commentMsg));
  e_comment_->setEnabled(info.commentUse);
}

void TabEditor::authorChanged() {
  if (busy_ || !projectOpen()) return;
  SkinAuthorInfo info;
  info.author = e_author_->text().toStdString();
  info.name = e_name_->text().toStdString();
  info.version = e_version_->text().toStdString();
  info.mail = e_mail_->text().toStdString();
  info.web = e_web_->text().toStdString();
  info.commentUse = o_comment_->isChecked();
  info.commentMsg = e_comment_->text().toStdString();
  write([&] { draft_.writeAuthorInfo(info); });
}

void TabEditor::refreshPreview() {
  const EditorObject& o = currentObject();
  SkinView& view = preview_->view();
  const bool switchShown =
      o_extended_use_->isChecked() || (o.image && o.slot == static_cast<int>(SkinImageId::Switch));
  view.showState("of");
  preview_->showLayout(layout_, switchShown);
  if (!o.image) return;
  if (o.slot == static_cast<int>(SkinImageId::Hide))
    view.showButton(SkinButton::Hide, lookOf(o.bitmap, SkinBitmap::HideOf));
  else if (o.slot == static_cast<int>(SkinImageId::Switch))
    view.showButton(SkinButton::Switch, lookOf(o.bitmap, SkinBitmap::SwitchOf));
  else if (o.slot == static_cast<int>(SkinImageId::Indicator))
    view.showState(stateCode(o.bitmap));
}

void TabEditor::writeImages() {
  if (!projectOpen() && !o_objects_->isEnabled()) return;
  write([&] { draft_.writeImages(layout_, loaded_); });
}

void TabEditor::writeTexts() {
  write([&] { draft_.writeTexts(layout_); });
}

}  // namespace tarvik
