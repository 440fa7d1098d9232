#include "status/account_display.h"

#include "config/entry_section.h"
#include "config/ini_file.h"
#include "config/keys.h"

namespace tarvik {

bool storeAccountDisplay(const ProgramFiles& files, std::string_view settingsEntry,
                         bool accountShown) {
  const std::string section = sectionForEntry(settingsEntry);
  try {
    IniFile config(files.config());
    IniEdit edit(config);
    edit.writeInt(section, entry_keys::kAccountDisplay.name, accountShown ? 1 : 0);
    if (accountShown) edit.writeInt(section, entry_keys::kCurrencyDisplay.name, 1);
    edit.commit();
    return true;
  } catch (const IniWriteError&) {
    return false;
  }
}

}  // namespace tarvik
