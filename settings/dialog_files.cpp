#include "settings/dialog_files.h"

#include <algorithm>
#include <vector>

#include "config/keys.h"

namespace tarvik {

namespace {

constexpr int kMaxProgramLines = 1000;

// The global part, in the order its save writes it.
const std::vector<SettingKey>& globalKeys() {
  namespace g = global_keys;
  namespace s = skin_keys;
  static const std::vector<SettingKey> keys{
      settingKey(g::kO),           settingKey(g::kX),
      settingKey(g::kY),           settingKey(g::kShow),
      settingKey(g::kInit),        settingKey(g::kPause),
      settingKey(g::kIcon),        settingKey(g::kSpeed),
      settingKey(g::kFade),        settingKey(g::kOpacity),
      settingKey(g::kTransparent), settingKey(g::kMidnight),
      settingKey(g::kAction),      settingKey(g::kHelpShow),
      settingKey(g::kHelpTime),    settingKey(g::kDefaultAcc),
      settingKey(g::kAccountOne),  settingKey(balance_keys::kAccount),
      settingKey(g::kLogClear),    settingKey(g::kDisplayZero),
      settingKey(g::kDisplayCost), settingKey(g::kSecurityII),
      settingKey(g::kWarnTime),    settingKey(g::kWarnBeep),
      settingKey(g::kWarnWave),    settingKey(g::kWarnFile),
      settingKey(g::kPriority),    settingKey(s::kSkinExternal),
      settingKey(s::kSkinName),
  };
  return keys;
}

// The entry part, in the order its save writes it; the program lines go where "ExeCount" is.
const std::vector<SettingKey>& entryKeys() {
  namespace e = entry_keys;
  static const std::vector<SettingKey> keys = [] {
    std::vector<SettingKey> k{
        settingKey(e::kCurrencyIndex),    settingKey(e::kCurrencyDisplay),
        settingKey(e::kCurrencyDisplayA), settingKey(e::kCurrencyDisplayZ),
        settingKey(e::kCurrencyCustomAA), settingKey(e::kCurrencyCustomAZ),
        settingKey(e::kCurrencyCustomZA), settingKey(e::kCurrencyCustomZZ),
        settingKey(e::kAccountDisplay),   settingKey(e::kAccountPersonal),
        settingKey(e::kAccountProvider1), settingKey(e::kAccountProvider2),
        settingKey(e::kAccountProvider3),
    };
    for (const auto& group : balance_keys::kGroupAccount) k.push_back(settingKey(group));
    for (const SettingKey& key : {
             settingKey(e::kAuthentification), settingKey(e::kStatusShow),
             settingKey(e::kStatusHide),       settingKey(e::kStatusWait),
             settingKey(e::kFreeTime),         settingKey(e::kHangUpAuto),
             settingKey(e::kHangUpTime),       settingKey(e::kExecute),
             settingKey(e::kExeCountDialog),   settingKey(e::kOnLineMinute),
             settingKey(e::kOnLineSecond),     settingKey(e::kOnLinePeriod),
             settingKey(e::kOnLineBeep),       settingKey(e::kOnLineWave),
             settingKey(e::kOnLineFile),       settingKey(e::kOffLineBeep),
             settingKey(e::kOffLineWave),      settingKey(e::kOffLineFile),
             settingKey(e::kZeroWarn),         settingKey(e::kZeroFile),
             settingKey(global_keys::kBaloon),
         })
      k.push_back(key);
    for (std::size_t i = 0; i < e::kAccountUse.size(); ++i) {
      k.push_back(settingKey(e::kAccountUse[i]));
      k.push_back(settingKey(e::kAccountVal[i]));
    }
    k.push_back(settingKey(e::kGraphMax));
    k.push_back(settingKey(e::kGraphX));
    for (const auto& graph : e::kGraph) k.push_back(settingKey(graph));
    k.push_back(settingKey(e::kTruncate));
    k.push_back(settingKey(e::kCredit));
    k.push_back(settingKey(e::kMonthLimit));
    // Keys added later come after the older ones, so the saved sections keep their order.
    k.push_back(settingKey(e::kRiseWarn));
    k.push_back(settingKey(e::kRiseTime));
    for (const SettingKey& key :
         {settingKey(e::kLimitUse), settingKey(e::kLimitSize), settingKey(e::kLimitUnit),
          settingKey(e::kLimitSpan), settingKey(e::kLimitCount), settingKey(e::kLimitWarn),
          settingKey(e::kLimitShare), settingKey(e::kLimitHangUp)})
      k.push_back(key);
    return k;
  }();
  return keys;
}

// The section a key of `place` lives in; `entrySection` from sections::entry().
std::string sectionOf(Place place, const std::string& entrySection) {
  switch (place) {
    case Place::Skin:
      return sections::skin().name();
    case Place::Entry:
      return entrySection;
    case Place::SharedBalance:
      return sections::sharedBalance().name();
    case Place::Global:
      break;
  }
  return sections::global().name();
}

bool isExeCount(const SettingKey& key) {
  return key.name == entry_keys::kExeCountDialog.name;
}

template <typename File>
std::string readValue(const File& config, const File& accounts, const SettingKey& key,
                      const std::string& entrySection) {
  const File& file = key.place == Place::SharedBalance ? accounts : config;
  const std::string section = sectionOf(key.place, entrySection);
  const std::string name(key.view());
  if (key.text) return file.readString(section, name, std::string(key.textDef));
  const int value = file.readInt(section, name, key.def);
  if (key.range.contains(value)) return std::to_string(value);
  return std::to_string(key.choice ? key.def : std::clamp(value, key.range.min, key.range.max));
}

void writeValue(IniEdit& config, IniEdit& accounts, const SettingKey& key,
                const std::string& entrySection, const SettingsValues& values) {
  IniEdit& file = key.place == Place::SharedBalance ? accounts : config;
  const std::string section = sectionOf(key.place, entrySection);
  file.writeString(section, std::string(key.view()),
                   values.has(key) ? values.text(key) : key.defaultText());
}

}  // namespace

std::string SettingsValues::text(const SettingKey& key) const {
  const auto it = values_.find(key.view());
  return it == values_.end() ? std::string() : it->second;
}

int SettingsValues::number(const SettingKey& key) const {
  const auto it = values_.find(key.view());
  return it == values_.end() ? key.def : parseProfileInt(it->second, key.def);
}

void SettingsValues::merge(const SettingsValues& other) {
  for (const auto& [key, value] : other.values_) values_[key] = value;
}

std::string fallbackLogLine(std::string_view entry) {
  return " Failed loading settings for «" + std::string(entry) +
         "» entry.\n «Default» entry settings will be loaded...";
}

SettingsValues loadGlobalSettings(const SettingsFiles& files) {
  SettingsValues values;
  for (const SettingKey& key : globalKeys())
    values.set(key, readValue(files.config, files.accounts, key, {}));
  return values;
}

SettingsValues loadEntrySettings(const SettingsFiles& files, std::string_view entry,
                                 EventLog& log) {
  auto section = sections::entry(entry);
  if (!hasOwnSettings(files.config, entry)) {
    section = sections::entry(kDefaultEntry);
    log.append(fallbackLogLine(entry), true);
  }
  SettingsValues values;
  for (const SettingKey& key : entryKeys()) {
    if (!isExeCount(key)) {
      values.set(key, readValue(files.config, files.accounts, key, section.name()));
      continue;
    }
    // The count is read afresh for every line, as the lines were always read. A hand-edited
    // count in the millions would hang the dialog on default lines: it shows at most
    // kMaxProgramLines.
    int line = 0;
    while (line < kMaxProgramLines &&
           line < readKey(files.config, section, entry_keys::kExeCountDialog)) {
      values.set(
          entry_keys::exeLine(line),
          readKey(files.config, section, entry_keys::exeLine(line), entry_keys::kDefaultExeLine));
      ++line;
    }
    values.set(key, line);
  }
  return values;
}

void saveGlobalSettings(const SettingsValues& values, IniEdit& config, IniEdit& accounts) {
  for (const SettingKey& key : globalKeys()) writeValue(config, accounts, key, {}, values);
}

void saveEntrySettings(const SettingsValues& values, std::string_view entry, IniEdit& config,
                       IniEdit& accounts) {
  const auto section = sections::entry(entry);
  writeKey(config, section, entry_keys::kDone, 1);
  for (const SettingKey& key : entryKeys()) {
    writeValue(config, accounts, key, section.name(), values);
    if (!isExeCount(key)) continue;
    const int count = values.number(key);
    for (int line = 0; line < count; ++line)
      writeKey(config, section, entry_keys::exeLine(line), values.text(entry_keys::exeLine(line)));
  }
}

}  // namespace tarvik
