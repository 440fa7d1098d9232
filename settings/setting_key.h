#pragma once

#include <string>
#include <string_view>
#include <type_traits>

#include "config/key_types.h"

namespace tarvik {

// Where the dialog finds a key: its part of the settings file, or the shared balances.
enum class Place { Global, Skin, Entry, SharedBalance };

// One key of the dialog's files with what its type in config/keys.h says: where it lives,
// whether it is text, its default and the range a control may set. Made from the typed key
// only, so a row can never pair a key with another section, default or range.
struct SettingKey {
  Place place = Place::Global;
  KeyName name{""};
  bool text = false;
  int def = 0;                 // numbers
  std::string_view textDef{};  // texts
  // What a control may set. A hand-edited file may hold anything; the dialog shows, and so
  // writes back, the nearest value its controls allow, or for a choice outside its items the
  // default.
  Range range{};
  bool choice = false;

  std::string_view view() const { return name.view(); }
  // The default as the text it is stored as.
  std::string defaultText() const { return text ? std::string(textDef) : std::to_string(def); }
  friend bool operator==(const SettingKey& a, const SettingKey& b) { return a.name == b.name; }
};

// A key of config/keys.h (which knows its scope), as opposed to a SettingKey.
template <typename Key>
concept TypedKey = requires {
  Key::scope;
};

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
constexpr SettingKey settingKey(const Key& key) {
  SettingKey k;
  k.place = placeOf<Key>();
  k.name = key.name;
  using Def = std::remove_cvref_t<decltype(key.def)>;
  if constexpr (std::is_same_v<Def, std::string_view>) {
    k.text = true;
    k.textDef = key.def;
  } else {
    k.def = static_cast<int>(key.def);
  }
  if constexpr (requires { key.range; }) {
    k.range = key.range;
  } else if constexpr (requires { key.last; }) {
    k.range = {0, key.count() - 1, 1};
    k.choice = true;
  }
  return k;
}

}  // namespace tarvik
