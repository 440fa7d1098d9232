#include "app/first_run.h"

#include <algorithm>

#include "config/keys.h"

namespace tarvik {

bool nothingConfigured(const IniFile& config, std::span<const std::string> phonebookEntries) {
  if (hasOwnSettings(config, kDefaultEntry)) return false;
  return std::none_of(
      phonebookEntries.begin(), phonebookEntries.end(),
      [&config](const std::string& entry) { return hasOwnSettings(config, entry); });
}

}  // namespace tarvik
