#pragma once

#include "config/keys.h"
#include "settings/qt/settings_tab.h"

class QLineEdit;

namespace tarvik {

// Checks an edit of a count (seconds, or the minutes of the rise warning) at every change: text
// that is not a number gives way to the value stored for the entry shown (or the key's default); a
// delay of zero or less becomes 1, and where zero is allowed a negative count becomes 0.
void checkCountOnChange(QLineEdit* edit, const IntKey<Scope::Entry>& key, bool zeroAllowed,
                        SettingsFrame& frame);

}  // namespace tarvik
