#pragma once

#include <vector>

#include "settings/qt/settings_tab.h"
#include "stats/currency_names.h"
#include "stats/statistics_sheet.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tarvik {

class StatGraph;
class Statistics;

// Page 9 "СТАТИСТИКА": the entry's statistics grid, its own balance, the weekly graph, and
// the report (saved or printed), clearing and taking the last connection back.
class TabStat : public SettingsTab {
  Q_OBJECT

 public:
  explicit TabStat(SettingsFrame& frame);
  ~TabStat() override;

  // The grid, the balance field, the undo button and the monthly estimate of the dialog's
  // entry, as the files hold them now.
  void showStatistics();
  // The seven bars on the checked axis and maximum.
  void showGraph();
  // The captions that name the entry's currency: the money row, the balance, the money axes.
  void setCurrency(const CurrencyNames& currency);
  // The same captions as the currency page words them while it is being changed.
  void showCurrencyCaptions(const CurrencyCaptions& captions);

  StatGraph* graph() const { return graph_; }

 signals:
  // The grid shows this month's money anew; the budget page's estimate reads it.
  void statisticsShown();

 protected:
  void prepareShow() override;
  void loadedEntry(const SettingsValues& values) override;
  void saving(SettingsValues& values) const override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* buildGrid();
  QWidget* buildBalance();
  QWidget* buildActions();
  std::string entry() const;
  Statistics statistics() const;

  // The balance field: open for editing, store, put back.
  void openBalance();
  void storeBalance();
  void restoreBalance();
  void closeBalance();
  void balanceEdited();
  void showBalanceColour();

  // The four actions and the hidden weekend option.
  bool makeReport(const std::filesystem::path& file);
  void saveReport();
  void printReport();
  void clearStatistics();
  void undoLastConnection();
  void switchWeekendColours();
  void applyWeekendColours();

  StatisticsSheet shownSheet() const;

  std::vector<QLabel*> cells_;  // in the order of the sheet's rows and columns
  QLabel* p_exp_ = nullptr;
  QLabel* s_acc_ = nullptr;
  QLineEdit* e_acc_ = nullptr;
  QPushButton* b_acc_ = nullptr;
  QLabel* p_acc_ind_ = nullptr;
  QPushButton* b_undo_ = nullptr;
  QLabel* p_limit_ = nullptr;  // the data limit's share, shown while the entry has one
  QPlainTextEdit* o_stat_ = nullptr;
  StatGraph* graph_ = nullptr;
  CurrencyNames currency_;
};

}  // namespace tarvik
