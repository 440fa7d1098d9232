#pragma once

#include <QGroupBox>

#include "settings/page_keys.h"

class QCheckBox;

namespace tarvik {

class SettingsFrame;
class UpDown;

// The entry's data limit: its size and unit, the span, what it
// counts, the warning share and the hang-up. The controls are bound by their names; the group
// only switches them on and off with their boxes.
class DataLimitGroup : public QGroupBox {
 public:
  DataLimitGroup(QWidget* parent, PageId page, SettingsFrame& frame);

  void updateEnabling();

 private:
  QCheckBox* o_limit_ = nullptr;
  QCheckBox* o_limit_warn_ = nullptr;
  UpDown* ud_limit_ = nullptr;
  UpDown* ud_limit_share_ = nullptr;
  std::vector<QWidget*> limited_;  // enabled while the limit is on
};

}  // namespace tarvik
