#pragma once

#include <array>

#include "settings/qt/settings_tab.h"
#include "stats/currency_names.h"

class QComboBox;
class QLineEdit;
class QRadioButton;

namespace tarvik {

// Page 5 "ВАЛЮТА" of the entry: copying another entry's settings, the account the entry pays
// from, the currency with the captions that name it on every page, and what the status
// window's money field shows, and the entry's data limit.
class TabCur : public SettingsTab {
  Q_OBJECT

 public:
  explicit TabCur(SettingsFrame& frame);

  // The currency shown now: its signs are what the entry's save stores.
  const CurrencyNames& currency() const { return currency_; }
  // The shared group balances as the accounts file holds them now.
  void reloadGroupBalances();

 signals:
  // The currency changed: the pages that name it take its captions.
  void currencyCaptionsChanged(const CurrencyCaptions& captions);

 protected:
  void loadedEntry(const SettingsValues& values) override;
  void saving(SettingsValues& values) const override;

 private:
  QWidget* buildCopy();
  QWidget* buildAccounts();
  QWidget* buildCurrency();
  QWidget* buildDisplayMode();
  void currencyChanged();
  void customFieldChanged();
  void moneyFieldChosen();
  void checkGroupBalance(QLineEdit* field);
  void updateEnabling();

  QComboBox* o_entry_src_ = nullptr;
  QRadioButton* o_acc_individual_ = nullptr;
  std::array<QRadioButton*, 3> o_acc_{};
  std::array<QLineEdit*, 3> e_acc_{};
  QComboBox* o_cur_ = nullptr;
  QComboBox* o_cur_show_ = nullptr;
  QLineEdit* e_cur_ = nullptr;
  QLineEdit* e_cur_s_ = nullptr;
  QLineEdit* e_cur_sub_ = nullptr;
  QLineEdit* e_cur_sub_s_ = nullptr;
  QRadioButton* o_account_ = nullptr;
  QRadioButton* o_expences_ = nullptr;
  CurrencyNames currency_;
};

}  // namespace tarvik
