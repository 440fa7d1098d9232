#include "settings/qt/pages/tab_msg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QVBoxLayout>

#include "config/keys.h"
#include "settings/entry_checks.h"
#include "settings/qt/count_check.h"
#include "settings/qt/file_kinds.h"
#include "settings/qt/page_widgets.h"
#include "settings/qt/up_down.h"
#include "stats/month_outlook.h"

namespace tarvik {

namespace {

// The beep tunes the sound tests play.
constexpr int kConnectTune = 3;
constexpr int kDisconnectTune = 4;
constexpr int kZeroBalanceTune = 7;

// What a threshold that is not a number becomes: the level's first value, not its default.
constexpr std::array<const char*, 4> kThresholdStart{"1", "10", "10", "10"};

QColor monthColour(MonthOutlook state) {
  switch (state) {
    case MonthOutlook::Ok:
      return QColor(0, 255, 0);
    case MonthOutlook::Over:
      return QColor(255, 255, 0);
    case MonthOutlook::FarOver:
      return QColor(255, 0, 0);
    case MonthOutlook::Unreadable:
      break;
  }
  return Qt::white;
}

}  // namespace

using namespace widgets;

TabMsg::TabMsg(SettingsFrame& frame) : SettingsTab(PageId::Msg, frame, "tabMsg") {
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(2);
  grid->addWidget(buildDouble(), 0, 0);
  grid->addWidget(buildZero(), 0, 1);
  grid->addWidget(buildSounds(), 1, 0, 1, 2);
  grid->addWidget(buildCell(), 2, 0);
  grid->addWidget(buildMonth(), 2, 1);
  grid->addWidget(buildWarnings(), 3, 0, 1, 2);
  grid->setRowStretch(4, 1);
  monthLimit_ = entry_keys::kMonthLimit.def;
  bindControls();
  updateEnabling();
}

QWidget* TabMsg::buildDouble() {
  auto* z = group(this, "z_double",
                  " д у б л и р о в а н и е    с и с т е м н о й    п о д с к а з к о й ");
  auto* column = new QVBoxLayout(z);
  column->addWidget(check(z, "o_double", "ПОКАЗЬIВАТЬ  ДОПОЛНИТЕЛЬНЬIЕ  СООБЩЕНИЯ"));
  column->addWidget(label(z, "s_double", "СИСТЕМНОЙ  ПОДСКАЗКОЙ  В  ТРЕЕ   (me:2000:xp)"));
  column->addWidget(label(z, "s_38", "(параметр общий для всех учётных записей)"));
  return z;
}

QWidget* TabMsg::buildZero() {
  auto* z = group(this, "z_zero", " к о г д а   с ч ё т   с т а н о в и т с я   р а в е н   «О» ");
  zero_.wave = check(z, "o_zero", "ЗВУКОВОЙ  СИГНАЛ  и  АУДИО  ФАЙЛ:");
  zero_.file = edit(z, "e_zero");
  zero_.test = button(z, "b_zero_test", "!!!");
  zero_.browse = button(z, "b_zero_browse", "...");
  auto* grid = new QGridLayout(z);
  grid->addWidget(zero_.wave, 0, 0, 1, 3);
  grid->addWidget(zero_.file, 1, 0);
  grid->addWidget(zero_.test, 1, 1);
  grid->addWidget(zero_.browse, 1, 2);
  connectSound(zero_, kZeroBalanceTune, true);
  return z;
}

QWidget* TabMsg::buildCell() {
  auto* z = group(this, "z_cell", " o n l i n e    с и г н а л ы    о    в р е м е н и ");
  o_cell_sec_ = check(z, "o_cell_sec", "ЗВУКОВОЙ  СИГНАЛ  КАЖДЬIЕ");
  auto* e_sec = edit(z, "e_sec");
  e_sec->setFixedWidth(34);
  ud_sec_ = new UpDown(e_sec, id());
  auto* grid = new QGridLayout(z);
  grid->addWidget(check(z, "o_cell_min", "ЗВУКОВОЙ  СИГНАЛ  КАЖДУЮ  МИНУТУ"), 0, 0, 1, 4);
  grid->addWidget(o_cell_sec_, 1, 0);
  grid->addWidget(e_sec, 1, 1);
  grid->addWidget(ud_sec_, 1, 2);
  grid->addWidget(label(z, "s_sec", "СЕКУНД"), 1, 3);
  grid->setColumnStretch(4, 1);
  connect(o_cell_sec_, &QCheckBox::toggled, this, [this] { updateEnabling(); });
  checkCountOnChange(e_sec, entry_keys::kOnLinePeriod, false, frame_);
  return z;
}

TabMsg::SoundRow TabMsg::soundRow(QWidget* parent, const SoundNames& names) {
  SoundRow row;
  row.beep = check(parent, names.beep, "ЗВУКОВОЙ  СИГНАЛ");
  row.wave = check(parent, names.wave, "АУДИО  ФАЙЛ:");
  row.file = edit(parent, names.file);
  row.test = button(parent, names.test, "!!!");
  row.browse = button(parent, names.browse, "...");
  return row;
}

QWidget* TabMsg::buildSounds() {
  auto* z = group(this, "z_snd",
                  " з в у к о в о е    о п о в е щ е н и е    п р и    с о е д и н е н и и / р а "
                  "с с о е д и н е н и и ");
  on_ = soundRow(z, {"o_on_beep", "o_on_wave", "e_on", "e_on_test", "e_on_browse"});
  of_ = soundRow(z, {"o_of_beep", "o_of_wave", "e_of", "e_of_test", "e_of_browse"});
  auto* grid = new QGridLayout(z);
  int column = 0;
  for (const auto& [row, caption, name, tune] :
       {std::tuple{on_, "ONLiNE:", "s_online", kConnectTune},
        std::tuple{of_, "OFFLiNE:", "s_offline", kDisconnectTune}}) {
    grid->addWidget(label(z, name, caption), 0, column);
    grid->addWidget(row.beep, 0, column + 1, 1, 3);
    grid->addWidget(row.wave, 1, column);
    grid->addWidget(row.file, 1, column + 1);
    grid->addWidget(row.test, 1, column + 2);
    grid->addWidget(row.browse, 1, column + 3);
    grid->setColumnStretch(column + 1, 1);
    connectSound(row, tune, false);
    column += 4;
  }
  return z;
}

void TabMsg::connectSound(const SoundRow& row, int tune, bool alwaysBeep) {
  for (QPushButton* b : {row.test, row.browse}) b->setFixedWidth(24);
  connect(row.wave, &QCheckBox::toggled, this, [this] { updateEnabling(); });
  connect(row.test, &QPushButton::clicked, this, [this, row, tune, alwaysBeep] {
    frame_.host().playSoundFile(row.file->text().toStdString());
    if (alwaysBeep || row.beep->isChecked()) frame_.host().playTune(tune);
  });
  connect(row.browse, &QPushButton::clicked, this, [this, row] {
    const QString file =
        pickFile(this, FileKind::Wave, QString::fromStdString(frame_.files().dir.string()));
    if (!file.isEmpty()) row.file->setText(file);
  });
}

QWidget* TabMsg::buildWarnings() {
  auto* z =
      group(this, "z_warnings", " к о г д а    с ч ё т    д о с т и г а е т    з н а ч е н и я : ");
  auto* row = new QHBoxLayout(z);
  row->addWidget(
      label(z, "s_cents", "ВСЕ  ЗНАЧЕНИЯ  ЭТОЙ  ОБЛАСТИ\nИМЕЮТ  РАЗМЕРНОСТЬ  1/100  ВАЛЮТЬI"));
  for (int i = 0; i < 4; ++i) {
    const QByteArray n = QByteArray::number(i + 1);
    o_warn_[i] = check(z, ("o_warn_" + n).constData(), "");
    e_warn_[i] = edit(z, ("e_warn_" + n).constData());
    e_warn_[i]->setFixedWidth(32);
    ud_warn_[i] = new UpDown(e_warn_[i], id());
    row->addSpacing(2);
    row->addWidget(o_warn_[i]);
    row->addWidget(e_warn_[i]);
    row->addWidget(ud_warn_[i]);
    connect(o_warn_[i], &QCheckBox::toggled, this, [this] { updateEnabling(); });
    connect(e_warn_[i], &QLineEdit::textChanged, this, [this] { checkThresholds(); });
  }
  row->addSpacing(4);
  s_centz_ = label(z, "s_centz", "");
  row->addWidget(s_centz_, 1);
  return z;
}

QWidget* TabMsg::buildMonth() {
  auto* z = group(this, "z_month", " р а с ч ё т н ы е    е ж е м е с я ч н ы е    з а т р а т ы ");
  e_month_ = edit(z, "e_month");
  e_month_->setFixedWidth(40);
  p_month_ = label(z, "p_month", "");
  p_month_->setAutoFillBackground(true);
  p_month_->setAlignment(Qt::AlignCenter);
  p_month_->setFrameShape(QFrame::Panel);
  p_month_->setFrameShadow(QFrame::Sunken);
  auto* column = new QVBoxLayout(z);
  auto* row = new QHBoxLayout;
  row->addWidget(e_month_);
  row->addWidget(new UpDown(e_month_, id()));
  s_month_ = label(z, "s_month", "ц / МЕСЯЦ");
  row->addWidget(s_month_);
  row->addWidget(p_month_, 1);
  column->addLayout(row);
  // The warning before a dearer period is about what the month costs too, and the page has no
  // room for a group of its own.
  column->addLayout(buildRise(z));
  connect(e_month_, &QLineEdit::textChanged, this, [this] { monthLimitChanged(); });
  return z;
}

QLayout* TabMsg::buildRise(QWidget* z) {
  o_rise_ = check(z, "o_rise", "ПРЕДУПРЕЖДАТЬ  ЗА");
  auto* e_rise = edit(z, "e_rise");
  e_rise->setFixedWidth(34);
  ud_rise_ = new UpDown(e_rise, id());
  auto* row = new QHBoxLayout;
  row->addWidget(o_rise_);
  row->addWidget(e_rise);
  row->addWidget(ud_rise_);
  row->addWidget(label(z, "s_rise", "МИН.  ДО  ПОДОРОЖАНИЯ"), 1);
  connect(o_rise_, &QCheckBox::toggled, this, [this] { updateEnabling(); });
  checkCountOnChange(e_rise, entry_keys::kRiseTime, false, frame_);
  return row;
}

void TabMsg::loadedGlobal(const SettingsValues&) {
  updateEnabling();
}

void TabMsg::loadedEntry(const SettingsValues& values) {
  updateEnabling();
  monthLimit_ = values.number(entry_keys::kMonthLimit);
  showMonthEstimate();
}

void TabMsg::updateEnabling() {
  for (const SoundRow& row : {zero_, on_, of_}) {
    const bool wave = row.wave->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{row.file, row.test, row.browse})
      w->setEnabled(wave);
  }
  ud_sec_->setActive(o_cell_sec_->isChecked());
  for (int i = 0; i < 4; ++i) ud_warn_[i]->setActive(o_warn_[i]->isChecked());
  ud_rise_->setActive(o_rise_->isChecked());
}

