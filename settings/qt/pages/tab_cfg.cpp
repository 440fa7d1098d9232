#include "settings/qt/pages/tab_cfg.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPixmap>
#include <QScreen>
#include <QVBoxLayout>
#include <filesystem>
#include <string>

#include "config/keys.h"
#include "config/number_text.h"
#include "platform/qt/message_box.h"
#include "settings/autostart_choice.h"
#include "settings/qt/page_widgets.h"
#include "status/window_geometry.h"

namespace tarvik {

namespace {

constexpr int kHangUpAction = 4;
const char* const kHangUpActionQuestion =
    "Вы уверены, что хотите сопоставить\nпроцесс разрыва связи (отключения)\n"
    "для дабл-клика по окну состояния?";
// The tray icon families of the indicator types A to D.
constexpr const char* kIconFamilies[4] = {"dk", "lt", "in", "v3"};
const char* const kUserScope = "ДЛЯ  ТЕКУЩЕГО  ПОЛЬЗОВАТЕЛЯ";
const char* const kAllScope = "ДЛЯ  ВСЕХ  ПОЛЬЗОВАТЕЛЕЙ";

const char* scopeCaption(AutostartScope scope) {
  return scope == AutostartScope::AllUsers ? kAllScope : kUserScope;
}

}  // namespace

using namespace widgets;

TabCfg::TabCfg(SettingsFrame& frame) : SettingsTab(PageId::Cfg, frame, "tabCfg") {
  auto* columns = new QHBoxLayout(this);
  auto* left = new QVBoxLayout;
  auto* right = new QVBoxLayout;
  columns->addLayout(left, 1);
  columns->addLayout(right, 0);
  left->addWidget(buildBalloon());
  left->addWidget(buildAccountUse());
  left->addWidget(buildIndicator());
  left->addWidget(buildDoubleClick());
  left->addStretch();
  right->addWidget(buildPosition());
  right->addWidget(buildStart());
  auto* b_reset = button(this, "b_reset", "--->>>  RESET  <<<---");
  right->addWidget(b_reset);
  right->addStretch();
  connect(b_reset, &QPushButton::clicked, this, [this] { frame_.resetAllSettings(); });
  bindControls();
  updateEnabling();
}

QWidget* TabCfg::buildBalloon() {
  auto* z = group(this, "z_balloon", " с и с т е м н а я    п о д с к а з к а ");
  o_balloon_ = check(z, "o_balloon", "ПОКАЗЬIВАТЬ (me:2000:xp)");
  e_balloon_ = spin(z, "e_balloon");
  auto* row = new QHBoxLayout(z);
  row->addWidget(o_balloon_);
  row->addWidget(label(z, "s_balloon_on", "НА"));
  row->addWidget(e_balloon_);
  row->addWidget(label(z, "s_balloon_sec", "СЕКУНД"));
  connect(o_balloon_, &QCheckBox::toggled, this, [this] { updateEnabling(); });
  return z;
}

QWidget* TabCfg::buildDoubleClick() {
  auto* z = group(this, "z_dbl",
                  " д е й с т в и е    п р и    д а б л - к л и к е    п о    о к н у    с о с т "
                  "о я н и я ");
  o_dbl_ = dropDown(z, "o_dbl",
                    {"ПОКАЗАТЬ СТАТИСТИКУ", "СКРЬIТЬ  ОКНО СОСТОЯНИЯ", "СМЕНИТЬ  РЕЖИМ  ФИНАНСОВ",
                     "СМЕНИТЬ  РЕЖИМ  ТЕМЬI", "РАЗОРВАТЬ  СОЕДИНЕНИЕ   (ОТКЛЮЧИТЬСЯ)",
                     "ОТМЕНИТЬ  АВТОМАТИЧЕСКОЕ  РАЗЪЕДИНЕНИЕ"});
  (new QVBoxLayout(z))->addWidget(o_dbl_);
  connect(o_dbl_, &QComboBox::currentIndexChanged, this, &TabCfg::actionChosen);
  return z;
}

QWidget* TabCfg::buildAccountUse() {
  auto* z = group(this, "z_acc_use", " и с п о л ь з о в а н и е    с ч ё т а ");
  auto* o_acc_def =
      check(z, "o_acc_def", "СЧЕТ  «DEFAULT»  ДЛЯ  НЕНАСТРОЕННЬIХ  УЧЕТНЬIХ  ЗАПИСЕЙ");
  o_acc_one_ = check(z, "o_acc_one", "ЕДИНЬIЙ  СЧЕТ  ДЛЯ  ВСЕХ  УЧЕТНЬIХ  ЗАПИСЕЙ   >>>  $");
  e_acc_one_ = edit(z, "e_acc_one");
  e_acc_one_->setText("0");
  e_acc_one_->setFixedWidth(50);
  auto* column = new QVBoxLayout(z);
  column->addWidget(o_acc_def);
  column->addWidget(o_acc_one_);
  column->addWidget(e_acc_one_, 0, Qt::AlignRight);
  connect(o_acc_one_, &QCheckBox::toggled, this, [this] { updateEnabling(); });
  connect(e_acc_one_, &QLineEdit::textEdited, this, [this] { checkSingleAccount(); });
  return z;
}

QWidget* TabCfg::buildIndicator() {
  auto* z = group(this, "z_preview", " и н д и к а т о р    с о с т о я н и я ");
  auto* row = new QHBoxLayout(z);
  const char* names[4] = {"o_t_0", "o_t_1", "o_t_2", "o_t_3"};
  const char* captions[4] = {"тип A", "тип B", "тип C", "тип D"};
  for (int i = 0; i < 4; ++i) {
    o_t_[i] = radio(z, names[i], captions[i]);
    row->addWidget(o_t_[i]);
    connect(o_t_[i], &QRadioButton::toggled, this, [this](bool on) {
      if (on) showIndicator();
    });
  }
  i_indicator_ = label(z, "i_indicator", "");
  i_indicator_->setFixedSize(24, 24);
  i_indicator_->setScaledContents(true);
  row->addWidget(i_indicator_);
  return z;
}

QWidget* TabCfg::buildPosition() {
  auto* z = group(this, "z_pos", " р а с п о л о ж е н и е    о к н а    н а    э к р а н е ");
  e_xx_ = spin(z, "e_xx");
  e_yy_ = spin(z, "e_yy");
  e_xx_->setFixedWidth(48);
  e_yy_->setFixedWidth(48);
  o_topleft_ = radio(z, "o_topleft", "ОТ  ВЕРХНЕГО  ЛЕВОГО  УГЛА  ЭКРАНА");
  auto* o_botright = radio(z, "o_botright", "ОТ  НИЖНЕГО  ПРАВОГО  УГЛА  ЭКРАНА");
  auto* grid = new QGridLayout(z);
  grid->setSpacing(2);
  grid->addWidget(label(z, "s_xx", "X ="), 0, 0);
  grid->addWidget(e_xx_, 0, 1);
  grid->addWidget(o_topleft_, 0, 2);
  grid->addWidget(label(z, "s_yy", "Y ="), 1, 0);
  grid->addWidget(e_yy_, 1, 1);
  grid->addWidget(o_botright, 1, 2);
  grid->addWidget(label(z, "s_pixels", "(пиксели)"), 2, 1);
  for (QSpinBox* s : {e_xx_, e_yy_})
    connect(s, &QSpinBox::valueChanged, this, [this] { previewPosition(); });
  for (QRadioButton* r : {o_topleft_, o_botright})
    connect(r, &QRadioButton::toggled, this, [this](bool on) {
      if (on) previewPosition();
    });
  return z;
}

QWidget* TabCfg::buildStart() {
  auto* z = group(this, "z_start", " з а п у с к    п р о г р а м м ы ");
  o_autostart_ = check(z, "o_autostart", "ЗАПУСКАТЬ  С  ОПЕРАЦИОННОЙ  СИСТЕМОЙ");
  o_user_ = radio(z, "o_user", kUserScope);
  o_machine_ = radio(z, "o_machine", kAllScope);
  b_extend_ = button(z, "b_extend", ">>>");
  b_extend_->setMaximumWidth(36);
  auto* o_show = check(z, "o_show", "ПОКАЗЬIВАТЬ  ОКНО  СОСТОЯНИЯ  ПРИ  ЗАПУСКЕ");
  o_reinit_ = check(z, "o_reinit", "РЕИНИЦИАЛИЗАЦИЯ  ПРИ  АВТОЗАПУСКЕ");
  auto* o_midnight = check(z, "o_midnight", "РЕИНИЦИАЛИЗАЦИЯ  В  ПОЛНОЧЬ");
  // The delay of the reinitialisation shows only in the widened group.
  p_extra_ = new QWidget(z);
  p_extra_->setObjectName("p_extra");
  x_reinit_ = trackBar(p_extra_, "x_reinit");
  s_reinit_ = label(p_extra_, "s_reinit", "");
  s_39_ = label(p_extra_, "s_39", "ЗАДЕРЖКА");
  auto* extra = new QHBoxLayout(p_extra_);
  extra->setContentsMargins(0, 0, 0, 0);
  extra->addWidget(s_39_);
  extra->addWidget(x_reinit_);
  extra->addWidget(s_reinit_);
  p_extra_->hide();

  auto* grid = new QGridLayout(z);
  grid->setSpacing(1);
  grid->addWidget(o_autostart_, 0, 0, 1, 3);
  grid->addWidget(o_user_, 1, 0, 1, 2);
  grid->addWidget(b_extend_, 1, 2);
  grid->addWidget(o_machine_, 2, 0, 1, 3);
  grid->addWidget(o_show, 3, 0, 1, 3);
  grid->addWidget(o_reinit_, 4, 0, 1, 3);
  grid->addWidget(p_extra_, 5, 0, 1, 3);
  grid->addWidget(o_midnight, 6, 0, 1, 3);
  for (QAbstractButton* b :
       {static_cast<QAbstractButton*>(o_autostart_), static_cast<QAbstractButton*>(o_user_),
        static_cast<QAbstractButton*>(o_machine_)})
    connect(b, &QAbstractButton::clicked, this, [this] { autostartClicked(false); });
  connect(o_reinit_, &QCheckBox::toggled, this, [this] { updateEnabling(); });
  connect(x_reinit_, &QSlider::valueChanged, this, [this](int value) { s_reinit_->setNum(value); });
  connect(b_extend_, &QPushButton::clicked, this, [this] {
    // The widened group takes the room of the position group, as it always covered it.
    const bool widen = p_extra_->isHidden();
    if (QWidget* position = findChild<QWidget*>("z_pos")) position->setVisible(!widen);
    p_extra_->setVisible(widen);
    b_extend_->setText(widen ? "<<<" : ">>>");
  });
  return z;
}

void TabCfg::prepareShow() {
  // Positions run to the screen's size less the margin that keeps the window reachable.
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QSize size = screen ? screen->geometry().size() : QSize(800, 600);
  const ScreenSize limits = positionLimits({size.width(), size.height()});
  e_xx_->setMaximum(limits.width);
  e_yy_->setMaximum(limits.height);
}

void TabCfg::loadedGlobal(const SettingsValues& values) {
  // The registration is part of the global load only.
  readAutostartState();
  loadedEntry(values);
}

void TabCfg::loadedEntry(const SettingsValues&) {
  updateEnabling();
  showIndicator();
  s_reinit_->setNum(x_reinit_->value());
}

void TabCfg::updateEnabling() {
  const bool balloons = o_balloon_->isChecked();
  e_balloon_->setEnabled(balloons);
  emit balloonsSwitched(balloons);
  e_acc_one_->setEnabled(o_acc_one_->isChecked());
  const bool autostart = o_autostart_->isChecked();
  o_autostart_->setEnabled(!(userLocked_ && allLocked_));
  // Someone who may write both scopes picks one with the box ticked; anyone else picks it
  // first, since a scope they cannot write would only fail.
  const bool choosing = autostart || !bothWritable_;
  o_user_->setEnabled(choosing && !userLocked_);
  o_machine_->setEnabled(choosing && !allLocked_);
  o_reinit_->setEnabled(autostart);
  const bool reinit = autostart && o_reinit_->isChecked();
  for (QWidget* w : {static_cast<QWidget*>(x_reinit_), static_cast<QWidget*>(s_reinit_),
                     static_cast<QWidget*>(s_39_)})
    w->setEnabled(reinit);
}

void TabCfg::readAutostartState() {
  Autostart& autostart = frame_.host().autostart();
  bothWritable_ = autostart.writable(AutostartScope::AllUsers) &&
                  autostart.writable(AutostartScope::CurrentUser);
  const AutostartState state = readAutostart(autostart);
  if (state.readFailed) frame_.log().append(" Registry read access denied.", true);
  o_autostart_->setChecked(state.on && !locked(state.scope));
  if (state.scopeKnown)
    (state.scope == AutostartScope::AllUsers ? o_machine_ : o_user_)->setChecked(true);
  else
    defaultScope()->setChecked(true);
  // Writing back what was read registers the program where it is now.
  if (!state.readFailed) autostartClicked(true);
}

QRadioButton* TabCfg::defaultScope() const {
  const bool all = !allLocked_ && frame_.host().autostart().writable(AutostartScope::AllUsers);
  return all || userLocked_ ? o_machine_ : o_user_;
}

void TabCfg::autostartClicked(bool whileLoading) {
  updateEnabling();
  if (frame_.loading() && !whileLoading) return;
  if (!o_user_->isChecked() && !o_machine_->isChecked()) defaultScope()->setChecked(true);
  const AutostartScope primary =
      o_machine_->isChecked() ? AutostartScope::AllUsers : AutostartScope::CurrentUser;
  Autostart& autostart = frame_.host().autostart();
  // A registration someone else made where this user may not write is left as it is.
  if (locked(primary) || (whileLoading && !autostart.writable(primary))) return;
  if (!writeAutostart(autostart, o_autostart_->isChecked(), primary))
    autostartFailed(primary, whileLoading);
}

void TabCfg::autostartFailed(AutostartScope scope, bool whileLoading) {
  locked(scope) = true;
  const AutostartScope other =
      scope == AutostartScope::AllUsers ? AutostartScope::CurrentUser : AutostartScope::AllUsers;
  const bool otherUsable = !locked(other);
  frame_.log().append(
      otherUsable ? std::string(" Registry write access denied. Autostart ") +
                        (scope == AutostartScope::AllUsers ? "for all users" : "for this user") +
                        " is not available."
                  : std::string(" Registry write access denied. Autostart "
                                "parameter value will be constant."));
  // The controls show what the other scope holds, ready for the user's next choice there.
  const std::optional<bool> held = frame_.host().autostart().registered(other);
  o_autostart_->setChecked(otherUsable && held.value_or(false));
  if (otherUsable) (other == AutostartScope::AllUsers ? o_machine_ : o_user_)->setChecked(true);
  updateEnabling();
  std::error_code ec;
  if (whileLoading || std::filesystem::exists(frame_.files().noGo(), ec)) return;
  QString text = QString::fromUtf8(
                     "Возникла ошибка при попытке записать файл на диск.\n"
                     "Запуск с операционной системой «%1» недоступен: "
                     "нет права записи.")
                     .arg(QString::fromUtf8(scopeCaption(scope)));
  if (otherUsable)
    text += QString::fromUtf8("\nВыберите «%1».").arg(QString::fromUtf8(scopeCaption(other)));
  message_box::inform(text);
}

void TabCfg::actionChosen(int index) {
  if (frame_.loading() || index != kHangUpAction) return;
  if (message_box::askYesNo(QString::fromUtf8(kHangUpActionQuestion), true) != QMessageBox::Yes)
    o_dbl_->setCurrentIndex(0);
}

void TabCfg::checkSingleAccount() {
  if (parseDecimal(e_acc_one_->text().toStdString())) return;
  // Not a number: the stored balance comes back.
  e_acc_one_->setText(QString::fromStdString(
      shownBalance(frame_.host(), frame_.files(), accountKey({}, kAccountSingle))));
}

void TabCfg::showIndicator() {
  for (int i = 0; i < 4; ++i) {
    if (!o_t_[i]->isChecked()) continue;
    i_indicator_->setPixmap(QPixmap(QStringLiteral(":/tray/i_%1_on").arg(kIconFamilies[i])));
  }
}

void TabCfg::showWindowPosition(int left, int top) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QSize size = screen->geometry().size();
  const WindowPoint shown =
      storedPosition(o_topleft_->isChecked() ? 1 : 0, {left, top}, {size.width(), size.height()});
  e_xx_->setEnabled(false);
  e_yy_->setEnabled(false);
  e_xx_->setValue(shown.x);
  e_yy_->setValue(shown.y);
  e_xx_->setEnabled(true);
  e_yy_->setEnabled(true);
}

void TabCfg::previewPosition() {
  if (frame_.loading() || !e_xx_->isEnabled() || !e_yy_->isEnabled()) return;
  frame_.host().previewPosition(o_topleft_->isChecked(), e_xx_->value(), e_yy_->value());
}

}  // namespace tarvik
