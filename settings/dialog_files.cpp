#include "settings/dialog_files.h"

#include <type_traits>
#include <vector>

#include "config/keys.h"

namespace tarvik {

namespace {

enum class Place { Global, Skin, Entry, SharedBalance };

constexpr int kMaxProgramLines = 1000;

struct DialogKey {
  Place place;
  std::string name;
  std::string def;
  bool text = false;
};

template <typename Key>
int defaultNumber(const Key& key) {
  if constexpr (std::is_enum_v<std::remove_cvref_t<decltype(key.def)>>)
    return static_cast<int>(key.def);
  else
    return key.def;
}

template <typename Key>
DialogKey number(Place place, const Key& key) {
  return {place, std::string(std::string_view(key.name)), std::to_string(defaultNumber(key))};
}

template <typename Key>
DialogKey text(Place place, const Key& key) {
  return {place, std::string(std::string_view(key.name)), std::string(key.def), true};
}

// The global part, in the order its save writes it.
const std::vector<DialogKey>& globalKeys() {
  namespace g = global_keys;
  namespace s = skin_keys;
  static const std::vector<DialogKey> keys{
      number(Place::Global, g::kO),           number(Place::Global, g::kX),
      number(Place::Global, g::kY),           number(Place::Global, g::kShow),
      number(Place::Global, g::kInit),        number(Place::Global, g::kPause),
      number(Place::Global, g::kIcon),        number(Place::Global, g::kSpeed),
      number(Place::Global, g::kFade),        number(Place::Global, g::kOpacity),
      number(Place::Global, g::kTransparent), number(Place::Global, g::kMidnight),
      number(Place::Global, g::kAction),      number(Place::Global, g::kHelpShow),
      number(Place::Global, g::kHelpTime),    number(Place::Global, g::kDefaultAcc),
      number(Place::Global, g::kAccountOne),  text(Place::SharedBalance, balance_keys::kAccount),
      number(Place::Global, g::kLogClear),    number(Place::Global, g::kDisplayZero),
      number(Place::Global, g::kDisplayCost), number(Place::Global, g::kSecurityII),
      number(Place::Global, g::kWarnTime),    number(Place::Global, g::kWarnBeep),
      number(Place::Global, g::kWarnWave),    text(Place::Global, g::kWarnFile),
      number(Place::Global, g::kPriority),    number(Place::Skin, s::kSkinExternal),
      text(Place::Skin, s::kSkinName),
  };
  return keys;
}

// The entry part, in the order its save writes it; the program lines go where "ExeCount" is.
const std::vector<DialogKey>& entryKeys() {
  namespace e = entry_keys;
  static const std::vector<DialogKey> keys = [] {
    std::vector<DialogKey> k{
        number(Place::Entry, e::kCurrencyIndex),    number(Place::Entry, e::kCurrencyDisplay),
        text(Place::Entry, e::kCurrencyDisplayA),   text(Place::Entry, e::kCurrencyDisplayZ),
        text(Place::Entry, e::kCurrencyCustomAA),   text(Place::Entry, e::kCurrencyCustomAZ),
        text(Place::Entry, e::kCurrencyCustomZA),   text(Place::Entry, e::kCurrencyCustomZZ),
        number(Place::Entry, e::kAccountDisplay),   number(Place::Entry, e::kAccountPersonal),
        number(Place::Entry, e::kAccountProvider1), number(Place::Entry, e::kAccountProvider2),
        number(Place::Entry, e::kAccountProvider3),
    };
    for (const auto& group : balance_keys::kGroupAccount)
      k.push_back(text(Place::SharedBalance, group));
    for (const DialogKey& key : {
             number(Place::Entry, e::kAuthentification),  number(Place::Entry, e::kStatusShow),
             number(Place::Entry, e::kStatusHide),        number(Place::Entry, e::kStatusWait),
             number(Place::Entry, e::kFreeTime),          number(Place::Entry, e::kHangUpAuto),
             number(Place::Entry, e::kHangUpTime),        number(Place::Entry, e::kExecute),
             number(Place::Entry, e::kExeCountDialog),    number(Place::Entry, e::kOnLineMinute),
             number(Place::Entry, e::kOnLineSecond),      number(Place::Entry, e::kOnLinePeriod),
             number(Place::Entry, e::kOnLineBeep),        number(Place::Entry, e::kOnLineWave),
             text(Place::Entry, e::kOnLineFile),          number(Place::Entry, e::kOffLineBeep),
             number(Place::Entry, e::kOffLineWave),       text(Place::Entry, e::kOffLineFile),
             number(Place::Entry, e::kZeroWarn),          text(Place::Entry, e::kZeroFile),
             number(Place::Global, global_keys::kBaloon),
         })
      k.push_back(key);
    for (std::size_t i = 0; i < e::kAccountUse.size(); ++i) {
      k.push_back(number(Place::Entry, e::kAccountUse[i]));
      k.push_back(number(Place::Entry, e::kAccountVal[i]));
    }
    k.push_back(number(Place::Entry, e::kGraphMax));
    k.push_back(number(Place::Entry, e::kGraphX));
    for (const auto& graph : e::kGraph) k.push_back(number(Place::Entry, graph));
    k.push_back(number(Place::Entry, e::kTruncate));
    k.push_back(number(Place::Entry, e::kCredit));
    k.push_back(number(Place::Entry, e::kMonthLimit));
    return k;
  }();
  return keys;
}

std::string exeLineName(int line) {
  return entry_keys::exeLine(line).name.str();
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

bool isExeCount(const DialogKey& key) {
  return key.name == std::string_view(entry_keys::kExeCountDialog.name);
}

template <typename File>
std::string readValue(const File& config, const File& accounts, const DialogKey& key,
                      const std::string& entrySection) {
  const File& file = key.place == Place::SharedBalance ? accounts : config;
  const std::string section = sectionOf(key.place, entrySection);
  if (key.text) return file.readString(section, key.name, key.def);
  return std::to_string(file.readInt(section, key.name, parseProfileInt(key.def, 0)));
}

void writeValue(IniEdit& config, IniEdit& accounts, const DialogKey& key,
                const std::string& entrySection, const SettingsValues& values) {
  IniEdit& file = key.place == Place::SharedBalance ? accounts : config;
  const std::string section = sectionOf(key.place, entrySection);
  file.writeString(section, key.name, values.has(key.name) ? values.text(key.name) : key.def);
}

}  // namespace

std::string SettingsValues::text(std::string_view key) const {
  const auto it = values_.find(key);
  return it == values_.end() ? std::string() : it->second;
}

int SettingsValues::number(std::string_view key, int def) const {
  const auto it = values_.find(key);
  return it == values_.end() ? def : parseProfileInt(it->second, def);
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
  for (const DialogKey& key : globalKeys())
    values.set(key.name, readValue(files.config, files.accounts, key, {}));
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
  for (const DialogKey& key : entryKeys()) {
    if (!isExeCount(key)) {
      values.set(key.name, readValue(files.config, files.accounts, key, section.name()));
      continue;
    }
    // The count is read afresh for every line, as the lines were always read. A hand-edited
    // count in the millions would hang the dialog on default lines: it shows at most
    // kMaxProgramLines.
    int line = 0;
    while (line < kMaxProgramLines &&
           line < readKey(files.config, section, entry_keys::kExeCountDialog)) {
      values.set(exeLineName(line), readKey(files.config, section, entry_keys::exeLine(line),
                                            entry_keys::kDefaultExeLine));
      ++line;
    }
    values.set(key.name, line);
  }
  return values;
}

void saveGlobalSettings(const SettingsValues& values, IniEdit& config, IniEdit& accounts) {
  for (const DialogKey& key : globalKeys()) writeValue(config, accounts, key, {}, values);
}

void saveEntrySettings(const SettingsValues& values, std::string_view entry, IniEdit& config,
                       IniEdit& accounts) {
  const auto section = sections::entry(entry);
  writeKey(config, section, entry_keys::kDone, 1);
  for (const DialogKey& key : entryKeys()) {
    writeValue(config, accounts, key, section.name(), values);
    if (!isExeCount(key)) continue;
    const int count = values.number(key.name, 0);
    for (int line = 0; line < count; ++line)
      writeKey(config, section, entry_keys::exeLine(line), values.text(exeLineName(line)));
  }
}

}  // namespace tarvik