void TabMsg::checkThresholds() {
  std::vector<std::string> texts;
  for (const QLineEdit* e : e_warn_) texts.push_back(e->text().toStdString());
  if (const std::optional<std::size_t> bad = firstNonNumber(texts))
    e_warn_[*bad]->setText(QString::fromUtf8(kThresholdStart[*bad]));
}

void TabMsg::monthLimitChanged() {
  const std::optional<int> limit = parseWholeNumber(e_month_->text().toStdString());
  if (!limit) {
    // Putting the last good budget back runs this again, with a number.
    e_month_->setText(QString::number(monthLimit_));
    return;
  }
  monthLimit_ = *limit;
  showMonthEstimate();
}

void TabMsg::showMonthEstimate() {
  const IniFile statistics(frame_.files().statistics());
  const auto section = sections::statistics(frame_.currentEntry().toStdString());
  const std::string spent = shownMonthMoney(readKey(statistics, section, stats_keys::kMoneyTM));
  const MonthOutlook state = monthOutlook(monthLimit_, spent, frame_.log().clock().now().day);
  p_month_->setText(QString::fromUtf8(monthOutlookCaption(state)));
  QPalette palette = p_month_->palette();
  palette.setColor(QPalette::Window, monthColour(state));
  palette.setColor(QPalette::WindowText, Qt::black);
  p_month_->setPalette(palette);
}

void TabMsg::setBalloonDuplication(bool available) {
  for (const char* name : {"o_double", "s_double"})
    if (QWidget* w = findChild<QWidget*>(name)) w->setEnabled(available);
}

void TabMsg::showCurrencyCaptions(const CurrencyCaptions& captions) {
  s_month_->setText(QString::fromStdString(captions.monthUnit));
  s_centz_->setText(QString::fromStdString(captions.warningUnit));
}

}  // namespace tarvik
