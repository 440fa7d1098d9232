#pragma once

#include <map>
#include <string>
#include <string_view>

#include "config/ini_file.h"
#include "platform/event_log.h"
#include "settings/setting_key.h"

namespace tarvik {

// What the settings dialog shows: every value as the text it is stored as (numbers in
// decimal), held by the typed keys of config/keys.h, so a value falls back to its key's own
// default. The global part and the entry part are loaded into separate sets, so that loading
// one part never touches the controls of the other.
class SettingsValues {
 public:
  bool has(const SettingKey& key) const { return values_.contains(key.view()); }
  // The stored text, or "" for a key this set does not hold.
  std::string text(const SettingKey& key) const;
  // The text by the program's integer rule; the key's default for a key this set does not
  // hold.
  int number(const SettingKey& key) const;
  void set(const SettingKey& key, std::string value) {
    values_[std::string(key.view())] = std::move(value);
  }
  void set(const SettingKey& key, int value) { set(key, std::to_string(value)); }

  // The same, straight from a key of config/keys.h.
  template <TypedKey Key>
  bool has(const Key& key) const {
    return has(settingKey(key));
  }
  template <TypedKey Key>
  std::string text(const Key& key) const {
    return text(settingKey(key));
  }
  template <TypedKey Key>
  int number(const Key& key) const {
    return number(settingKey(key));
  }
  template <TypedKey Key, typename Value>
  void set(const Key& key, Value&& value) {
    set(settingKey(key), std::forward<Value>(value));
  }

  // Adds every value of `other`, replacing those of the same name.
  void merge(const SettingsValues& other);

 private:
  std::map<std::string, std::string, std::less<>> values_;
};

// The two files the dialog edits.
struct SettingsFiles {
  IniFile config;    // TarvikC.Kfg
  IniFile accounts;  // TarvikA.Kfg
};

// Dialog load of the global keys (and the skin choice, and the single account's balance).
SettingsValues loadGlobalSettings(const SettingsFiles& files);

// Dialog load of one entry's keys. An entry without own settings ("Done" missing or 0) shows
// the settings of "Default", and the event log says so. The set also holds "Baloon" (global)
// and the balances of the three shared groups, which the entry pages show.
SettingsValues loadEntrySettings(const SettingsFiles& files, std::string_view entry, EventLog& log);

// Dialog saves: queue the keys, in the order the files have always had them, into one edit per
// file; the caller commits both. Values `values` lacks are written with their defaults.
void saveGlobalSettings(const SettingsValues& values, IniEdit& config, IniEdit& accounts);
// Writes "Done"=1 first, so the entry has own settings from now on.
void saveEntrySettings(const SettingsValues& values, std::string_view entry, IniEdit& config,
                       IniEdit& accounts);

// The event-log line of an entry without own settings.
std::string fallbackLogLine(std::string_view entry);

}  // namespace tarvik
