#include "status/skin_format.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "status/builtin_skins.h"

namespace tarvik {
namespace {

// Keys held in a map, so the layout rules are tested apart from the file format.
class MapKeys : public SkinKeys {
 public:
  std::map<std::pair<std::string, std::string>, std::string> values;
  void set(const std::string& section, const std::string& key, const std::string& value) {
    values[{section, key}] = value;
  }
  int readInt(std::string_view section, std::string_view key, int def) const override {
    auto it = values.find({std::string(section), std::string(key)});
    return it == values.end() ? def : std::stoi(it->second);
  }
  std::string readString(std::string_view section, std::string_view key,
                         std::string_view def) const override {
    auto it = values.find({std::string(section), std::string(key)});
    return it == values.end() ? std::string(def) : it->second;
  }
};

SkinLayout builtin(BuiltinSkin skin, SkinMode mode) {
  return readSkinLayout(*builtinSkinKeys(skin), mode);
}

TEST(BuiltinSkins, StandardSkinWindowSizesAndObjects) {
  const SkinLayout compact = builtin(BuiltinSkin::Standard, SkinMode::Compact);
  EXPECT_EQ(compact.width, 75);
  EXPECT_EQ(compact.height, 20);
  ASSERT_EQ(compact.points.size(), 16u);
  EXPECT_EQ(compact.points[5], (SkinPoint{18, 20}));
  EXPECT_FALSE(compact.pointsOutOfRange);
  EXPECT_TRUE(compact.shadowUse);
  EXPECT_EQ(compact.shadowColor.value, 16448250u);
  const SkinText& time = compact.text(SkinTextId::Time);
  EXPECT_EQ(time.x, 13);
  EXPECT_EQ(time.y, -2);
  EXPECT_EQ(time.h, 13);
  EXPECT_EQ(time.w, 55);
  EXPECT_TRUE(time.bold);
  EXPECT_EQ(time.font, "Courier New");
  EXPECT_EQ(time.pointSize, 8);
  EXPECT_EQ(time.charset, 204);
  EXPECT_EQ(compact.text(SkinTextId::Currency).align, TextAlign::Right);
  EXPECT_EQ(compact.text(SkinTextId::Entry).color.value, 16777215u);
  EXPECT_EQ(compact.text(SkinTextId::Entry).font, "Small Fonts");
  const SkinImage& ind = compact.image(SkinImageId::Indicator);
  EXPECT_EQ(ind.x, 3);
  EXPECT_EQ(ind.h, 14);
  EXPECT_EQ(ind.w, 8);
  EXPECT_TRUE(ind.stretch);
  EXPECT_EQ(compact.image(SkinImageId::Switch).y, 22);
  EXPECT_FALSE(compact.image(SkinImageId::Hide).stretch);

  const SkinLayout full = builtin(BuiltinSkin::Standard, SkinMode::Full);
  EXPECT_EQ(full.width, 75);
  EXPECT_EQ(full.height, 40);
  EXPECT_EQ(full.text(SkinTextId::Tariff).y, 27);
  EXPECT_EQ(full.text(SkinTextId::Entry).charset, 204);
  EXPECT_EQ(full.image(SkinImageId::Face).w, 75);
  EXPECT_EQ(full.image(SkinImageId::Face).h, 40);
}

TEST(BuiltinSkins, AdvancedSkinWindowSizesAndObjects) {
  const SkinLayout compact = builtin(BuiltinSkin::Advanced, SkinMode::Compact);
  EXPECT_EQ(compact.width, 99);
  EXPECT_EQ(compact.height, 26);
  EXPECT_EQ(compact.points.front(), (SkinPoint{18, 0}));
  EXPECT_EQ(compact.points.back(), (SkinPoint{97, 0}));
  EXPECT_EQ(compact.shadowColor.value, 16777215u);
  EXPECT_EQ(compact.text(SkinTextId::Currency).font, "Arial");
  EXPECT_EQ(compact.text(SkinTextId::Entry).w, 0);
  EXPECT_EQ(compact.image(SkinImageId::Indicator).w, 25);
  EXPECT_FALSE(compact.image(SkinImageId::Indicator).stretch);
  EXPECT_EQ(compact.image(SkinImageId::Hide).x, 93);
  EXPECT_EQ(compact.image(SkinImageId::Switch).x, 87);

  const SkinLayout full = builtin(BuiltinSkin::Advanced, SkinMode::Full);
  EXPECT_EQ(full.width, 99);
  EXPECT_EQ(full.height, 50);
  EXPECT_EQ(full.text(SkinTextId::Entry).y, 33);
  EXPECT_EQ(full.text(SkinTextId::Tariff).y, 22);
  EXPECT_EQ(full.text(SkinTextId::Tariff).color, (SkinColor{9856050}));
}

TEST(BuiltinSkins, HeaderAndNameSelection) {
  for (BuiltinSkin skin : {BuiltinSkin::Standard, BuiltinSkin::Advanced}) {
    const SkinHeader h = readSkinHeader(*builtinSkinKeys(skin));
    EXPECT_TRUE(h.doubleMode);
    EXPECT_FALSE(h.separated);
    EXPECT_EQ(h.generation, 0);
    EXPECT_TRUE(h.name.empty());
  }
  EXPECT_EQ(builtinSkinFor("Advanced"), BuiltinSkin::Advanced);
  EXPECT_EQ(builtinSkinFor("advanced"), BuiltinSkin::Standard);
  EXPECT_EQ(builtinSkinFor("Default"), BuiltinSkin::Standard);
  EXPECT_EQ(builtinSkinFor(""), BuiltinSkin::Standard);
  EXPECT_EQ(builtinSkinPrefix(BuiltinSkin::Advanced), "A_");
  EXPECT_EQ(builtinSkinPrefix(BuiltinSkin::Standard), "D_");
}

TEST(SkinFormat, EmptySkinGivesDefaults) {
  MapKeys keys;
  const SkinHeader h = readSkinHeader(keys);
  EXPECT_FALSE(h.doubleMode);
  EXPECT_FALSE(h.separated);
  const SkinLayout l = readSkinLayout(keys, SkinMode::Full);
  // 16 points at (0,0): an empty outline and a window of no size.
  EXPECT_EQ(l.points.size(), 16u);
  EXPECT_EQ(l.width, 0);
  EXPECT_EQ(l.height, 0);
  EXPECT_FALSE(l.pointsOutOfRange);
  EXPECT_FALSE(l.shadowUse);
  EXPECT_EQ(l.shadowColor.value, 0u);
  const SkinText& currency = l.text(SkinTextId::Currency);
  EXPECT_EQ(currency.x, 60);
  EXPECT_EQ(currency.y, 25);
  EXPECT_EQ(currency.align, TextAlign::Center);
  EXPECT_FALSE(currency.bold);
  EXPECT_EQ(currency.font, "Small Fonts");
  EXPECT_EQ(currency.pointSize, 7);
  EXPECT_EQ(currency.charset, 1);
  EXPECT_EQ(l.text(SkinTextId::Entry).w, 45);
  EXPECT_EQ(l.text(SkinTextId::Tariff).y, 55);
  EXPECT_TRUE(l.text(SkinTextId::Time).bold);
  const SkinImage& face = l.image(SkinImageId::Face);
  EXPECT_EQ(face.w, 150);
  EXPECT_TRUE(face.stretch);
  EXPECT_EQ(l.image(SkinImageId::Indicator).h, 30);
  EXPECT_FALSE(l.image(SkinImageId::Indicator).stretch);
  EXPECT_EQ(l.image(SkinImageId::Switch).y, 70);
}

TEST(SkinFormat, ModesReadTheirOwnSections) {
  MapKeys keys;
  keys.set("skin:compact:time", "x", "5");
  keys.set("skin:full:time", "x", "7");
  EXPECT_EQ(readSkinLayout(keys, SkinMode::Compact).text(SkinTextId::Time).x, 5);
  EXPECT_EQ(readSkinLayout(keys, SkinMode::Full).text(SkinTextId::Time).x, 7);
}

TEST(SkinFormat, PointCountLimits) {
  MapKeys keys;
  for (int n = 1; n <= 51; ++n) {
    keys.set("skin:compact:points", std::to_string(n) + "x", std::to_string(n));
    keys.set("skin:compact:points", std::to_string(n) + "y", std::to_string(2 * n));
  }
  keys.set("skin:compact:points", "max_count", "50");
  SkinLayout l = readSkinLayout(keys, SkinMode::Compact);
  EXPECT_FALSE(l.pointsOutOfRange);
  EXPECT_EQ(l.points.size(), 50u);
  EXPECT_EQ(l.width, 50);
  EXPECT_EQ(l.height, 100);

  keys.set("skin:compact:points", "max_count", "51");
  l = readSkinLayout(keys, SkinMode::Compact);
  EXPECT_TRUE(l.pointsOutOfRange);
  EXPECT_EQ(l.points.size(), 50u);  // the 51st point is never read
  EXPECT_EQ(l.width, 50);

  keys.set("skin:compact:points", "max_count", "2000000000");
  EXPECT_TRUE(readSkinLayout(keys, SkinMode::Compact).pointsOutOfRange);
  keys.set("skin:compact:points", "max_count", "-3");
  l = readSkinLayout(keys, SkinMode::Compact);
  EXPECT_TRUE(l.pointsOutOfRange);
  EXPECT_TRUE(l.points.empty());
  keys.set("skin:compact:points", "max_count", "0");
  EXPECT_TRUE(readSkinLayout(keys, SkinMode::Compact).pointsOutOfRange);
}

TEST(SkinFormat, HostileSizesAreBounded) {
  MapKeys keys;
  keys.set("skin:compact:points", "max_count", "2");
  keys.set("skin:compact:points", "1x", "2000000000");
  keys.set("skin:compact:points", "2y", "-2000000000");
  keys.set("skin:compact:face", "w", "1000000");
  keys.set("skin:compact:face", "h", "-40");
  keys.set("skin:compact:time", "s", "100000");
  keys.set("skin:compact:money", "s", "-5");
  keys.set("skin:compact:time", "x", "-2000000000");
  const SkinLayout l = readSkinLayout(keys, SkinMode::Compact);
  EXPECT_EQ(l.width, kSkinExtentLimit);
  EXPECT_EQ(l.height, 0);
  EXPECT_EQ(l.points[1].y, -kSkinExtentLimit);
  EXPECT_EQ(l.image(SkinImageId::Face).w, kSkinExtentLimit);
  EXPECT_EQ(l.image(SkinImageId::Face).h, 0);
  EXPECT_EQ(l.text(SkinTextId::Time).pointSize, kMaxSkinFontSize);
  EXPECT_EQ(l.text(SkinTextId::Money).pointSize, 1);
  EXPECT_EQ(l.text(SkinTextId::Time).x, -kSkinExtentLimit);
}

TEST(SkinFormat, FontNamesAndColours) {
  MapKeys keys;
  keys.set("skin:compact:time", "f", std::string(40, 'A'));
  keys.set("skin:compact:money", "f", "Шрифт с очень длинным русским названием ещё");
  keys.set("skin:compact:time", "c", "6566425");
  const SkinLayout l = readSkinLayout(keys, SkinMode::Compact);
  EXPECT_EQ(l.text(SkinTextId::Time).font, std::string(31, 'A'));
  EXPECT_EQ(l.text(SkinTextId::Money).font, "Шрифт с очень длинным русским н");
  const SkinColor c = l.text(SkinTextId::Time).color;
  EXPECT_EQ(c.red(), 25);
  EXPECT_EQ(c.green(), 50);
  EXPECT_EQ(c.blue(), 100);
  const SkinColor white = l.text(SkinTextId::Money).color;
  EXPECT_EQ(white.red(), 255);
  EXPECT_EQ(white.blue(), 255);
}

TEST(SkinFormat, BitmapFileNames) {
  EXPECT_EQ(skinBitmapFileName("face", false, SkinMode::Full), "face.bmp");
  EXPECT_EQ(skinBitmapFileName("face", false, SkinMode::Compact), "face.bmp");
  EXPECT_EQ(skinBitmapFileName("face", true, SkinMode::Full), "face_f.bmp");
  EXPECT_EQ(skinBitmapFileName("switch_dn", true, SkinMode::Compact), "switch_dn_c.bmp");
}

TEST(SkinFormat, Validity) {
  MapKeys keys;
  EXPECT_EQ(checkSkinValidity(keys), SkinValidity::NotASkin);
  keys.set("skin", "generation", "4");
  EXPECT_EQ(checkSkinValidity(keys), SkinValidity::Valid);
  keys.set("skin", "support", "40");
  EXPECT_EQ(checkSkinValidity(keys), SkinValidity::Valid);
  keys.set("skin", "support", "41");
  EXPECT_EQ(checkSkinValidity(keys), SkinValidity::NeedsNewerProgram);
}

}  // namespace
}  // namespace tarvik
