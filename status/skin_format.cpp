#include "status/skin_format.h"

#include <algorithm>
#include <string>

#include "config/keys.h"

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
  namespace k = skin_file_keys;
  const auto skin = sections::skinHeader();
  const auto info = sections::skinInfo();
  SkinHeader h;
  h.separated = readSwitch(keys, skin, k::kSeparated);
  h.doubleMode = readSwitch(keys, skin, k::kDouble);
  h.generation = readKey(keys, skin, k::kGeneration);
  h.support = readKey(keys, skin, k::kSupport);
  h.generator = readKey(keys, skin, k::kGenerator);
  h.name = readKey(keys, info, k::kName);
  h.version = readKey(keys, info, k::kVersion);
  h.author = readKey(keys, info, k::kAuthor);
  h.mail = readKey(keys, info, k::kMail);
  h.web = readKey(keys, info, k::kWeb);
  h.commentUse = readSwitch(keys, info, k::kCommentUse);
  h.commentMsg = readKey(keys, info, k::kCommentMsg);
  return h;
}

SkinLayout readSkinLayout(const SkinKeys& keys, SkinMode mode) {
  namespace k = skin_file_keys;
  SkinLayout layout;
  layout.mode = mode;
  const std::string_view word = skinModeWord(mode);

  const auto points = sections::skinPoints(word);
  const int count = readKey(keys, points, k::kMaxCount);
  layout.pointsOutOfRange = count < 1 || count > kMaxSkinPoints;
  const int toRead = std::clamp(count, 0, kMaxSkinPoints);
  layout.points.reserve(static_cast<std::size_t>(toRead));
  for (int n = 1; n <= toRead; ++n) {
    SkinPoint p{coordinate(readKey(keys, points, k::pointX(n))),
                coordinate(readKey(keys, points, k::pointY(n)))};
    layout.width = std::max(layout.width, p.x);
    layout.height = std::max(layout.height, p.y);
    layout.points.push_back(p);
  }

  const auto modeSection = sections::skinMode(word);
  layout.shadowUse = readSwitch(keys, modeSection, k::kShadowUse);
  layout.shadowColor = color(readKey(keys, modeSection, k::kShadowColor));

  for (int i = 0; i < 5; ++i) {
    const auto section = sections::skinObject(word, kTextSections[i]);
    const TextDefaults& d = kTextDefaults[i];
    SkinText& t = layout.texts[static_cast<std::size_t>(i)];
    t.x = coordinate(readKey(keys, section, k::kX, d.x));
    t.y = coordinate(readKey(keys, section, k::kY, d.y));
    t.h = extent(readKey(keys, section, k::kH, d.h));
    t.w = extent(readKey(keys, section, k::kW, d.w));
    t.align = alignment(readKey(keys, section, k::kAlign, d.a));
    t.bold = readKey(keys, section, k::kBold, d.b) != 0;
    t.color = color(readKey(keys, section, k::kColor));
    t.font = firstCharacters(readKey(keys, section, k::kFont), kMaxSkinFontName);
    t.pointSize = std::clamp(readKey(keys, section, k::kFontSize), 1, kMaxSkinFontSize);
    t.charset = readKey(keys, section, k::kCharset);
  }

  for (int i = 0; i < 4; ++i) {
    const auto section = sections::skinObject(word, kImageSections[i]);
    const ImageDefaults& d = kImageDefaults[i];
    SkinImage& img = layout.images[static_cast<std::size_t>(i)];
    img.x = coordinate(readKey(keys, section, k::kX, d.x));
    img.y = coordinate(readKey(keys, section, k::kY, d.y));
    img.h = extent(readKey(keys, section, k::kH, d.h));
    img.w = extent(readKey(keys, section, k::kW, d.w));
    img.stretch = readKey(keys, section, k::kStretch, d.s) != 0;
  }
  return layout;
}

std::string skinBitmapFileName(std::string_view baseName, bool separated, SkinMode mode) {
  std::string name(baseName);
  if (!separated) return name + ".bmp";
  return name + (mode == SkinMode::Full ? "_f.bmp" : "_c.bmp");
}

SkinValidity checkSkinValidity(const SkinKeys& keys) {
  if (readKey(keys, sections::skinHeader(), skin_file_keys::kGeneration) == 0)
    return SkinValidity::NotASkin;
  if (readKey(keys, sections::skinHeader(), skin_file_keys::kSupport) > kSupportedSkinLevel)
    return SkinValidity::NeedsNewerProgram;
  return SkinValidity::Valid;
}

}  // namespace tarvik
