#include "status/skin_format.h"

#include <algorithm>
#include <string>

namespace tarvik {
namespace {

constexpr const char* kTextSections[5] = {"time", "money", "currency", "entry", "tariff"};
constexpr const char* kImageSections[4] = {"face", "indicator", "hide", "switch"};

struct TextDefaults {
  int x, y, h, w, a, b;
};
// Colour 16777215, font "Small Fonts", 7 points, character set 1 are shared by all five.
constexpr TextDefaults kTextDefaults[5] = {
    {30, 10, 11, 50, 0, 1}, {30, 25, 11, 50, 0, 1}, {60, 25, 11, 50, 2, 0},
    {30, 40, 11, 45, 0, 1}, {30, 55, 11, 50, 0, 1},
};
struct ImageDefaults {
  int x, y, h, w, s;
};
constexpr ImageDefaults kImageDefaults[4] = {
    {0, 0, 150, 150, 1}, {10, 10, 30, 15, 0}, {10, 50, 20, 20, 0}, {10, 70, 25, 25, 0}};

int coordinate(int v) {
  return std::clamp(v, -kSkinExtentLimit, kSkinExtentLimit);
}
int extent(int v) {
  return std::clamp(v, 0, kSkinExtentLimit);
}

// Cuts a UTF-8 text to its first `count` characters without splitting a character.
std::string firstCharacters(const std::string& text, std::size_t count) {
  std::size_t chars = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
      if (chars == count) return text.substr(0, i);
      ++chars;
    }
  }
  return text;
}

TextAlign alignment(int a) {
  switch (a) {
    case 1:
      return TextAlign::Right;
    case 2:
      return TextAlign::Center;
    default:
      return TextAlign::Left;
  }
}

SkinColor color(int value) {
  return SkinColor{static_cast<std::uint32_t>(value) & 0xFFFFFFu};
}

}  // namespace

SkinHeader readSkinHeader(const SkinKeys& keys) {
  SkinHeader h;
  h.separated = keys.readInt("skin", "separated", 0) != 0;
  h.doubleMode = keys.readInt("skin", "double", 0) != 0;
  h.generation = keys.readInt("skin", "generation", 0);
  h.support = keys.readInt("skin", "support", 0);
  h.generator = keys.readString("skin", "generator", "");
  h.name = keys.readString("skin:info", "name", "");
  h.version = keys.readString("skin:info", "version", "");
  h.author = keys.readString("skin:info", "author", "");
  h.mail = keys.readString("skin:info", "mail", "");
  h.web = keys.readString("skin:info", "web", "");
  h.commentUse = keys.readInt("skin:info", "comment_use", 0) != 0;
  h.commentMsg = keys.readString("skin:info", "comment_msg", "");
  return h;
}

SkinLayout readSkinLayout(const SkinKeys& keys, SkinMode mode) {
  SkinLayout layout;
  layout.mode = mode;
  const std::string prefix = std::string("skin:") + skinModeWord(mode);

  const std::string pointsSection = prefix + ":points";
  const int count = keys.readInt(pointsSection, "max_count", 16);
  layout.pointsOutOfRange = count < 1 || count > kMaxSkinPoints;
  const int toRead = std::clamp(count, 0, kMaxSkinPoints);
  layout.points.reserve(static_cast<std::size_t>(toRead));
  for (int n = 1; n <= toRead; ++n) {
    const std::string number = std::to_string(n);
    SkinPoint p{coordinate(keys.readInt(pointsSection, number + "x", 0)),
                coordinate(keys.readInt(pointsSection, number + "y", 0))};
    layout.width = std::max(layout.width, p.x);
    layout.height = std::max(layout.height, p.y);
    layout.points.push_back(p);
  }

  layout.shadowUse = keys.readInt(prefix, "shadow_use", 0) != 0;
  layout.shadowColor = color(keys.readInt(prefix, "shadow_color", 0));

  for (int i = 0; i < 5; ++i) {
    const std::string section = prefix + ":" + kTextSections[i];
    const TextDefaults& d = kTextDefaults[i];
    SkinText& t = layout.texts[static_cast<std::size_t>(i)];
    t.x = coordinate(keys.readInt(section, "x", d.x));
    t.y = coordinate(keys.readInt(section, "y", d.y));
    t.h = extent(keys.readInt(section, "h", d.h));
    t.w = extent(keys.readInt(section, "w", d.w));
    t.align = alignment(keys.readInt(section, "a", d.a));
    t.bold = keys.readInt(section, "b", d.b) != 0;
    t.color = color(keys.readInt(section, "c", 16777215));
    t.font = firstCharacters(keys.readString(section, "f", "Small Fonts"), kMaxSkinFontName);
    t.pointSize = std::clamp(keys.readInt(section, "s", 7), 1, kMaxSkinFontSize);
    t.charset = keys.readInt(section, "k", 1);
  }

  for (int i = 0; i < 4; ++i) {
    const std::string section = prefix + ":" + kImageSections[i];
    const ImageDefaults& d = kImageDefaults[i];
    SkinImage& img = layout.images[static_cast<std::size_t>(i)];
    img.x = coordinate(keys.readInt(section, "x", d.x));
    img.y = coordinate(keys.readInt(section, "y", d.y));
    img.h = extent(keys.readInt(section, "h", d.h));
    img.w = extent(keys.readInt(section, "w", d.w));
    img.stretch = keys.readInt(section, "s", d.s) != 0;
  }
  return layout;
}

std::string skinBitmapFileName(std::string_view baseName, bool separated, SkinMode mode) {
  std::string name(baseName);
  if (!separated) return name + ".bmp";
  return name + (mode == SkinMode::Full ? "_f.bmp" : "_c.bmp");
}

SkinValidity checkSkinValidity(const SkinKeys& keys) {
  if (keys.readInt("skin", "generation", 0) == 0) return SkinValidity::NotASkin;
  if (keys.readInt("skin", "support", 0) > kSupportedSkinLevel)
    return SkinValidity::NeedsNewerProgram;
  return SkinValidity::Valid;
}

}  // namespace tarvik
