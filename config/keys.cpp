#include "config/keys.h"

#include <algorithm>

#include "config/entry_section.h"

namespace tarvik {

std::string entry_keys::exeLineKey(int line) {
  return std::string(kExeLinePrefix) + std::to_string(line);
}

std::string entry_keys::readExeLine(const IniFile& file, std::string_view section, int line) {
  return file.readString(section, exeLineKey(line), "");
}

int readKey(const IniFile& file, std::string_view section, IntKey key) {
  return file.readInt(section, key.name, key.def);
}

std::string readKey(const IniFile& file, std::string_view section, TextKey key) {
  return file.readString(section, key.name, key.def);
}

bool readSwitch(const IniFile& file, std::string_view section, IntKey key) {
  return readKey(file, section, key) != 0;
}

void writeSwitch(IniFile& file, std::string_view section, IntKey key, bool on) {
  file.writeInt(section, key.name, on ? 1 : 0);
}

void writeKey(IniFile& file, std::string_view section, IntKey key, int value) {
  file.writeInt(section, key.name, value);
}

void writeKey(IniFile& file, std::string_view section, TextKey key, std::string_view value) {
  file.writeString(section, key.name, value);
}

bool hasOwnSettings(const IniFile& config, std::string_view section) {
  return readKey(config, section, entry_keys::kDone) != 0;
}

std::string resolveSettingsEntry(std::string_view entry,
                                 std::span<const std::string> phonebookEntries,
                                 const IniFile& config) {
  const bool listed =
      std::find(phonebookEntries.begin(), phonebookEntries.end(), entry) != phonebookEntries.end();
  if (!listed || !hasOwnSettings(config, sectionForEntry(entry))) {
    return std::string(kDefaultEntry);
  }
  return std::string(entry);
}

}  // namespace tarvik
