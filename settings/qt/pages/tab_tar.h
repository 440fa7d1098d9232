#pragma once

#include <string>
#include <utility>
#include <vector>

#include "settings/qt/settings_tab.h"
#include "stats/currency_names.h"
#include "tariff/day_plan_editor.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;

namespace tarvik {

// Page 6 "ТАРИФЬI": the weekly tariff of the entry, one weekday's plan at a time, its export
// and import as a single-day file, and the tester that looks up every minute of the day. The
// list and its checks live in DayPlanEditor; the page shows them and does the writes.
class TabTar : public SettingsTab {
 public:
  explicit TabTar(SettingsFrame& frame);

  // Unsaved changes of the list are offered for saving, as a change of weekday offers them.
  void settleUnsaved() override;
  // The cost's unit names the entry's currency.
  void showCurrencyCaptions(const CurrencyCaptions& captions);

 protected:
  void loadedEntry(const SettingsValues& values) override;

 private:
  // A read-only (or, for the cost, typed) number with its up-down arrows beside it.
  struct NumberField {
    QLineEdit* edit = nullptr;
    QSpinBox* upDown = nullptr;
  };
  NumberField numberField(QWidget* parent, const char* editName, const char* upDownName, int min,
                          int max, int step, int initial);
  QWidget* buildPeriodEditor();
  QWidget* buildWholeTariff();
  QWidget* buildTester();

  // The list and its fields (tab_tar.cpp).
  TariffPeriod fieldsPeriod() const;
  void showInFields(const QString& periodText);
  void costEdited();
  void addPeriod();
  void replacePeriod();
  void deletePeriod();
  void selectLine();
  // The line selected in the list, or -1.
  int selectedLine() const;
  void showList(int selected);
  // Shows the refusal's message; true when the period or the edit was refused.
  bool refused(PlanRefusal refusal);
  // Puts a stored plan into the list as typed periods would be, with the message of every
  // period left out; the fields end with the last period's values.
  void loadIntoList(const DayPlan& plan);
  void loadEntryTariff();
  void showDay();
  // Asks about the list's unsaved changes and, on Yes, stores them for the weekday shown;
  // true when they were stored.
  bool offerUnsavedDay();
  void setUnsaved(bool unsaved);

  // Whole-tariff operations and the files (tab_tar_writes.cpp).
  bool ensureOwnSettings();
  // Stores day plans in the entry's own section in one replacement of the file.
  bool storePlans(const std::vector<std::pair<int, DayPlan>>& days);
  void saveDay();
  void copyToAllDays();
  void guestTariff();
  void asDefault();
  void exportDay();
  void importDay();

  // The tester (tab_tar_tester.cpp).
  void runTester();

  std::string entry() const;
  int selectedWeekday() const;

  DayPlanEditor editor_;
  int shownWeekday_ = 0;

  QComboBox* o_week_ = nullptr;
  NumberField startHour_, startMinute_, endHour_, endMinute_, cost_;
  QLineEdit* e_cap_ = nullptr;
  QListWidget* o_tar_ = nullptr;
  QPushButton* b_tar_save_ = nullptr;
  QPushButton* b_tar_del_ = nullptr;
  QPushButton* b_day_save_ = nullptr;
  QPushButton* b_test_ = nullptr;
  QPlainTextEdit* o_test_ = nullptr;
  QProgressBar* p_test_ = nullptr;
  QLabel* s_tax_ = nullptr;
};

}  // namespace tarvik
