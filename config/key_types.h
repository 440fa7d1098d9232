#pragma once

#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tarvik {

// Where a key lives. A section and a key of different scopes do not go together: the typed
// access in config/keys.h only accepts a key with a section of its own scope, so reading an
// entry's key from the global section is refused by the compiler.
enum class Scope {
  Global,      // settings file, the global section
  Skin,        // settings file, the skin choice section
  Entry,       // settings file, an entry's section (or "Default")
  Tariff,      // settings file, an entry's tariff keys (or the single-day tariff file)
  Update,      // settings file, the rollover markers
  Balance,     // accounts file, the shared section or an entry's section
  Statistics,  // statistics file, an entry's section or the shared section
  Journal,     // the crash journal files
  SkinFile,    // a skin's own file (skin.qsf) or a built-in skin's text
};

// A key's name held by value, so that names built from numbers ("ExeLine3", "Gr6f",
// "Tar6x12Cost") are keys like any other and can be made at compile time.
class KeyName {
 public:
  static constexpr std::size_t kCapacity = 23;

  constexpr KeyName(const char* text) : KeyName(std::string_view(text)) {}
  constexpr KeyName(std::string_view text) { append(text); }

  constexpr std::string_view view() const { return {text_.data(), size_}; }
  constexpr operator std::string_view() const { return view(); }
  std::string str() const { return std::string(view()); }

  constexpr KeyName& append(std::string_view text) {
    if (size_ + text.size() > kCapacity) throw std::length_error("key name too long");
    for (const char c : text) text_[size_++] = c;
    return *this;
  }
  // Appends a number in plain decimal.
  constexpr KeyName& append(int number) {
    if (number < 0) {
      append("-");
      number = -number;
    }
    char digits[12]{};
    std::size_t count = 0;
    do {
      digits[count++] = static_cast<char>('0' + number % 10);
      number /= 10;
    } while (number != 0);
    while (count > 0) append(std::string_view(&digits[--count], 1));
    return *this;
  }

  friend constexpr bool operator==(const KeyName& a, const KeyName& b) {
    return a.view() == b.view();
  }

 private:
  std::array<char, kCapacity> text_{};
  std::size_t size_ = 0;
};

// What a control may set: minimum, maximum and the step of its spin (or the tick spacing of
// a track bar). The readers do not clamp: a hand-edited file may hold anything.
struct Range {
  int min = 0;
  int max = 0;
  int step = 0;
  constexpr bool bounded() const { return step != 0; }
  constexpr bool contains(int value) const { return !bounded() || (value >= min && value <= max); }
};

// A key read as an integer (switches included: 0 = off, anything else = on).
template <Scope S>
struct IntKey {
  static constexpr Scope scope = S;
  KeyName name;
  int def = 0;
  Range range{};
};

// A key read as text (read back cut to 1023 characters). `maxLength`: the most characters
// its edit box takes, 0 for no limit.
template <Scope S>
struct TextKey {
  static constexpr Scope scope = S;
  KeyName name;
  std::string_view def{};
  int maxLength = 0;
};

// An integer key whose values name the items of a choice, 0 to `last`. It reads as the enum
// without clamping: a value outside the choice is passed on for the reader to ignore.
template <Scope S, typename E>
struct ChoiceKey {
  static constexpr Scope scope = S;
  KeyName name;
  E def{};
  E last{};
  constexpr int count() const { return static_cast<int>(last) + 1; }
};

// A section name of one scope. Made only by the functions of config/keys.h, which map entry
// names to their sections in one place.
template <Scope S>
class Section {
 public:
  static constexpr Scope scope = S;
  const std::string& name() const { return name_; }
  friend bool operator==(const Section&, const Section&) = default;

  // A name that is already a section name of this scope (as the mapping made it).
  static Section fromSectionName(std::string name) { return Section(std::move(name)); }

 private:
  explicit Section(std::string name) : name_(std::move(name)) {}
  std::string name_;
};

}  // namespace tarvik
