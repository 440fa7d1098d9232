#pragma once

#include "settings/qt/settings_tab.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSlider;
class QSpinBox;

namespace tarvik {

// Page 0 "ПАРАМЕТРЬI": balloon tips, the double-click action, account use, the indicator type,
// the window position (previewed live), start-up and the reset of all settings.
class TabCfg : public SettingsTab {
 public:
  explicit TabCfg(SettingsFrame& frame);

  void prepareShow() override;

 protected:
  void loaded(const SettingsValues& values) override;

 private:
  QWidget* buildBalloon();
  QWidget* buildDoubleClick();
  QWidget* buildAccountUse();
  QWidget* buildIndicator();
  QWidget* buildPosition();
  QWidget* buildStart();
  void updateEnabling();
  void actionChosen(int index);
  void checkSingleAccount();
  void showIndicator();
  void previewPosition();

  QCheckBox* o_balloon_ = nullptr;
  QSpinBox* e_balloon_ = nullptr;
  QComboBox* o_dbl_ = nullptr;
  QCheckBox* o_acc_one_ = nullptr;
  QLineEdit* e_acc_one_ = nullptr;
  QRadioButton* o_t_[4] = {};
  QLabel* i_indicator_ = nullptr;
  QSpinBox* e_xx_ = nullptr;
  QSpinBox* e_yy_ = nullptr;
  QRadioButton* o_topleft_ = nullptr;
  QCheckBox* o_reinit_ = nullptr;
  QSlider* x_reinit_ = nullptr;
  QLabel* s_reinit_ = nullptr;
  QLabel* s_39_ = nullptr;
};

}  // namespace tarvik
