#include "settings/qt/pages/tab_app.h"

#include <fcntl.h>
#include <unistd.h>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "config/codepage.h"
#include "config/regular_file.h"
#include "monitor/quick_log.h"
#include "platform/qt/message_box.h"
#include "settings/qt/file_kinds.h"
#include "settings/qt/page_widgets.h"

namespace tarvik {

namespace {

// The beep tune of a balance warning.
constexpr int kWarningTune = 0;

const char* const kSecurityLevel2 = "обеспечивает гарантию 99%,\nпри сильной нагрузке на ЦП";
const char* const kSecurityLevel1 = "обеспечивает гарантию 95%,\nпри обычной нагрузке на ЦП";

const char* const kEventLogNotShown =
    "Ошибка запуска файла «Tarvik.Log» через «Блокнот».\nПопробуйте открыть его самостоятельно.";
const char* const kQuickLogMissing =
    "Файл журнала соединений «Velk.txt» не существует. Просмотр невозможен.";
const char* const kQuickLogNotShown =
    "Ошибка запуска файла «Velk.txt»...\nПопробуйте открыть этот файл самостоятельно.";
const char* const kClearEventLogQuestion = "Вы уверены, что хотите очистить журнал событий?";
const char* const kClearQuickLogQuestion =
    "Вы уверены, что хотите очистить краткий журнал соединений?";

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
  grid->addWidget(buildLogButtons(), 3, 0, 1, 2);
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

QWidget* TabApp::buildLogButtons() {
  auto* panel = new QWidget(this);
  panel->setObjectName("p_logs");
  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(2);
  auto* viewEvents = button(panel, "b_log_a_view", "ПРОСМОТР  ЖУРНАЛА  СОБЬIТИЙ");
  auto* viewQuick = button(panel, "b_log_c_view", "ПРОСМОТР  ЖУРНАЛА  СОЕДИНЕНИЙ");
  auto* clearEvents = button(panel, "b_log_a_clear", "ОЧИСТКА  ЖУРНАЛА  СОБЬIТИЙ");
  auto* clearQuick = button(panel, "b_log_c_clear", "ОЧИСТКА  ЖУРНАЛА  СОЕДИНЕНИЙ");
  grid->addWidget(viewEvents, 0, 0);
  grid->addWidget(viewQuick, 0, 1);
  grid->addWidget(clearEvents, 1, 0);
  grid->addWidget(clearQuick, 1, 1);
  connect(viewEvents, &QPushButton::clicked, this, [this] { viewEventLog(); });
  connect(viewQuick, &QPushButton::clicked, this, [this] { viewQuickLog(); });
  connect(clearEvents, &QPushButton::clicked, this, [this] { clearEventLog(); });
  connect(clearQuick, &QPushButton::clicked, this, [this] { clearQuickLog(); });
  return panel;
}

void TabApp::viewEventLog() {
  if (frame_.host().viewText(frame_.files().eventLog())) return;
  frame_.log().append(" Failed opening log file.", true);
  message_box::inform(QString::fromUtf8(kEventLogNotShown));
}

void TabApp::viewQuickLog() {
  const std::filesystem::path file = frame_.files().quickLog();
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) {
    frame_.log().append(" Failed opening quick-log file. File not found.", true);
    message_box::inform(QString::fromUtf8(kQuickLogMissing));
    return;
  }
  // The viewer reads the file itself; why it could not is worth a number in the log.
  const int probe = openRegularFile(file, O_RDONLY);
  const int readError = probe < 0 ? errno : 0;
  if (probe >= 0) ::close(probe);
  if (readError == 0 && frame_.host().viewText(file)) return;
  frame_.log().append(" Failed opening quick-log file. Error code " + std::to_string(readError),
                      true);
  message_box::inform(QString::fromUtf8(kQuickLogNotShown));
}

void TabApp::clearEventLog() {
  if (message_box::askYesNo(QString::fromUtf8(kClearEventLogQuestion), true) != QMessageBox::Yes)
    return;
  std::error_code ec;
  std::filesystem::remove(frame_.files().eventLog(), ec);  // not checked: the line below says it
  frame_.log().append(" Log-file cleared (user request).", true);
}

void TabApp::clearQuickLog() {
  if (message_box::askYesNo(QString::fromUtf8(kClearQuickLogQuestion), true) != QMessageBox::Yes)
    return;
  frame_.log().append(" Clearing quick log-file...", true);
  std::ofstream out(frame_.files().quickLog(), std::ios::binary | std::ios::trunc);
  out << utf8ToCp1251(std::string(kQuickLogHeader) + "\r\n\r\n");
  out.close();
  if (!out) frame_.log().append(" Failed. Access denied.");
}

void TabApp::loadedGlobal(const SettingsValues&) {
  updateEnabling();
  showSecurityLevel();
}

void TabApp::loadedEntry(const SettingsValues& values) {
  loadedGlobal(values);
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
