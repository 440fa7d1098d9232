#pragma once

#include <string_view>

#include "config/program_files.h"

namespace tarvik {

// "Показывать счёт" / "Показывать затраты": stores in the settings entry's section whether the
// money field shows the account balance. The balance is always shown in whole units, so
// choosing it also switches the entry to whole units; going back to expenses leaves the units as
// they are. Returns false when the settings file could not be written.
bool storeAccountDisplay(const ProgramFiles& files, std::string_view settingsEntry,
                         bool accountShown);

}  // namespace tarvik
