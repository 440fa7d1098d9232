#include "settings/qt/pages/tab_cur.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "config/keys.h"
#include "config/number_text.h"
#include "settings/qt/page_widgets.h"
#include "settings/qt/pages/data_limit_group.h"

namespace tarvik {

namespace {

QString qs(const std::string& utf8) {
  return QString::fromStdString(utf8);
}

}  // namespace

using namespace widgets;

TabCur::TabCur(SettingsFrame& frame) : SettingsTab(PageId::Cur, frame, "tabCur") {
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(2);
  grid->addWidget(buildCopy(), 0, 0);
  grid->addWidget(buildAccounts(), 0, 1);
  grid->addWidget(buildCurrency(), 0, 2);
  grid->addWidget(buildDisplayMode(), 1, 0, 1, 3);
  // The data limit is the account's too, and the messages' page has no room left.
  grid->addWidget(new DataLimitGroup(this, id(), frame_), 2, 0, 1, 3);
  grid->setRowStretch(3, 1);
  currency_ = currencyNames(0, defaultCustomCurrency());
  bindControls();
  currencyChanged();
  updateEnabling();
}

QWidget* TabCur::buildCopy() {
  auto* z = group(this, "z_copy", " н а с т р о й к и ");
  auto* s_copy = label(z, "s_copy", "КОПИРОВАТЬ\nВСЕ  НАСТРОЙКИ\nИЗ  УЧЕТНОЙ  ЗАПИСИ");
  o_entry_src_ = named(new QComboBox(z), "o_entry_src");
  o_entry_src_->setMaxVisibleItems(11);
  auto* b_copy = button(z, "b_copy", "КОПИРОВАТЬ");
  auto* column = new QVBoxLayout(z);
  column->addWidget(s_copy);
  column->addWidget(o_entry_src_);
  column->addWidget(b_copy);
  connect(b_copy, &QPushButton::clicked, this,
          [this] { frame_.copySettingsFrom(o_entry_src_->currentText()); });
  return z;
}

QWidget* TabCur::buildAccounts() {
  auto* z = group(this, "z_group", " о п ц и и    с ч ё т а ");
  o_acc_individual_ = radio(z, "o_acc_individual", "ИСПОЛЬЗОВАТЬ  ИНДИВИДУАЛЬНЬIЙ  СЧЕТ");
  o_acc_ = {radio(z, "o_acc_1", "ИСПОЛЬЗОВАТЬ  ОБЩИЙ  СЧЕТ  ГРУППЬI  #1     >>>    $"),
            radio(z, "o_acc_2", "ИСПОЛЬЗОВАТЬ  ОБЩИЙ  СЧЕТ  ГРУППЬI  #2    >>>    $"),
            radio(z, "o_acc_3", "ИСПОЛЬЗОВАТЬ  ОБЩИЙ  СЧЕТ  ГРУППЬI  #3    >>>    $")};
  e_acc_ = {edit(z, "e_acc_1"), edit(z, "e_acc_2"), edit(z, "e_acc_3")};
  auto* grid = new QGridLayout(z);
  grid->addWidget(o_acc_individual_, 0, 0, 1, 2);
  for (int i = 0; i < 3; ++i) {
    e_acc_[i]->setFixedWidth(46);
    e_acc_[i]->setText("0");
    grid->addWidget(o_acc_[i], i + 1, 0);
    grid->addWidget(e_acc_[i], i + 1, 1);
    connect(e_acc_[i], &QLineEdit::textEdited, this, [this, i] { checkGroupBalance(e_acc_[i]); });
  }
  for (QRadioButton* r : {o_acc_individual_, o_acc_[0], o_acc_[1], o_acc_[2]})
    connect(r, &QRadioButton::toggled, this, [this] {
      updateEnabling();
      emit changed();
    });
  return z;
}

QWidget* TabCur::buildCurrency() {
  auto* z = group(this, "z_cur", " в а л ю т а ");
  o_cur_ = named(new QComboBox(z), "o_cur");
  for (const std::string& item : currencyItems(defaultCustomCurrency().name))
    o_cur_->addItem(qs(item));
  o_cur_show_ = named(new QComboBox(z), "o_cur_show");
  e_cur_ = edit(z, "e_cur");
  e_cur_s_ = edit(z, "e_cur_s");
  e_cur_sub_ = edit(z, "e_cur_sub");
  e_cur_sub_s_ = edit(z, "e_cur_sub_s");
  // Signs have room for two characters in the status window.
  for (QLineEdit* sign : {e_cur_s_, e_cur_sub_s_}) {
    sign->setMaxLength(entry_keys::kCurrencyCustomAZ.maxLength);
    sign->setFixedWidth(24);
  }
  const CurrencyNames custom = defaultCustomCurrency();
  e_cur_->setText(qs(custom.name));
  e_cur_s_->setText(qs(custom.sign));
  e_cur_sub_->setText(qs(custom.hundredthName));
  e_cur_sub_s_->setText(qs(custom.hundredthSign));
  auto* grid = new QGridLayout(z);
  grid->addWidget(o_cur_, 0, 0, 1, 2);
  grid->addWidget(o_cur_show_, 1, 0, 1, 2);
  grid->addWidget(e_cur_, 2, 0);
  grid->addWidget(e_cur_s_, 2, 1);
  grid->addWidget(e_cur_sub_, 3, 0);
  grid->addWidget(e_cur_sub_s_, 3, 1);
  connect(o_cur_, &QComboBox::currentIndexChanged, this, [this] { currencyChanged(); });
  for (QLineEdit* field : {e_cur_, e_cur_s_, e_cur_sub_, e_cur_sub_s_})
    connect(field, &QLineEdit::textChanged, this, [this] { customFieldChanged(); });
  return z;
}

QWidget* TabCur::buildDisplayMode() {
  auto* z = group(this, "z_state",
                  " р е ж и м    о т о б р а ж е н и я    и н д и к а т о р а    ф и н а н с о в  "
                  "  o n l i n e ");
  o_account_ = radio(z, "o_account", "СОСТОЯНИЕ  СЧЕТА");
  o_expences_ = radio(z, "o_expences", "ТЕКУЩИЕ  ФИНАНСОВЬIЕ  ЗАТРАТЬI");
  auto* row = new QHBoxLayout(z);
  row->addWidget(o_account_);
  row->addWidget(o_expences_);
  row->addStretch();
  for (QRadioButton* r : {o_account_, o_expences_})
    connect(r, &QRadioButton::toggled, this, [this](bool on) {
      if (on) moneyFieldChosen();
    });
  return z;
}

void TabCur::currencyChanged() {
  if (!o_cur_show_) return;
  const int shown = std::max(0, o_cur_show_->currentIndex());
  const int index = std::max(0, o_cur_->currentIndex());
  currency_ =
      currencyNames(index, {e_cur_->text().toStdString(), e_cur_s_->text().toStdString(),
                            e_cur_sub_->text().toStdString(), e_cur_sub_s_->text().toStdString()});
  o_cur_show_->clear();
  for (const std::string& item : moneyDisplayItems(currency_)) o_cur_show_->addItem(qs(item));
  updateEnabling();
  emit currencyCaptionsChanged(currencyCaptions(currency_));
  o_cur_show_->setCurrentIndex(shown);
  emit changed();
}

void TabCur::customFieldChanged() {
  emit changed();
  if (o_cur_->currentIndex() != static_cast<int>(Currency::Custom)) return;
  // The list shows the custom currency under the name being typed.
  const QSignalBlocker quiet(o_cur_);
  o_cur_->setItemText(static_cast<int>(Currency::Custom), e_cur_->text());
  o_cur_->setCurrentIndex(static_cast<int>(Currency::Custom));
  currencyChanged();
}

void TabCur::moneyFieldChosen() {
  // A balance is always shown in whole units.
  if (o_account_->isChecked()) o_cur_show_->setCurrentIndex(1);
  updateEnabling();
  emit changed();
}

void TabCur::checkGroupBalance(QLineEdit* field) {
  if (!parseDecimal(field->text().toStdString())) reloadGroupBalances();
}

void TabCur::reloadGroupBalances() {
  for (int i = 0; i < 3; ++i)
    e_acc_[i]->setText(
        qs(shownBalance(frame_.host(), frame_.files(), accountKey({}, kAccountGroup1 + i))));
}

void TabCur::updateEnabling() {
  const bool custom = o_cur_->currentIndex() == static_cast<int>(Currency::Custom);
  for (QLineEdit* field : {e_cur_, e_cur_s_, e_cur_sub_, e_cur_sub_s_}) field->setEnabled(custom);
  for (int i = 0; i < 3; ++i) e_acc_[i]->setEnabled(o_acc_[i]->isChecked());
  o_cur_show_->setEnabled(o_expences_->isChecked());
}

void TabCur::loadedEntry(const SettingsValues& values) {
  namespace e = entry_keys;
  // The pair stands for the four switches; the first group switched on is the account the
  // entry really pays from, so that is the one shown.
  QRadioButton* chosen = o_acc_individual_;
  const std::array providers{e::kAccountProvider1, e::kAccountProvider2, e::kAccountProvider3};
  for (int i = 2; i >= 0; --i)
    if (values.number(providers[i]) != 0) chosen = o_acc_[i];
  chosen->setChecked(true);
  {
    const QSignalBlocker quiet(o_cur_);
    o_cur_->setItemText(static_cast<int>(Currency::Custom), e_cur_->text());
  }
  currencyChanged();
  const int display = values.number(e::kCurrencyDisplay);
  o_cur_show_->setCurrentIndex(display != 0 ? 1 : 0);
  moneyFieldChosen();
}

void TabCur::saving(SettingsValues& values) const {
  namespace e = entry_keys;
  values.set(e::kCurrencyDisplayA, currency_.sign);
  values.set(e::kCurrencyDisplayZ, currency_.hundredthSign);
  values.set(e::kAccountPersonal, o_acc_individual_->isChecked() ? 1 : 0);
  const std::array providers{e::kAccountProvider1, e::kAccountProvider2, e::kAccountProvider3};
  for (int i = 0; i < 3; ++i) values.set(providers[i], o_acc_[i]->isChecked() ? 1 : 0);
}

}  // namespace tarvik
