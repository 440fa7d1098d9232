#pragma once

#include "settings/qt/settings_tab.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tarvik {

// Page 1 "ПРОГРАММА": the tariff field, the warning indicator and its sounds, the inactive
// display, the event log's monthly clearing, the crash protection, and viewing and clearing
// the two logs.
class TabApp : public SettingsTab {
 public:
  explicit TabApp(SettingsFrame& frame);

 protected:
  void loadedGlobal(const SettingsValues& values) override;
  void loadedEntry(const SettingsValues& values) override;

 private:
  QWidget* buildTariff();
  QWidget* buildWarning();
  QWidget* buildInactive();
  QWidget* buildLog();
  QWidget* buildSecurity();
  QWidget* buildLogButtons();
  void viewEventLog();
  void viewQuickLog();
  void clearEventLog();
  void clearQuickLog();
  void updateEnabling();
  void testWarningSound();
  void showSecurityLevel();

  QCheckBox* o_warn_beep_ = nullptr;
  QCheckBox* o_warn_wav_ = nullptr;
  QLineEdit* e_warning_ = nullptr;
  QPushButton* e_warn_test_ = nullptr;
  QPushButton* e_warn_browse_ = nullptr;
  QCheckBox* o_security_ = nullptr;
  QCheckBox* o_seq_1_ = nullptr;
  QCheckBox* o_seq_2_ = nullptr;
  QLabel* s_security_ = nullptr;
};

}  // namespace tarvik
