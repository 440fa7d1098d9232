#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tarvik {

// The two display modes of a skin.
enum class SkinMode { Compact, Full };

inline const char* skinModeWord(SkinMode mode) {
  return mode == SkinMode::Full ? "full" : "compact";
}

// A colour as the skin file stores it: red + 256 * green + 65536 * blue.
struct SkinColor {
  std::uint32_t value = 0;
  int red() const { return static_cast<int>(value & 0xFF); }
  int green() const { return static_cast<int>((value >> 8) & 0xFF); }
  int blue() const { return static_cast<int>((value >> 16) & 0xFF); }
  bool operator==(const SkinColor&) const = default;
};

enum class TextAlign { Left = 0, Right = 1, Center = 2 };

struct SkinPoint {
  int x = 0;
  int y = 0;
  bool operator==(const SkinPoint&) const = default;
};

// One of the five text objects (time, money, currency, entry, tariff).
struct SkinText {
  int x = 0, y = 0, h = 0, w = 0;
  TextAlign align = TextAlign::Left;
  bool bold = false;
  SkinColor color;
  std::string font;  // at most 31 characters
  int pointSize = 7;
  int charset = 1;
};

// One of the four image objects (face, indicator, hide, switch).
struct SkinImage {
  int x = 0, y = 0, h = 0, w = 0;
  bool stretch = false;
};

// Text objects in display order; the index matches DisplayField of platform/user.h.
enum class SkinTextId { Time = 0, Money, Currency, Entry, Tariff };
enum class SkinImageId { Face = 0, Indicator, Hide, Switch };

// Everything one mode of a skin fixes.
struct SkinLayout {
  SkinMode mode = SkinMode::Compact;
  // Outline vertices in window pixels (at most 50).
  std::vector<SkinPoint> points;
  // True when the skin asked for more control points than the window can take; then only the
  // first 50 were read and the outline is not to be applied.
  bool pointsOutOfRange = false;
  int width = 0;   // largest x among the points read
  int height = 0;  // largest y among the points read
  bool shadowUse = false;
  SkinColor shadowColor;
  std::array<SkinText, 5> texts;
  std::array<SkinImage, 4> images;

  const SkinText& text(SkinTextId id) const { return texts[static_cast<int>(id)]; }
  const SkinImage& image(SkinImageId id) const { return images[static_cast<int>(id)]; }
};

// The [skin] and [skin:info] keys.
struct SkinHeader {
  bool separated = false;
  bool doubleMode = false;
  int generation = 0;
  int support = 0;
  std::string generator;
  std::string name, version, author, mail, web;
  bool commentUse = false;
  std::string commentMsg;
};

// The twelve pictures of a skin, in loading order.
inline constexpr std::array<const char*, 12> kSkinBitmapNames = {
    "face",    "ind_di",  "ind_of",  "ind_au",    "ind_on",    "ind_xx",
    "hide_of", "hide_on", "hide_dn", "switch_of", "switch_on", "switch_dn"};

enum class SkinBitmap {
  Face = 0,
  IndDi,
  IndOf,
  IndAu,
  IndOn,
  IndXx,
  HideOf,
  HideOn,
  HideDn,
  SwitchOf,
  SwitchOn,
  SwitchDn
};

}  // namespace tarvik
