#include "status/account_display.h"

#include "config/ini_file.h"
#include "config/keys.h"

namespace tarvik {

bool storeAccountDisplay(const ProgramFiles& files, std::string_view settingsEntry,
                         bool accountShown) {
  const auto section = sections::entry(settingsEntry);
  try {
    IniFile config(files.config());
    IniEdit edit(config);
    writeSwitch(edit, section, entry_keys::kAccountDisplay, accountShown);
    if (accountShown) writeSwitch(edit, section, entry_keys::kCurrencyDisplay, true);
    edit.commit();
    return true;
  } catch (const IniWriteError&) {
    return false;
  }
}

}  // namespace tarvik
