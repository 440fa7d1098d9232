#pragma once

#include "settings/qt/settings_tab.h"

class QComboBox;

namespace tarvik {

// The currency page of the entry. So far it holds the copy group; the account options, the
// money display mode and the currency are still to come.
class TabCur : public SettingsTab {
 public:
  explicit TabCur(SettingsFrame& frame);

 private:
  QComboBox* o_entry_src_;
};

}  // namespace tarvik
