#include "settings/qt/pages/tab_skin.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QTimer>
#include <QVBoxLayout>

#include "config/keys.h"
#include "platform/qt/message_box.h"
#include "settings/qt/file_kinds.h"
#include "settings/qt/link_label.h"
#include "settings/qt/page_widgets.h"
#include "status/skin_loader.h"

namespace tarvik {

namespace {

constexpr int kCountdownSeconds = 10;
constexpr int kCountdownTickMs = 1000;
constexpr int kBuiltinStandard = 0;
constexpr int kBuiltinAdvanced = 1;

// Where new skins can be downloaded.
constexpr const char* kSkinServer0 = "https://tarvik.example.org/skins/";
constexpr const char* kSkinServer1 = "https://mirror.tarvik.example.org/skins/";

QString qs(const std::string& utf8) {
  return QString::fromStdString(utf8);
}

LinkLabel* link(QWidget* parent, const std::string& name, const char* text) {
  auto* l = new LinkLabel(QString::fromUtf8(text), parent);
  l->setObjectName(QString::fromStdString(name));
  return l;
}

}  // namespace

using namespace widgets;

TabSkin::TabSkin(SettingsFrame& frame) : SettingsTab(PageId::Skin, frame, "tabSkin") {
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(2);
  grid->addWidget(buildTransparency(), 0, 0);
  grid->addWidget(buildSkin(), 1, 0);
  grid->addWidget(buildAbsolute(), 2, 0);
  grid->addWidget(buildInfo(), 0, 1, 2, 1);
  grid->addWidget(buildUpdate(), 2, 1);

  t_countdown_ = new QTimer(this);
  t_countdown_->setObjectName("t_countdown");
  t_countdown_->setInterval(kCountdownTickMs);
  connect(t_countdown_, &QTimer::timeout, this, [this] { countdownStep(); });

  bindControls();
  updateEnabling();
  showTrackValues();
}

QWidget* TabSkin::buildTransparency() {
  auto* z = group(this, "z_transpar", " п р о з р а ч н о с т ь   [ 2000 : XP ]");
  o_transpar_ = check(z, "o_transpar", "ПРОЗРАЧНОСТЬ  ОКНА:");
  x_transpar_ = trackBar(z, "x_transpar");
  s_transpar_ = label(z, "s_transpar", "");
  o_fade_ = check(z, "o_fade", "ИСЧЕЗНОВЕНИЕ  ОКНА:");
  x_fade_ = trackBar(z, "x_fade");
  s_fade_ = label(z, "s_fade", "");
  auto* grid = new QGridLayout(z);
  grid->addWidget(o_transpar_, 0, 0);
  grid->addWidget(x_transpar_, 0, 1);
  grid->addWidget(s_transpar_, 0, 2);
  grid->addWidget(o_fade_, 1, 0);
  grid->addWidget(x_fade_, 1, 1);
  grid->addWidget(s_fade_, 1, 2);
  connect(o_transpar_, &QCheckBox::toggled, this, [this] {
    updateEnabling();
    previewTransparency();
  });
  connect(x_transpar_, &QSlider::valueChanged, this, [this] {
    showTrackValues();
    if (o_transpar_->isChecked()) previewTransparency();
  });
  connect(o_fade_, &QCheckBox::toggled, this, [this] { updateEnabling(); });
  connect(x_fade_, &QSlider::valueChanged, this, [this] { showTrackValues(); });
  return z;
}

TabSkin::InfoColumn TabSkin::buildInfoColumn(QWidget* parent, const char* prefix) {
  const std::string p(prefix);
  InfoColumn c;
  c.name = label(parent, (p + "_name").c_str(), "[название]");
  c.version = label(parent, (p + "_ver").c_str(), "[версия]");
  c.author = label(parent, (p + "_author").c_str(), "[автор]");
  c.email = link(parent, p + "_email", "[email]");
  c.web = link(parent, p + "_web", "[web]");
  connect(c.email, &LinkLabel::clicked, this, [this, email = c.email] {
    frame_.host().openExternal("mailto:" + email->text().toStdString());
  });
  connect(c.web, &LinkLabel::clicked, this,
          [this, web = c.web] { frame_.host().openExternal(web->text().toStdString()); });
  return c;
}

QWidget* TabSkin::buildInfo() {
  auto* z = group(this, "z_info", " и н ф о р м а ц и я ");
  act_ = buildInfoColumn(z, "act");
  new_ = buildInfoColumn(z, "new");
  auto* grid = new QGridLayout(z);
  grid->addWidget(label(z, "act_title", "АКТИВНАЯ"), 0, 0);
  grid->addWidget(label(z, "new_title", "ВЬIБРАННАЯ"), 0, 1);
  int row = 1;
  for (auto [active, picked] : {std::pair<QLabel*, QLabel*>{act_.name, new_.name},
                                {act_.version, new_.version},
                                {act_.author, new_.author},
                                {act_.email, new_.email},
                                {act_.web, new_.web}}) {
    grid->addWidget(active, row, 0);
    grid->addWidget(picked, row, 1);
    ++row;
  }
  grid->setRowStretch(row, 1);
  return z;
}

QWidget* TabSkin::buildSkin() {
  auto* z = group(this, "z_skin", " в ы б о р    т е м ы    и н т е р ф е й с а ");
  o_int_def_ = radio(z, "o_int_def", "ВСТРОЕННАЯ  ТЕМА:   СТАНДАРТНАЯ");
  o_int_adv_ = radio(z, "o_int_adv", "ВСТРОЕННАЯ  ТЕМА:   РАСШИРЕННАЯ");
  o_ext_ = radio(z, "o_ext", "ВНЕШНЯЯ  ТЕМА:   ПОЛЬЗОВАТЕЛЬСКАЯ");
  b_load_ = button(z, "b_load", "ЗАГРУЗИТЬ  ВНЕШНЮЮ  ТЕМУ");
  auto* column = new QVBoxLayout(z);
  column->addWidget(o_int_def_);
  column->addWidget(o_int_adv_);
  column->addWidget(o_ext_);
  column->addWidget(b_load_);
  // Clicks only: a load sets the radios without running the choice.
  connect(o_int_def_, &QRadioButton::clicked, this, [this] { builtinChosen(kBuiltinStandard); });
  connect(o_int_adv_, &QRadioButton::clicked, this, [this] { builtinChosen(kBuiltinAdvanced); });
  connect(o_ext_, &QRadioButton::clicked, this, [this] { externalChosen(); });
  connect(b_load_, &QPushButton::clicked, this, [this] { loadExternal(); });
  return z;
}

QWidget* TabSkin::buildUpdate() {
  auto* z = group(this, "z_update", "");
  auto* server0 = button(z, "b_download_z", "СКАЧАТЬ  НОВЬIЕ  ТЕМЬI   (сервер 0)");
  auto* server1 = button(z, "b_download_a", "СКАЧАТЬ  НОВЬIЕ  ТЕМЬI   (сервер 1)");
  auto* column = new QVBoxLayout(z);
  column->addWidget(server0);
  column->addWidget(server1);
  connect(server0, &QPushButton::clicked, this,
          [this] { frame_.host().openExternal(kSkinServer0); });
  connect(server1, &QPushButton::clicked, this,
          [this] { frame_.host().openExternal(kSkinServer1); });
  return z;
}

QWidget* TabSkin::buildAbsolute() {
  auto* z = group(this, "z_absolute", " э к с п е р и м е н т а л ь н а я    о п ц и я ");
  auto* column = new QVBoxLayout(z);
  column->addWidget(check(z, "o_absolute", "АБСОЛЮТНЬIЙ ПРИОРИТЕТ ВИДИМОСТИ"));
  return z;
}

void TabSkin::showInfo(const InfoColumn& column, const SkinPanelTexts& texts) {
  column.name->setText(qs(texts.name));
  column.version->setText(qs(texts.version));
  column.author->setText(qs(texts.author));
  column.email->setText(qs(texts.mail));
  column.web->setText(qs(texts.web));
  // A blank or a stub is no address to open.
  for (LinkLabel* l : {column.email, column.web})
    l->setEnabled(static_cast<std::size_t>(l->text().size()) > kSkinLinkMinLength);
}

void TabSkin::updateEnabling() {
  x_transpar_->setEnabled(o_transpar_->isChecked());
  s_transpar_->setEnabled(o_transpar_->isChecked());
  x_fade_->setEnabled(o_fade_->isChecked());
  s_fade_->setEnabled(o_fade_->isChecked());
}

void TabSkin::showTrackValues() {
  s_transpar_->setText(qs(transparencyText(x_transpar_->value())));
  s_fade_->setText(qs(fadeSpeedWord(x_fade_->value())));
}

void TabSkin::previewTransparency() {
  if (frame_.loading()) return;
  frame_.host().previewTransparency(o_transpar_->isChecked() ? x_transpar_->value() : 0);
}

void TabSkin::builtinChosen(int builtin) {
  builtin_ = builtin;
  frame_.setSkinChanged();
  stopCountdown();
  showInfo(new_, builtinSkinPanel(builtin == kBuiltinAdvanced));
  frame_.setOkEnabled(true);
  frame_.setDirty(true);
}

void TabSkin::selectRememberedBuiltin() {
  (builtin_ == kBuiltinAdvanced ? o_int_adv_ : o_int_def_)->setChecked(true);
  builtinChosen(builtin_);
}

void TabSkin::externalChosen() {
  if (frame_.loading()) return;
  // ОК and ПРИМЕНИТЬ wait until a file is picked or the time is up.
  if (!t_countdown_->isActive()) applyWasEnabled_ = frame_.dirty();
  frame_.setOkEnabled(false);
  frame_.setDirty(false);
  secondsLeft_ = kCountdownSeconds;
  showCountdown();
  t_countdown_->start();
  b_load_->setFocus();
}

void TabSkin::showCountdown() {
  new_.name->setText(QString::fromUtf8("ДЛЯ  ВЬIБОРА  ВНЕШНЕЙ  ТЕМЬI"));
  new_.version->setText(QString::fromUtf8("НАЖМИТЕ  НА  КНОПКУ  ЗАГРУЗКИ"));
  new_.author->setText(QString::fromUtf8("В  ТЕЧЕНИЕ  ") + QString::number(secondsLeft_) +
                       QString::fromUtf8("  СЕКУНД"));
  for (LinkLabel* l : {new_.email, new_.web}) {
    l->clear();
    l->setEnabled(false);
  }
}

void TabSkin::countdownStep() {
  if (!t_countdown_->isActive()) return;
  // The dialog was closed meanwhile: nothing is left to choose for, and the next show loads
  // the choice afresh.
  if (!window()->isVisible()) {
    stopCountdown();
    frame_.setOkEnabled(true);
    return;
  }
  if (--secondsLeft_ > 0) {
    showCountdown();
    return;
  }
  stopCountdown();
  frame_.setOkEnabled(true);
  frame_.setDirty(applyWasEnabled_);
  selectRememberedBuiltin();
}

void TabSkin::stopCountdown() {
  t_countdown_->stop();
}

void TabSkin::loadExternal() {
  o_ext_->setChecked(true);
  if (t_countdown_->isActive()) {
    stopCountdown();
    frame_.setOkEnabled(true);
    frame_.setDirty(applyWasEnabled_);
  }
  const QString file =
      pickFile(this, FileKind::Skin, QString::fromStdString(frame_.files().dir.string()));
  if (file.isEmpty()) {
    externalChosen();
    return;
  }
  const std::filesystem::path path = file.toStdString();
  const FileSkinKeys keys{IniFile(path)};
  frame_.setSkinChanged();
  const bool accepted = acceptPickedSkin(keys, frame_.log(), [](std::string_view text) {
    message_box::inform(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  });
  if (!accepted) {
    selectRememberedBuiltin();
    return;
  }
  externalName_ = externalSkinName(path);
  const SkinPanelTexts texts = externalSkinPanel(keys);
  showInfo(new_, texts);
  if (!texts.comment.empty()) message_box::inform(qs(texts.comment));
  frame_.setDirty(true);
}

void TabSkin::loadedEntry(const SettingsValues&) {
  updateEnabling();
  showTrackValues();
}

void TabSkin::loadedGlobal(const SettingsValues& values) {
  loadedEntry(values);
  // A countdown left running by an earlier show ends with the new load.
  if (t_countdown_->isActive()) {
    stopCountdown();
    frame_.setOkEnabled(true);
  }
  const std::string name = values.text(skin_keys::kSkinName);
  SkinPanelTexts active;
  if (values.number(skin_keys::kSkinExternal) != 0) {
    externalName_ = name;
    o_ext_->setChecked(true);
    active = externalSkinPanel(FileSkinKeys{IniFile(std::filesystem::path(name + "skin.qsf"))});
    active.comment.clear();
  } else {
    externalName_.clear();
    builtin_ = name == skin_keys::kAdvancedSkinName ? kBuiltinAdvanced : kBuiltinStandard;
    (builtin_ == kBuiltinAdvanced ? o_int_adv_ : o_int_def_)->setChecked(true);
    active = builtinSkinPanel(builtin_ == kBuiltinAdvanced);
  }
  showInfo(act_, active);
  showInfo(new_, active);
}

void TabSkin::saving(SettingsValues& values) const {
  // The external choice is stored only with a skin to go with it.
  const bool external = o_ext_->isChecked() && !externalName_.empty();
  values.set(skin_keys::kSkinExternal, external ? 1 : 0);
  values.set(skin_keys::kSkinName,
             external ? externalName_
                      : std::string(builtin_ == kBuiltinAdvanced ? skin_keys::kAdvancedSkinName
                                                                 : skin_keys::kStandardSkinName));
}

}  // namespace tarvik
