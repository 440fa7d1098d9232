#include "settings/qt/pages/tab_app.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "settings/qt/file_kinds.h"
#include "settings/qt/page_widgets.h"

namespace tarvik {

namespace {

// The beep tune of a balance warning.
constexpr int kWarningTune = 0;

const char* const kSecurityLevel2 = "обеспечивает гарантию 99%,\nпри сильной нагрузке на ЦП";
const char* const kSecurityLevel1 = "обеспечивает гарантию 95%,\nпри обычной нагрузке на ЦП";

}  // namespace

using namespace widgets;

TabApp::TabApp(SettingsFrame& frame) : SettingsTab(PageId::App, frame, "tabApp") {
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(2);
  grid->addWidget(buildTariff(), 0, 0);
  grid->addWidget(buildWarning(), 1, 0, 2, 1);
  grid->addWidget(buildInactive(), 0, 1);
  grid->addWidget(buildLog(), 1, 1);
  grid->addWidget(buildSecurity(), 2, 1);
  bindControls();
  updateEnabling();
  showSecurityLevel();
}

QWidget* TabApp::buildTariff() {
  auto* z = group(this, "z_tariff", " т а р и ф    в    о к н е    с о с т о я н и я ");
  auto* column = new QVBoxLayout(z);
  column->addWidget(radio(z, "o_tar_name", "ОТОБРАЖАТЬ  НАЗВАНИЕ  ТАРИФА"));
  column->addWidget(radio(z, "o_tar_cost", "ОТОБРАЖАТЬ  СТОИМОСТЬ  ЗА  ЧАС"));
  return z;
}

QWidget* TabApp::buildWarning() {
  auto* z = group(this, "z_warn", " п р е д у п р е ж д а ю щ и й   и н д и к а т о р ");
  o_warn_beep_ = check(z, "o_warn_beep", "ВЬIДАТЬ  СИГНАЛЬI  ЧЕРЕЗ  ДИНАМИК  ПК");
  o_warn_wav_ = check(z, "o_warn_wav", "ВОСПРОИЗВЕСТИ  АУДИО  ФАЙЛ:");
  e_warning_ = edit(z, "e_warning");
  e_warn_test_ = button(z, "e_warn_test", "!!!");
  e_warn_browse_ = button(z, "e_warn_browse", "...");
  for (QPushButton* b : {e_warn_test_, e_warn_browse_}) b->setMaximumWidth(30);
  auto* column = new QVBoxLayout(z);
  column->setSpacing(1);
  auto* flash = new QHBoxLayout;
  flash->addWidget(label(z, "s_warn_for", "МИГАТЬ  В  ТЕЧЕНИЕ"));
  flash->addWidget(spin(z, "e_warn"));
  flash->addWidget(label(z, "s_warn_sec", "СЕКУНД"));
  flash->addStretch();
  column->addLayout(flash);
  column->addWidget(o_warn_beep_);
  column->addWidget(o_warn_wav_);
  auto* file = new QHBoxLayout;
  file->addWidget(e_warning_);
  file->addWidget(e_warn_test_);
  file->addWidget(e_warn_browse_);
  column->addLayout(file);
  connect(o_warn_wav_, &QCheckBox::toggled, this, [this] { updateEnabling(); });
  connect(e_warn_test_, &QPushButton::clicked, this, [this] { testWarningSound(); });
  connect(e_warn_browse_, &QPushButton::clicked, this, [this] {
    const QString file =
        pickFile(this, FileKind::Wave, QString::fromStdString(frame_.files().dir.string()));
    if (!file.isEmpty()) e_warning_->setText(file);
  });
  return z;
}

QWidget* TabApp::buildInactive() {
  auto* z = group(this, "z_inact",
                  " с т р о к и    в    о к н е    с о с т о я н и я    (неактивность) ");
  auto* column = new QVBoxLayout(z);
  column->addWidget(radio(z, "o_inact_null", "ОТОБРАЖАТЬ  НУЛЕВЬIЕ  ЗНАЧЕНИЯ"));
  column->addWidget(radio(z, "o_inact_empty", "ОТОБРАЖАТЬ  ПУСТЬIЕ  СТРОКИ"));
  return z;
}

QWidget* TabApp::buildLog() {
  auto* z = group(this, "z_log", " ж у р н а л    ( LOG ) ");
  auto* column = new QVBoxLayout(z);
  column->addWidget(radio(z, "z_clear", "ОЧИЩАТЬ  ЖУРНАЛ  СОБЬIТИЙ  РАЗ  В  МЕСЯЦ"));
  column->addWidget(radio(z, "z_noclear", "НЕ ОЧИЩАТЬ ЖУРНАЛ СОБЬIТИЙ"));
  return z;
}

QWidget* TabApp::buildSecurity() {
  auto* z = group(this, "z_security", " з а щ и т а    о т    с б о е в ");
  o_security_ = check(z, "o_security", "ИСПОЛЬЗОВАТЬ  ЗАЩИТУ  ОТ  СБОЕВ");
  o_seq_1_ = check(z, "o_seq_1", "1   УРОВЕНЬ");
  o_seq_2_ = check(z, "o_seq_2", "2   УРОВЕНЬ");
  s_security_ = label(z, "s_security", "");
  auto* grid = new QGridLayout(z);
  grid->setSpacing(1);
  grid->addWidget(o_security_, 0, 0, 1, 2);
  grid->addWidget(o_seq_1_, 1, 0);
  grid->addWidget(o_seq_2_, 2, 0);
  grid->addWidget(s_security_, 1, 1, 2, 1);
  // The protection and its first level cannot be switched off.
  for (QCheckBox* box : {o_security_, o_seq_1_}) {
    box->setChecked(true);
    connect(box, &QCheckBox::clicked, this, [this] {
      o_security_->setChecked(true);
      o_seq_1_->setChecked(true);
    });
  }
  connect(o_seq_2_, &QCheckBox::toggled, this, [this] { showSecurityLevel(); });
  return z;
}

void TabApp::loaded(const SettingsValues&) {
  updateEnabling();
  showSecurityLevel();
}

void TabApp::updateEnabling() {
  const bool wave = o_warn_wav_->isChecked();
  for (QWidget* w : {static_cast<QWidget*>(e_warning_), static_cast<QWidget*>(e_warn_test_),
                     static_cast<QWidget*>(e_warn_browse_)})
    w->setEnabled(wave);
}

void TabApp::testWarningSound() {
  frame_.host().playSoundFile(e_warning_->text().toStdString());
  if (o_warn_beep_->isChecked()) frame_.host().playTune(kWarningTune);
}

void TabApp::showSecurityLevel() {
  s_security_->setText(
      QString::fromUtf8(o_seq_2_->isChecked() ? kSecurityLevel2 : kSecurityLevel1));
}

}  // namespace tarvik
