#pragma once

#include <array>

#include "settings/qt/settings_tab.h"
#include "stats/currency_names.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

class QLayout;

namespace tarvik {

class UpDown;

// Page 8 "СООБЩЕНИЯ" of the entry: balloon duplication, the zero-balance signal, the online
// beeps, the connect and disconnect sounds, the balance warnings and the monthly budget with
// its estimate, and the warning before a dearer tariff period.
class TabMsg : public SettingsTab {
 public:
  explicit TabMsg(SettingsFrame& frame);

  // Compares this month's expenses of the entry shown with its budget so far; also to be run
  // whenever the statistics of that entry change.
  void showMonthEstimate();
  // The balloon duplication exists only with the balloons of the general page on.
  void setBalloonDuplication(bool available);
  // The budget's and the balance warnings' units name the entry's currency.
  void showCurrencyCaptions(const CurrencyCaptions& captions);

 protected:
  void loadedGlobal(const SettingsValues& values) override;
  void loadedEntry(const SettingsValues& values) override;

 private:
  // A sound with its file: beep box, wave box, file, test "!!!" and browse "...".
  struct SoundRow {
    QCheckBox* beep = nullptr;
    QCheckBox* wave = nullptr;
    QLineEdit* file = nullptr;
    QPushButton* test = nullptr;
    QPushButton* browse = nullptr;
  };

  QWidget* buildDouble();
  QWidget* buildZero();
  QWidget* buildCell();
  QWidget* buildSounds();
  QWidget* buildWarnings();
  QWidget* buildMonth();
  QLayout* buildRise(QWidget* z);
  // The names of one sound's controls, as the binding table knows them.
  struct SoundNames {
    const char* beep;
    const char* wave;
    const char* file;
    const char* test;
    const char* browse;
  };
  SoundRow soundRow(QWidget* parent, const SoundNames& names);
  void connectSound(const SoundRow& row, int tune, bool alwaysBeep);
  void updateEnabling();
  void checkThresholds();
  void monthLimitChanged();

  SoundRow zero_, on_, of_;
  QCheckBox* o_cell_sec_ = nullptr;
  UpDown* ud_sec_ = nullptr;
  std::array<QCheckBox*, 4> o_warn_{};
  std::array<QLineEdit*, 4> e_warn_{};
  std::array<UpDown*, 4> ud_warn_{};
  QCheckBox* o_rise_ = nullptr;
  UpDown* ud_rise_ = nullptr;
  QLineEdit* e_month_ = nullptr;
  QLabel* p_month_ = nullptr;
  QLabel* s_month_ = nullptr;
  QLabel* s_centz_ = nullptr;
  // The budget last typed as a whole number; text that is not one gives way to it.
  int monthLimit_ = 0;
};

}  // namespace tarvik
