#include "settings/qt/pages/tab_tar.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QVBoxLayout>

#include "config/keys.h"
#include "platform/qt/message_box.h"
#include "settings/qt/page_widgets.h"
#include "tariff/day_plan_store.h"
#include "tariff/tariff_tester.h"

namespace tarvik {

namespace {

// The period list and the tester's output line up in columns.
constexpr int kFixedPitchPixels = 9;

QFont fixedPitch() {
  QFont font(QStringLiteral("monospace"));
  font.setStyleHint(QFont::Monospace);
  font.setFixedPitch(true);
  font.setPixelSize(kFixedPitchPixels);
  return font;
}

QString qs(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// The columns of a period text that Select line copies into the fields (from 0, length).
struct Column {
  int from;
  int length;
};
constexpr Column kStartHourColumn{0, 2}, kStartMinuteColumn{3, 2}, kEndHourColumn{8, 2},
    kEndMinuteColumn{11, 2}, kCostColumn{16, 5};
constexpr int kNameColumn = 22;

}  // namespace

using namespace widgets;

TabTar::TabTar(SettingsFrame& frame) : SettingsTab(PageId::Tar, frame, "tabTar") {
  auto* columns = new QHBoxLayout(this);
  columns->setContentsMargins(0, 0, 0, 0);
  columns->setSpacing(4);
  columns->addWidget(buildPeriodEditor(), 1);
  auto* right = new QVBoxLayout;
  right->setSpacing(2);
  right->addWidget(buildWholeTariff());
  right->addWidget(buildTester(), 1);
  columns->addLayout(right, 1);
  bindControls();
  setUnsaved(false);
  b_tar_save_->setEnabled(false);
  b_tar_del_->setEnabled(false);
}

TabTar::NumberField TabTar::numberField(QWidget* parent, const char* editName,
                                        const char* upDownName, int min, int max, int step,
                                        int initial) {
  NumberField field;
  field.edit = edit(parent, editName);
  field.edit->setText(QString::number(initial));
  field.edit->setAlignment(Qt::AlignRight);
  // Room for the widest number of the range.
  field.edit->setFixedWidth(
      field.edit->fontMetrics().horizontalAdvance(QString(QString::number(max).size() + 1, '0')) +
      8);
  // Only the arrows of the up-down show; its number is shown by the field.
  field.upDown = named(new QSpinBox(parent), upDownName);
  field.upDown->setRange(min, max);
  field.upDown->setSingleStep(step);
  field.upDown->setValue(initial);
  field.upDown->setFixedWidth(16);
  field.upDown->setFocusPolicy(Qt::NoFocus);
  QLineEdit* shown = field.edit;
  connect(field.upDown, &QSpinBox::valueChanged, this,
          [shown](int value) { shown->setText(QString::number(value)); });
  return field;
}

QWidget* TabTar::buildPeriodEditor() {
  auto* panel = new QWidget(this);
  panel->setObjectName("p_tar_edit");
  o_week_ =
      dropDown(panel, "o_week",
               {"ВОСКРЕСЕНЬЕ", "ПОНЕДЕЛЬНИК", "ВТОРНИК", "СРЕДА", "ЧЕТВЕРГ", "ПЯТНИЦА", "СУББОТА"});
  startHour_ = numberField(panel, "e_a_h", "ud_a_h", 0, 23, 1, 0);
  startMinute_ = numberField(panel, "e_a_m", "ud_a_m", 0, 55, 5, 0);
  endHour_ = numberField(panel, "e_z_h", "ud_z_h", 1, 24, 1, 1);
  endMinute_ = numberField(panel, "e_z_m", "ud_z_m", 0, 55, 5, 0);
  for (NumberField* f : {&startHour_, &startMinute_, &endHour_, &endMinute_})
    f->edit->setReadOnly(true);
  cost_ = numberField(panel, "e_tax", "ud_tax", 0, 30000, 5, 0);
  cost_.edit->setMaxLength(5);
  e_cap_ = edit(panel, "e_cap");
  e_cap_->setText("Tariff");
  auto* add = button(panel, "b_tar_add", "ДОБАВИТЬ");
  b_tar_save_ = button(panel, "b_tar_save", "ЗАМЕНИТЬ");
  b_tar_del_ = button(panel, "b_tar_del", "УДАЛИТЬ");
  o_tar_ = named(new QListWidget(panel), "o_tar");
  o_tar_->setFont(fixedPitch());
  b_day_save_ = button(panel, "b_day_save", "СОХРАНИТЬ");

  auto* times = new QHBoxLayout;
  const auto addField = [](QHBoxLayout* row, const NumberField& f) {
    row->addWidget(f.edit);
    row->addWidget(f.upDown);
  };
  addField(times, startHour_);
  times->addWidget(label(panel, "s_tar_a", ":"));
  addField(times, startMinute_);
  times->addWidget(label(panel, "s_tar_to", " - "));
  addField(times, endHour_);
  times->addWidget(label(panel, "s_tar_z", ":"));
  addField(times, endMinute_);
  times->addStretch();
  auto* price = new QHBoxLayout;
  addField(price, cost_);
  s_tax_ = label(panel, "s_tax", "ц / ЧАС");
  price->addWidget(s_tax_);
  price->addWidget(e_cap_, 1);
  auto* edits = new QHBoxLayout;
  for (QPushButton* b : {add, b_tar_save_, b_tar_del_}) edits->addWidget(b);
  auto* column = new QVBoxLayout(panel);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(1);
  column->addWidget(o_week_);
  column->addLayout(times);
  column->addLayout(price);
  column->addLayout(edits);
  column->addWidget(o_tar_, 1);
  column->addWidget(b_day_save_);

  connect(o_week_, &QComboBox::currentIndexChanged, this, [this] { showDay(); });
  connect(cost_.edit, &QLineEdit::textEdited, this, [this] { costEdited(); });
  connect(add, &QPushButton::clicked, this, [this] { addPeriod(); });
  connect(b_tar_save_, &QPushButton::clicked, this, [this] { replacePeriod(); });
  connect(b_tar_del_, &QPushButton::clicked, this, [this] { deletePeriod(); });
  // A click selects a line, and so do the arrow keys; the list's own refills are silent.
  connect(o_tar_, &QListWidget::itemClicked, this, [this] { selectLine(); });
  connect(o_tar_, &QListWidget::currentRowChanged, this, [this] { selectLine(); });
  connect(b_day_save_, &QPushButton::clicked, this, [this] { saveDay(); });
  return panel;
}

QWidget* TabTar::buildWholeTariff() {
  auto* panel = new QWidget(this);
  panel->setObjectName("p_tar_week");
  auto* allDays = button(panel, "b_alldays", "КОПИРОВАТЬ ВО ВСЕ ДНИ НЕДЕЛИ");
  auto* guest = button(panel, "b_asGuest", "как ГОСТЕВОЙ ТАРИФ");
  auto* asDefault = button(panel, "b_asDefault", "как «DEFAULT»");
  auto* exportDay = button(panel, "b_tar_export", "ЭКСПОРТИРОВАТЬ");
  auto* importDay = button(panel, "b_tar_import", "ИМПОРТИРОВАТЬ");
  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(1);
  grid->addWidget(allDays, 0, 0, 1, 2);
  grid->addWidget(guest, 1, 0);
  grid->addWidget(asDefault, 1, 1);
  grid->addWidget(exportDay, 2, 0);
  grid->addWidget(importDay, 2, 1);
  grid->addWidget(check(panel, "o_trunc", "ОКРУГЛЯТЬ  ДО  МИНУТЬI"), 3, 0);
  grid->addWidget(check(panel, "o_credit", "ДОСТУП  В  КРЕДИТ"), 3, 1);
  connect(allDays, &QPushButton::clicked, this, [this] { copyToAllDays(); });
  connect(guest, &QPushButton::clicked, this, [this] { guestTariff(); });
  connect(asDefault, &QPushButton::clicked, this, [this] { this->asDefault(); });
  connect(exportDay, &QPushButton::clicked, this, [this] { this->exportDay(); });
  connect(importDay, &QPushButton::clicked, this, [this] { this->importDay(); });
  return panel;
}

QWidget* TabTar::buildTester() {
  auto* panel = new QWidget(this);
  panel->setObjectName("p_tar_test");
  b_test_ = button(panel, "b_test", "ПРОТЕСТИРОВАТЬ ТАРИФ");
  o_test_ = named(new QPlainTextEdit(panel), "o_test");
  o_test_->setReadOnly(true);
  o_test_->setLineWrapMode(QPlainTextEdit::NoWrap);
  o_test_->setFont(fixedPitch());
  p_test_ = named(new QProgressBar(panel), "p_test");
  p_test_->setRange(0, kMinutesPerDay);
  p_test_->setValue(0);
  p_test_->setTextVisible(false);
  p_test_->setFixedHeight(8);
  auto* column = new QVBoxLayout(panel);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(1);
  column->addWidget(b_test_);
  column->addWidget(o_test_, 1);
  column->addWidget(p_test_);
  connect(b_test_, &QPushButton::clicked, this, [this] { runTester(); });
  return panel;
}

std::string TabTar::entry() const {
  return frame_.currentEntry().toStdString();
}

int TabTar::selectedWeekday() const {
  return std::max(0, o_week_->currentIndex());
}

void TabTar::setUnsaved(bool unsaved) {
  if (unsaved)
    editor_.markUnsaved();
  else
    editor_.markSaved();
  b_day_save_->setEnabled(unsaved);
}

TariffPeriod TabTar::fieldsPeriod() const {
  return {.startHour = startHour_.edit->text().toInt(),
          .startMinute = startMinute_.edit->text().toInt(),
          .endHour = endHour_.edit->text().toInt(),
          .endMinute = endMinute_.edit->text().toInt(),
          .costPerHour = cost_.edit->text().toInt(),
          .name = e_cap_->text().toStdString()};
}

void TabTar::showInFields(const QString& periodText) {
  const auto put = [&periodText](const NumberField& f, Column c) {
    const QString text = periodText.mid(c.from, c.length);
    QSignalBlocker quiet(f.upDown);
    f.upDown->setValue(text.toInt());
    f.edit->setText(text);
  };
  put(startHour_, kStartHourColumn);
  put(startMinute_, kStartMinuteColumn);
  put(endHour_, kEndHourColumn);
  put(endMinute_, kEndMinuteColumn);
  put(cost_, kCostColumn);
  e_cap_->setText(periodText.mid(kNameColumn));
}

void TabTar::costEdited() {
  // Only a number may stand in the cost; anything else (letters, an emptied field, a sign)
  // becomes 0 at once, so the period text never carries a cost it cannot be read back with.
  const QString text = cost_.edit->text();
  bool number = false;
  const int value = text.toInt(&number);
  const bool digitsOnly = !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
    return c >= '0' && c <= '9';
  });
  QSignalBlocker quiet(cost_.upDown);
  if (!number || !digitsOnly) {
    cost_.edit->setText("0");
    cost_.upDown->setValue(0);
    return;
  }
  cost_.upDown->setValue(value);
}

