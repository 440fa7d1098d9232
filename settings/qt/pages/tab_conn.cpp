#include "settings/qt/pages/tab_conn.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "config/keys.h"
#include "platform/qt/message_box.h"
#include "settings/program_lines.h"
#include "settings/qt/count_check.h"
#include "settings/qt/file_kinds.h"
#include "settings/qt/page_widgets.h"
#include "settings/qt/up_down.h"

namespace tarvik {

namespace {

const char* const kEditByHand =
    "Процессы удаления и/или редактирования списка программ\n"
    "должны быть произведены вручную (как с обычным текстом).";

}  // namespace

using namespace widgets;

TabConn::TabConn(SettingsFrame& frame) : SettingsTab(PageId::Conn, frame, "tabConn") {
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(2);
  grid->addWidget(buildPrograms(), 0, 0, 1, 2);
  grid->addWidget(buildHangUp(), 1, 0);
  grid->addWidget(buildVisibility(), 1, 1);
  grid->addWidget(buildFree(), 2, 0);
  grid->addWidget(buildMetering(), 2, 1);
  grid->setRowStretch(0, 1);
  bindControls();
  updateEnabling();
}

QWidget* TabConn::buildPrograms() {
  auto* z = group(this, "z_app",
                  " з а п у с к    в н е ш н и х    п р о г р а м м    п р и    с о е д и н е н "
                  "и и ");
  o_app_ = check(z, "o_app", "ЗАПУСКАТЬ:");
  o_apps_ = named(new QPlainTextEdit(z), "o_apps");
  o_apps_->setLineWrapMode(QPlainTextEdit::NoWrap);
  o_add_ = button(z, "o_add", "ДОБАВИТЬ");
  o_del_ = button(z, "o_del", "УДАЛИТЬ");
  o_launch_ = button(z, "o_launch", "ТЕСТ");
  auto* row = new QHBoxLayout(z);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(o_app_);
  buttons->addWidget(o_add_);
  buttons->addWidget(o_del_);
  buttons->addWidget(o_launch_);
  buttons->addStretch();
  row->addLayout(buttons);
  row->addWidget(o_apps_, 1);
  connect(o_app_, &QCheckBox::toggled, this, [this] { updateEnabling(); });
  connect(o_apps_, &QPlainTextEdit::textChanged, this, [this] { emit changed(); });
  connect(o_add_, &QPushButton::clicked, this, [this] { addProgram(); });
  connect(o_del_, &QPushButton::clicked, this,
          [] { message_box::inform(QString::fromUtf8(kEditByHand)); });
  connect(o_launch_, &QPushButton::clicked, this, [this] { launchPrograms(); });
  return z;
}

QWidget* TabConn::buildHangUp() {
  auto* z = group(this, "z_handup", " о г р а н и ч е н и е    п о    в р е м е н и ");
  o_hangup_ = check(z, "o_hangup", "РАЗРЬIВАТЬ  СВЯЗЬ  ЧЕРЕЗ");
  auto* e_hangup = edit(z, "e_hangup");
  e_hangup->setFixedWidth(34);
  ud_hangup_ = new UpDown(e_hangup, id());
  auto* grid = new QGridLayout(z);
  grid->addWidget(o_hangup_, 0, 0, 1, 3);
  grid->addWidget(e_hangup, 1, 0);
  grid->addWidget(ud_hangup_, 1, 1);
  grid->addWidget(label(z, "s_hangup", "СЕКУНД   (ПРИБЛИЗИТЕЛЬНО)"), 1, 2);
  grid->setColumnStretch(2, 1);
  connect(o_hangup_, &QCheckBox::toggled, this, [this] { updateEnabling(); });
  checkCountOnChange(e_hangup, entry_keys::kHangUpTime, false, frame_);
  return z;
}

QWidget* TabConn::buildFree() {
  auto* z = group(this, "z_free", " б е с п л а т н ы й    и н т е р н е т ");
  auto* e_free = edit(z, "e_free");
  e_free->setFixedWidth(34);
  auto* row = new QHBoxLayout(z);
  row->addWidget(label(z, "s_free_on", "НА"));
  row->addWidget(e_free);
  row->addWidget(new UpDown(e_free, id()));
  row->addWidget(label(z, "s_free_sec", "СЕКУНД"));
  row->addStretch();
  // No free time at all is a choice of its own.
  checkCountOnChange(e_free, entry_keys::kFreeTime, true, frame_);
  return z;
}

QWidget* TabConn::buildVisibility() {
  auto* z = group(this, "z_vis",
                  " п а р а м е т р ы    в и д и м о с т и    о к н а    с о с т о я н и я ");
  o_sw_of_ = check(z, "o_sw_of", "СКРЬIВАТЬ  ПРИ  РАССОЕДИНЕНИИ  ЧЕРЕЗ");
  auto* e_hide = edit(z, "e_hide");
  e_hide->setMaxLength(2);
  e_hide->setFixedWidth(22);
  ud_hide_ = new UpDown(e_hide, id());
  auto* grid = new QGridLayout(z);
  grid->addWidget(check(z, "o_sw_on", "ПОКАЗЬIВАТЬ  ПРИ  СОЕДИНЕНИИ"), 0, 0, 1, 4);
  grid->addWidget(o_sw_of_, 1, 0);
  grid->addWidget(e_hide, 1, 1);
  grid->addWidget(ud_hide_, 1, 2);
  grid->addWidget(label(z, "s_hide_sec", "СЕКУНД"), 1, 3);
  grid->setColumnStretch(4, 1);
  connect(o_sw_of_, &QCheckBox::toggled, this, [this] { updateEnabling(); });
  checkCountOnChange(e_hide, entry_keys::kStatusWait, false, frame_);
  return z;
}

QWidget* TabConn::buildMetering() {
  auto* z = group(this, "z_when", " п а р а м е т р ы    р а с ч ё т а ");
  auto* column = new QVBoxLayout(z);
  column->addWidget(radio(z, "o_when_au", "НАЧИНАТЬ  РАСЧЕТ  С  МОМЕНТА  НАЧАЛА  АУТЕНТИФИКАЦИИ"));
  column->addWidget(radio(z, "o_when_on",
                          "НАЧИНАТЬ  РАСЧЕТ  С  МОМЕНТА  УСТАНОВЛЕНИЯ  ФАКТИЧЕСКОГО  СОЕДИНЕНИЯ"));
  return z;
}

void TabConn::loadedGlobal(const SettingsValues&) {
  updateEnabling();
}

void TabConn::loadedEntry(const SettingsValues& values) {
  updateEnabling();
  std::vector<std::string> lines;
  for (int line = 0; line < values.number(entry_keys::kExeCountDialog); ++line)
    lines.push_back(values.text(entry_keys::exeLine(line)));
  o_apps_->setPlainText(QString::fromStdString(joinProgramLines(lines)));
}

void TabConn::saving(SettingsValues& values) const {
  const std::vector<std::string> lines = splitProgramLines(o_apps_->toPlainText().toStdString());
  values.set(entry_keys::kExeCountDialog, static_cast<int>(lines.size()));
  for (std::size_t line = 0; line < lines.size(); ++line)
    values.set(entry_keys::exeLine(static_cast<int>(line)), lines[line]);
}

void TabConn::updateEnabling() {
  const bool programs = o_app_->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{o_apps_, o_add_, o_del_, o_launch_})
    w->setEnabled(programs);
  ud_hangup_->setActive(o_hangup_->isChecked());
  ud_hide_->setActive(o_sw_of_->isChecked());
}

void TabConn::addProgram() {
  const QString file =
      pickFile(this, FileKind::Program, QString::fromStdString(frame_.files().dir.string()));
  if (file.isEmpty()) return;
  o_apps_->setPlainText(QString::fromStdString(
      addProgramLine(o_apps_->toPlainText().toStdString(), file.toStdString())));
}

void TabConn::launchPrograms() {
  // Each line starts on its own; none is waited for, and a line that starts nothing is
  // passed over.
  for (const std::string& line : splitProgramLines(o_apps_->toPlainText().toStdString()))
    if (line.find_first_not_of(" \t") != std::string::npos) frame_.host().runProgram(line);
}

}  // namespace tarvik
