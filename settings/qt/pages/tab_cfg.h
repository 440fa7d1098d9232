#pragma once

#include "platform/autostart.h"
#include "settings/qt/settings_tab.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;

namespace tarvik {

// Page 0 "ПАРАМЕТРЬI": balloon tips, the double-click action, account use, the indicator type,
// the window position (previewed live), start-up and the reset of all settings.
class TabCfg : public SettingsTab {
  Q_OBJECT

 public:
  explicit TabCfg(SettingsFrame& frame);

  void prepareShow() override;
  // The status window's top-left corner after a drag, shown as the origin choice measures it;
  // the fields are off meanwhile, so that the preview does not move the window back.
  void showWindowPosition(int left, int top);

 signals:
  // Balloons were switched; the frame passes it to the pages whose options need them.
  void balloonsSwitched(bool on);

 protected:
  void loadedGlobal(const SettingsValues& values) override;
  void loadedEntry(const SettingsValues& values) override;

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
  void readAutostartState();
  // The registration follows the controls at once. `whileLoading`: also during a load (the
  // load's own pass, which re-registers a moved program).
  void autostartClicked(bool whileLoading);
  // The scope a new registration goes to: all users only for someone who may write there.
  QRadioButton* defaultScope() const;
  bool& locked(AutostartScope scope) {
    return scope == AutostartScope::AllUsers ? allLocked_ : userLocked_;
  }
  // A write to `scope` failed: that scope stays off, the user is told, the other goes on.
  void autostartFailed(AutostartScope scope, bool whileLoading);

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
  QCheckBox* o_autostart_ = nullptr;
  QRadioButton* o_user_ = nullptr;
  QRadioButton* o_machine_ = nullptr;
  // Set when a write to the scope failed: its control stays off for the dialog's life.
  bool userLocked_ = false;
  bool allLocked_ = false;
  // Whether this user may write both scopes; anyone else chooses the scope before ticking.
  bool bothWritable_ = true;
  QPushButton* b_extend_ = nullptr;
  QWidget* p_extra_ = nullptr;
  QCheckBox* o_reinit_ = nullptr;
  QSlider* x_reinit_ = nullptr;
  QLabel* s_reinit_ = nullptr;
  QLabel* s_39_ = nullptr;
};

}  // namespace tarvik