bool TabTar::refused(PlanRefusal refusal) {
  if (refusal == PlanRefusal::None) return false;
  message_box::inform(qs(refusalMessage(refusal)));
  return true;
}

void TabTar::showList(int selected) {
  QSignalBlocker quiet(o_tar_);
  o_tar_->clear();
  for (const std::string& line : editor_.lines()) o_tar_->addItem(QString::fromStdString(line));
  if (selected >= 0 && selected < o_tar_->count()) o_tar_->setCurrentRow(selected);
}

void TabTar::addPeriod() {
  if (refused(editor_.add(fieldsPeriod()))) return;
  showList(o_tar_->currentRow());
  setUnsaved(true);
}

int TabTar::selectedLine() const {
  const QListWidgetItem* item = o_tar_->currentItem();
  return item && item->isSelected() ? o_tar_->currentRow() : -1;
}

void TabTar::replacePeriod() {
  const int line = selectedLine();
  if (line < 0) {
    refused(PlanRefusal::NothingSelected);
    return;
  }
  if (refused(editor_.replace(line, fieldsPeriod()))) return;
  showList(line);
  setUnsaved(true);
}

void TabTar::deletePeriod() {
  const int line = selectedLine();
  if (line < 0) {
    refused(PlanRefusal::NothingSelected);
    return;
  }
  if (message_box::askYesNo(
          qs("Вы уверены, что хотите удалить выделенный тарифный период из списка?"), false) !=
      QMessageBox::Yes)
    return;
  editor_.remove(line);
  showList(-1);
  setUnsaved(true);
}

