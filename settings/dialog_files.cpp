#include "settings/dialog_files.h"

#include <algorithm>
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
  // What a control may set. A hand-edited file may hold anything; the dialog shows, and so
  // writes back, the nearest value its controls allow, or for a choice outside its items the
  // default.
  Range range{};
  bool choice = false;
};

template <typename Key>
int defaultNumber(const Key& key) {
  if constexpr (std::is_enum_v<std::remove_cvref_t<decltype(key.def)>>)
    return static_cast<int>(key.def);
  else
    return key.def;
}

// Where the dialog finds a key, by the key's scope: the type of the key decides, so no key
// can be listed with a section it does not belong to. Balances are the shared ones.
template <typename Key>
constexpr Place placeOf() {
  static_assert(Key::scope == Scope::Global || Key::scope == Scope::Skin ||
                    Key::scope == Scope::Entry || Key::scope == Scope::Balance,
                "the dialog edits the settings and the shared balances only");
  switch (Key::scope) {
    case Scope::Skin:
      return Place::Skin;
    case Scope::Entry:
      return Place::Entry;
    case Scope::Balance:
      return Place::SharedBalance;
    default:
      return Place::Global;
  }
}

template <typename Key>
Range rangeOf(const Key& key) {
  if constexpr (requires { key.range; })
    return key.range;
  else if constexpr (requires { key.last; })
    return {0, key.count() - 1, 1};
  else
    return {};
}

template <typename Key>
DialogKey number(const Key& key) {
  return {placeOf<Key>(), std::string(std::string_view(key.name)),
          std::to_string(defaultNumber(key)), false, rangeOf(key), requires {key.last;
}
};  // namespace
}  // namespace tarvik

template <typename Key>
DialogKey text(const Key& key) {
  return {placeOf<Key>(), std::string(std::string_view(key.name)), std::string(key.def), true};
}

// The global part, in the order its save writes it.
const std::vector<DialogKey>& globalKeys() {
  namespace g = global_keys;
  namespace s = skin_keys;
  static const std::vector<DialogKey> keys{
      number(g::kO),           number(g::kX),
      number(g::kY),           number(g::kShow),
      number(g::kInit),        number(g::kPause),
      number(g::kIcon),        number(g::kSpeed),
      number(g::kFade),        number(g::kOpacity),
      number(g::kTransparent), number(g::kMidnight),
      number(g::kAction),      number(g::kHelpShow),
      number(g::kHelpTime),    number(g::kDefaultAcc),
      number(g::kAccountOne),  text(balance_keys::kAccount),
      number(g::kLogClear),    number(g::kDisplayZero),
      number(g::kDisplayCost), number(g::kSecurityII),
      number(g::kWarnTime),    number(g::kWarnBeep),
      number(g::kWarnWave),    text(g::kWarnFile),
      number(g::kPriority),    number(s::kSkinExternal),
      text(s::kSkinName),
  };
  return keys;
}

// The entry part, in the order its save writes it; the program lines go where "ExeCount" is.
const std::vector<DialogKey>& entryKeys() {
  namespace e = entry_keys;
  static const std::vector<DialogKey> keys = [] {
    std::vector<DialogKey> k{
        number(e::kCurrencyIndex),    number(e::kCurrencyDisplay),  text(e::kCurrencyDisplayA),
        text(e::kCurrencyDisplayZ),   text(e::kCurrencyCustomAA),   text(e::kCurrencyCustomAZ),
        text(e::kCurrencyCustomZA),   text(e::kCurrencyCustomZZ),   number(e::kAccountDisplay),
        number(e::kAccountPersonal),  number(e::kAccountProvider1), number(e::kAccountProvider2),
        number(e::kAccountProvider3),
    };
    for (const auto& group : balance_keys::kGroupAccount) k.push_back(text(group));
    for (const DialogKey& key : {
             number(e::kAuthentification), number(e::kStatusShow),   number(e::kStatusHide),
             number(e::kStatusWait),       number(e::kFreeTime),     number(e::kHangUpAuto),
             number(e::kHangUpTime),       number(e::kExecute),      number(e::kExeCountDialog),
             number(e::kOnLineMinute),     number(e::kOnLineSecond), number(e::kOnLinePeriod),
             number(e::kOnLineBeep),       number(e::kOnLineWave),   text(e::kOnLineFile),
             number(e::kOffLineBeep),      number(e::kOffLineWave),  text(e::kOffLineFile),
             number(e::kZeroWarn),         text(e::kZeroFile),       number(global_keys::kBaloon),
         })
      k.push_back(key);
    for (std::size_t i = 0; i < e::kAccountUse.size(); ++i) {
      k.push_back(number(e::kAccountUse[i]));
      k.push_back(number(e::kAccountVal[i]));
    }
    k.push_back(number(e::kGraphMax));
    k.push_back(number(e::kGraphX));
    for (const auto& graph : e::kGraph) k.push_back(number(graph));
    k.push_back(number(e::kTruncate));
    k.push_back(number(e::kCredit));
    k.push_back(number(e::kMonthLimit));
    // Keys the Parts do not list come after theirs, so the saved sections keep their order.
    k.push_back(number(e::kRiseWarn));
    k.push_back(number(e::kRiseTime));
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
  const int def = parseProfileInt(key.def, 0);
  const int value = file.readInt(section, key.name, def);
  if (key.range.contains(value)) return std::to_string(value);
  return std::to_string(key.choice ? def : std::clamp(value, key.range.min, key.range.max));
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
