#pragma once

#include "settings/qt/settings_tab.h"

class QLabel;
class QTimer;

namespace tarvik {

class LinkLabel;

// Page 4 "ИНФОРМАЦИЯ": the program's name and version, the help link and the manual's start,
// or, without a manual, the links to download one.
class TabInfo : public SettingsTab {
  Q_OBJECT

 public:
  explicit TabInfo(SettingsFrame& frame);

  // The help-file check, at every show of the dialog.
  void prepareShow() override;
  bool helpFound() const { return helpFound_; }
  // F1 without a manual: the download links blink red and blue a dozen times.
  void blinkDownloadLinks();
  // One tick of the blinking (the timer's, reachable for tests).
  void blinkStep();

 private:
  QWidget* buildServer();
  void colourDownloadLinks(Qt::GlobalColor colour);

  QLabel* t_version_ = nullptr;
  QWidget* p_server_ = nullptr;
  LinkLabel* w_hlp_ = nullptr;
  LinkLabel* w_manual_ = nullptr;
  LinkLabel* w_hlp_a_ = nullptr;
  LinkLabel* w_hlp_z_ = nullptr;
  QTimer* t_blink_ = nullptr;
  int blinkTicks_ = 0;
  bool helpFound_ = false;
};

}  // namespace tarvik
