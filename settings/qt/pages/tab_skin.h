#pragma once

#include <string>

#include "settings/qt/settings_tab.h"
#include "settings/skin_page_texts.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;
class QTimer;

namespace tarvik {

class LinkLabel;

// Page 2 "ИНТЕРФЕЙС": transparency and fading (previewed live on the status window), the skin
// choice with the information on the active and the picked skin, and the visibility priority.
class TabSkin : public SettingsTab {
  Q_OBJECT

 public:
  explicit TabSkin(SettingsFrame& frame);

  // One second of the countdown for picking an external skin (the timer's tick).
  void countdownStep();

 protected:
  void loadedGlobal(const SettingsValues& values) override;
  void loadedEntry(const SettingsValues& values) override;
  void saving(SettingsValues& values) const override;

 private:
  // The name, version, author, e-mail and web panels of one column of the information panel.
  struct InfoColumn {
    QLabel* name = nullptr;
    QLabel* version = nullptr;
    QLabel* author = nullptr;
    LinkLabel* email = nullptr;
    LinkLabel* web = nullptr;
  };

  QWidget* buildTransparency();
  QWidget* buildInfo();
  QWidget* buildSkin();
  QWidget* buildUpdate();
  QWidget* buildAbsolute();
  InfoColumn buildInfoColumn(QWidget* parent, const char* prefix);
  void showInfo(const InfoColumn& column, const SkinPanelTexts& texts);
  void updateEnabling();
  void showTrackValues();
  void previewTransparency();
  void builtinChosen(int builtin);
  void selectRememberedBuiltin();
  void externalChosen();
  void loadExternal();
  void stopCountdown();
  void showCountdown();

  QCheckBox* o_transpar_ = nullptr;
  QSlider* x_transpar_ = nullptr;
  QLabel* s_transpar_ = nullptr;
  QCheckBox* o_fade_ = nullptr;
  QSlider* x_fade_ = nullptr;
  QLabel* s_fade_ = nullptr;
  InfoColumn act_;
  InfoColumn new_;
  QRadioButton* o_int_def_ = nullptr;
  QRadioButton* o_int_adv_ = nullptr;
  QRadioButton* o_ext_ = nullptr;
  QPushButton* b_load_ = nullptr;
  QTimer* t_countdown_ = nullptr;
  int secondsLeft_ = 0;
  bool applyWasEnabled_ = false;
  // The built-in skin last chosen (0 standard, 1 advanced), which the countdown returns to.
  int builtin_ = 1;
  // The picked external skin's folder with a trailing separator; empty while none is picked.
  std::string externalName_;
};

}  // namespace tarvik