void TabTar::selectLine() {
  const int line = selectedLine();
  if (line < 0) return;
  showInFields(o_tar_->item(line)->text());
  b_tar_save_->setEnabled(true);
  b_tar_del_->setEnabled(true);
}

void TabTar::loadIntoList(const DayPlan& plan) {
  if (!plan.empty()) {
    // The stored periods pass through the fields as typed ones would; the last stays there.
    const TariffPeriod& last = plan.back();
    const auto put = [](const NumberField& f, int value) {
      QSignalBlocker quiet(f.upDown);
      f.upDown->setValue(value);
      f.edit->setText(QString::number(value));
    };
    put(startHour_, last.startHour);
    put(startMinute_, last.startMinute);
    put(endHour_, last.endHour);
    put(endMinute_, last.endMinute);
    put(cost_, last.costPerHour);
    e_cap_->setText(QString::fromStdString(last.name));
  }
  for (PlanRefusal refusal : editor_.load(plan)) refused(refusal);
  showList(-1);
}

// Only the entry part of a load carries the entry's switches; the global part leaves the
// tariff alone.
void TabTar::loadedEntry(const SettingsValues&) {
  loadEntryTariff();
}

void TabTar::loadEntryTariff() {
  // Another entry: whatever the list held for the previous one is dropped unasked.
  setUnsaved(false);
  {
    QSignalBlocker quiet(o_week_);
    o_week_->setCurrentIndex(frame_.log().clock().now().weekday);
  }
  showDay();
}

bool TabTar::offerUnsavedDay() {
  return editor_.unsaved() &&
         message_box::askYesNo(qs("Настройки тарифа не были сохранены?\nСохранить их сейчас?"),
                               false) == QMessageBox::Yes &&
         storePlans({{shownWeekday_, editor_.plan()}});
}

void TabTar::showCurrencyCaptions(const CurrencyCaptions& captions) {
  s_tax_->setText(qs(captions.tariffUnit));
}

void TabTar::settleUnsaved() {
  // After No the list keeps its changes (and СОХРАНИТЬ) while the dialog stays open.
  if (offerUnsavedDay()) setUnsaved(false);
}

void TabTar::showDay() {
  offerUnsavedDay();
  const IniFile config(frame_.files().config());
  loadIntoList(readDayPlan(config, tariffSection(config, entry()), selectedWeekday()));
  setUnsaved(false);
  b_tar_save_->setEnabled(false);
  b_tar_del_->setEnabled(false);
  shownWeekday_ = selectedWeekday();
}

}  // namespace tarvik
