#include "settings/qt/pages/tab_editor.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "settings/qt/page_widgets.h"
#include "settings/qt/skin_preview.h"

namespace tarvik {

using namespace widgets;

const TabEditor::EditorObject TabEditor::kObjects[17] = {
    {"ОКНО   [текстура / фон]", true, 0, SkinBitmap::Face},
    {"КНОПКА  «СКРЬIТЬ»   [обычная]", true, 2, SkinBitmap::HideOf},
    {"КНОПКА  «СКРЬIТЬ»   [активная]", true, 2, SkinBitmap::HideOn},
    {"КНОПКА  «СКРЬIТЬ»   [нажатая]", true, 2, SkinBitmap::HideDn},
    {"КНОПКА  СМЕНЬI  РЕЖИМА   [обычная]", true, 3, SkinBitmap::SwitchOf},
    {"КНОПКА  СМЕНЬI  РЕЖИМА   [активная]", true, 3, SkinBitmap::SwitchOn},
    {"КНОПКА  СМЕНЬI  РЕЖИМА   [нажатая]", true, 3, SkinBitmap::SwitchDn},
    {"ИНДИКАТОР  СОСТОЯНИЯ   [отключено]", true, 1, SkinBitmap::IndDi},
    {"ИНДИКАТОР  СОСТОЯНИЯ   [offline]", true, 1, SkinBitmap::IndOf},
    {"ИНДИКАТОР  СОСТОЯНИЯ   [online]", true, 1, SkinBitmap::IndOn},
    {"ИНДИКАТОР  СОСТОЯНИЯ   [опознание]", true, 1, SkinBitmap::IndAu},
    {"ИНДИКАТОР  СОСТОЯНИЯ   [информация]", true, 1, SkinBitmap::IndXx},
    {"ИНДИКАТОР  ВРЕМЕНИ", false, 0, SkinBitmap::Face},
    {"ИНДИКАТОР  ФИНАНСОВ", false, 1, SkinBitmap::Face},
    {"ИНДИКАТОР  ВАЛЮТЬI", false, 2, SkinBitmap::Face},
    {"ИНДИКАТОР  ТАРИФА ***", false, 4, SkinBitmap::Face},
    {"ИНДИКАТОР  УЧЕТНОЙ  ЗАПИСИ ***", false, 3, SkinBitmap::Face},
};

namespace {

QSpinBox* rangedSpin(QWidget* parent, const char* name, int min, int max) {
  QSpinBox* s = spin(parent, name);
  s->setRange(min, max);
  return s;
}

}  // namespace

TabEditor::TabEditor(SettingsFrame& frame)
    : SettingsTab(PageId::Editor, frame, "tabEditor"), draft_(frame.files().skinDraft()) {
  auto* z_view = group(this, "z_view", " в н е ш н и й    в и д ");
  preview_ = new SkinPreview(z_view);
  // Room for the usual status window sizes; a marker further out is reached by its spins.
  preview_->setFixedSize(150, 150);
  z_view->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
  auto* viewLayout = new QVBoxLayout(z_view);
  viewLayout->addWidget(preview_);

  sides_ = new QStackedWidget(this);
  sides_->setObjectName("p_sides");
  auto* objectSide = new QWidget(sides_);
  auto* objectColumn = new QVBoxLayout(objectSide);
  objectColumn->setContentsMargins(0, 0, 0, 0);
  objectColumn->addWidget(buildObject());
  objectColumn->addWidget(buildLook());
  objectColumn->addWidget(buildPoints());
  objectColumn->addStretch();
  sides_->addWidget(objectSide);
  sides_->addWidget(buildAuthor());

  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(z_view);
  row->addWidget(buildProject(), 1);
  row->addWidget(sides_);
  connectControls();
  setProjectControls(false);
}

QWidget* TabEditor::buildProject() {
  auto* panel = new QWidget(this);
  auto* column = new QVBoxLayout(panel);
  column->setContentsMargins(0, 0, 0, 0);
  b_skin_new_ = button(panel, "b_skin_new", "СОЗДАТЬ  ТЕМУ");
  b_skin_load_ = button(panel, "b_skin_load", "ОТКРЬIТЬ  ТЕМУ");
  b_skin_save_ = button(panel, "b_skin_save", "СОХРАНИТЬ  ТЕМУ");
  column->addWidget(b_skin_new_);
  column->addWidget(b_skin_load_);
  column->addWidget(b_skin_save_);

  auto* z_modes = group(panel, "z_modes", " р е ж и м ы ");
  o_compact_ = radio(z_modes, "o_compact", "КОМПАКТНЬIЙ");
  o_extended_ = radio(z_modes, "o_extended", "РАСШИРЕННЬIЙ");
  b_new_compact_ = button(z_modes, "b_new_compact", "СОЗДАТЬ");
  b_new_extended_ = button(z_modes, "b_new_extended", "СОЗДАТЬ");
  o_extended_use_ = check(z_modes, "o_extended_use", "");
  o_same_ = check(z_modes, "o_same", "ЕДИНЬIЕ  ИЗОБРАЖЕНИЯ");
  auto* grid = new QGridLayout(z_modes);
  grid->addWidget(o_compact_, 0, 1);
  grid->addWidget(b_new_compact_, 0, 2);
  grid->addWidget(o_extended_use_, 1, 0);
  grid->addWidget(o_extended_, 1, 1);
  grid->addWidget(b_new_extended_, 1, 2);
  grid->addWidget(o_same_, 2, 0, 1, 3);
  column->addWidget(z_modes);

  auto* shadow = new QHBoxLayout;
  o_shadow_ = check(panel, "o_shadow", "ТЕНЬ y ТЕКСТОВЬIХ  ОБЪЕКТОВ");
  o_shadow_color_ = button(panel, "o_shadow_color", "...");
  o_shadow_color_->setMaximumWidth(16);
  shadow->addWidget(o_shadow_);
  shadow->addWidget(o_shadow_color_);
  column->addLayout(shadow);
  b_info_ = button(panel, "b_info", "АВТОРСКАЯ  ИНФОРМАЦИЯ");
  column->addWidget(b_info_);
  column->addStretch();
  return panel;
}

QWidget* TabEditor::buildObject() {
  auto* panel = new QWidget(this);
  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(0, 0, 0, 0);
  o_objects_ = named(new QComboBox(panel), "o_objects");
  for (const EditorObject& o : kObjects) o_objects_->addItem(QString::fromUtf8(o.caption));
  // The list opens as wide as its captions; closed, it leaves room for the other columns.
  o_objects_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  o_objects_->setMinimumContentsLength(16);
  grid->addWidget(o_objects_, 0, 0, 1, 4);
  e_a_ = rangedSpin(panel, "e_a", 0, kDraftExtentMax);
  e_b_ = rangedSpin(panel, "e_b", 0, kDraftExtentMax);
  e_x_ = rangedSpin(panel, "e_x", kDraftPlaceMin, kDraftPlaceMax);
  e_y_ = rangedSpin(panel, "e_y", kDraftPlaceMin, kDraftPlaceMax);
  grid->addWidget(label(panel, "s_a", "A ="), 1, 0);
  grid->addWidget(e_a_, 1, 1);
  grid->addWidget(label(panel, "s_b", "B ="), 1, 2);
  grid->addWidget(e_b_, 1, 3);
  grid->addWidget(label(panel, "s_x", "X ="), 2, 0);
  grid->addWidget(e_x_, 2, 1);
  grid->addWidget(label(panel, "s_y", "Y ="), 2, 2);
  grid->addWidget(e_y_, 2, 3);
  return panel;
}

QWidget* TabEditor::buildLook() {
  auto* panel = new QWidget(this);
  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(0, 0, 0, 0);
  p_file_ = label(panel, "p_file", "[   ФАЙЛ  НЕ  ЗАГРУЖЕН   ]");
  p_file_->setFrameShape(QFrame::Panel);
  p_file_->setFrameShadow(QFrame::Sunken);
  b_file_ = button(panel, "b_file", "...");
  o_stretch_ = check(panel, "o_stretch", "РАСТЯГИВАТЬ  ИЗОБРАЖЕНИЕ");
  p_font_ = label(panel, "p_font", "");
  p_font_->setFrameShape(QFrame::Panel);
  p_font_->setFrameShadow(QFrame::Sunken);
  b_font_ = button(panel, "b_font", "...");
  p_color_ = button(panel, "p_color", "...");
  o_align_ = dropDown(panel, "o_align", {"по Левому", "по Правому", "по Центру"});
  for (QPushButton* b : {b_file_, b_font_, p_color_}) b->setMaximumWidth(30);
  grid->addWidget(p_file_, 0, 0, 1, 2);
  grid->addWidget(b_file_, 0, 2);
  grid->addWidget(o_stretch_, 1, 0, 1, 3);
  grid->addWidget(p_font_, 2, 0, 1, 2);
  grid->addWidget(b_font_, 2, 2);
  grid->addWidget(o_align_, 3, 0);
  grid->addWidget(p_color_, 3, 2);
  return panel;
}

QWidget* TabEditor::buildPoints() {
  auto* panel = new QWidget(this);
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(0, 0, 0, 0);
  o_points_ = named(new QComboBox(panel), "o_points");
  for (int n = 1; n <= kDraftPoints; ++n)
    o_points_->addItem(QString::fromUtf8("точка ") + QString::number(n));
  o_pts_x_ = rangedSpin(panel, "o_pts_x", 0, kDraftExtentMax);
  o_pts_y_ = rangedSpin(panel, "o_pts_y", 0, kDraftExtentMax);
  s_34_ = label(panel, "s_34", "Y =");
  row->addWidget(o_points_);
  row->addWidget(label(panel, "s_33", "X ="));
  row->addWidget(o_pts_x_);
  row->addWidget(s_34_);
  row->addWidget(o_pts_y_);
  return panel;
}

QGroupBox* TabEditor::buildAuthor() {
  z_author_ = group(sides_, "z_author", " а в т о р с к а я    и н ф о р м а ц и я ");
  auto* grid = new QGridLayout(z_author_);
  e_author_ = edit(z_author_, "e_author");
  e_name_ = edit(z_author_, "e_name");
  e_version_ = edit(z_author_, "e_version");
  e_mail_ = edit(z_author_, "e_mail");
  e_web_ = edit(z_author_, "e_web");
  o_comment_ = check(z_author_, "o_comment", "КОММЕНТАРИЙ:");
  e_comment_ = edit(z_author_, "e_comment");
  const std::pair<const char*, QWidget*> rows[] = {{"АВТОР:", e_author_},
                                                   {"НАЗВАНИЕ:", e_name_},
                                                   {"ВЕРСИЯ:", e_version_},
                                                   {"E-MAiL:", e_mail_},
                                                   {"WEB:", e_web_}};
  int r = 0;
  for (const auto& [caption, field] : rows) {
    grid->addWidget(new QLabel(QString::fromUtf8(caption), z_author_), r, 0);
    grid->addWidget(field, r++, 1);
  }
  grid->addWidget(o_comment_, r, 0);
  grid->addWidget(e_comment_, r, 1);
  return z_author_;
}

void TabEditor::connectControls() {
  connect(b_skin_new_, &QPushButton::clicked, this, [this] { newSkin(false); });
  connect(b_skin_load_, &QPushButton::clicked, this, [this] { openSkin(); });
  connect(b_skin_save_, &QPushButton::clicked, this, [this] { saveSkin(); });
  connect(b_new_compact_, &QPushButton::clicked, this, [this] { createCompact(); });
  connect(b_new_extended_, &QPushButton::clicked, this, [this] { createFull(); });
  for (QRadioButton* r : {o_compact_, o_extended_})
    connect(r, &QRadioButton::toggled, this, [this](bool on) {
      if (on && !busy_) loadMode();
    });
  connect(o_extended_use_, &QCheckBox::toggled, this, [this](bool on) {
    o_extended_->setEnabled(on);
    // A skin without the full mode is edited in its compact mode.
    if (!on && o_extended_->isChecked()) selectMode(SkinMode::Compact);
  });
  connect(o_same_, &QCheckBox::toggled, this, [this](bool same) {
    if (busy_ || !draft_.created(SkinMode::Full)) return;
    write([&] { draft_.writeSeparated(!same); });
  });
  connect(o_objects_, &QComboBox::currentIndexChanged, this, [this] { selectObject(); });
  connect(b_file_, &QPushButton::clicked, this, [this] { pickBitmap(); });
  for (QSpinBox* s : {e_a_, e_b_, e_x_, e_y_})
    connect(s, &QSpinBox::valueChanged, this, [this] { geometryChanged(); });
  connect(o_stretch_, &QCheckBox::toggled, this, [this] { stretchChanged(); });
  connect(b_font_, &QPushButton::clicked, this, [this] { pickFont(); });
  connect(p_color_, &QPushButton::clicked, this, [this] { pickColor(); });
  connect(o_align_, &QComboBox::currentIndexChanged, this, [this] { alignChanged(); });
  connect(o_shadow_, &QCheckBox::toggled, this, [this] { shadowChanged(); });
  connect(o_shadow_color_, &QPushButton::clicked, this, [this] { pickShadowColor(); });
  connect(o_points_, &QComboBox::currentIndexChanged, this, [this] { pointChosen(); });
  for (QSpinBox* s : {o_pts_x_, o_pts_y_})
    connect(s, &QSpinBox::valueChanged, this, [this] { pointMoved(); });
  connect(preview_, &SkinPreview::markerPressed, this, [this](int n) { markerPressed(n); });
  connect(preview_, &SkinPreview::markerDropped, this,
          [this](int n, QPoint p) { markerDropped(n, p); });
  connect(b_info_, &QPushButton::clicked, this, [this] { toggleAuthor(); });
  for (QLineEdit* e : {e_author_, e_name_, e_version_, e_mail_, e_web_, e_comment_})
    connect(e, &QLineEdit::textChanged, this, [this] { authorChanged(); });
  connect(o_comment_, &QCheckBox::toggled, this, [this](bool on) {
    e_comment_->setEnabled(on);
    authorChanged();
  });
}

void TabEditor::setProjectControls(bool open) {
  if (!open) {
    for (QWidget* w : std::initializer_list<QWidget*>{b_skin_save_,
                                                      o_compact_,
                                                      o_extended_,
                                                      b_new_compact_,
                                                      b_new_extended_,
                                                      o_extended_use_,
                                                      o_objects_,
                                                      b_file_,
                                                      o_stretch_,
                                                      b_font_,
                                                      p_color_,
                                                      o_align_,
                                                      o_shadow_,
                                                      o_shadow_color_,
                                                      e_a_,
                                                      e_b_,
                                                      e_x_,
                                                      e_y_,
                                                      o_points_,
                                                      o_pts_x_,
                                                      o_pts_y_,
                                                      b_info_,
                                                      preview_})
      w->setEnabled(false);
    return;
  }
  for (QWidget* w : std::initializer_list<QWidget*>{o_shadow_, b_info_, o_points_, o_pts_x_,
                                                    o_pts_y_, preview_, b_skin_save_})
    w->setEnabled(true);
}

}  // namespace tarvik
