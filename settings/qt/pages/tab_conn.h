#pragma once

#include "settings/qt/settings_tab.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tarvik {

class UpDown;

// Page 7 "СОЕДИНЕНИЕ" of the entry: the programs launched on connecting, the time limit, the
// free seconds, when the status window shows and hides, and when metering starts.
class TabConn : public SettingsTab {
 public:
  explicit TabConn(SettingsFrame& frame);

 protected:
  void loadedGlobal(const SettingsValues& values) override;
  void loadedEntry(const SettingsValues& values) override;
  void saving(SettingsValues& values) const override;

 private:
  QWidget* buildPrograms();
  QWidget* buildHangUp();
  QWidget* buildFree();
  QWidget* buildVisibility();
  QWidget* buildMetering();
  void updateEnabling();
  void addProgram();
  void launchPrograms();

  QCheckBox* o_app_ = nullptr;
  QPlainTextEdit* o_apps_ = nullptr;
  QPushButton* o_add_ = nullptr;
  QPushButton* o_del_ = nullptr;
  QPushButton* o_launch_ = nullptr;
  QCheckBox* o_hangup_ = nullptr;
  UpDown* ud_hangup_ = nullptr;
  QCheckBox* o_sw_of_ = nullptr;
  UpDown* ud_hide_ = nullptr;
};

}  // namespace tarvik
