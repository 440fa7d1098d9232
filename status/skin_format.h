#pragma once

#include <string>
#include <string_view>

#include "config/ini_file.h"
#include "status/skin.h"

namespace tarvik {

// Read access to the keys of one skin text, be it a skin.qsf file on disk or a built-in skin
// held in memory. Missing or non-numeric values give the default, like every INI read.
class SkinKeys {
 public:
  virtual ~SkinKeys() = default;
  virtual int readInt(std::string_view section, std::string_view key, int def) const = 0;
  virtual std::string readString(std::string_view section, std::string_view key,
                                 std::string_view def) const = 0;
};

// The keys of a skin read through the INI rules: a skin.qsf file (IniFile), or a skin text held
// in memory — a built-in skin, or bytes being checked (IniDocument).
template <class Ini>
class IniSkinKeys final : public SkinKeys {
 public:
  explicit IniSkinKeys(Ini ini) : ini_(std::move(ini)) {}
  int readInt(std::string_view section, std::string_view key, int def) const override {
    return ini_.readInt(section, key, def);
  }
  std::string readString(std::string_view section, std::string_view key,
                         std::string_view def) const override {
    return ini_.readString(section, key, def);
  }

 private:
  Ini ini_;
};
using FileSkinKeys = IniSkinKeys<IniFile>;
using DocumentSkinKeys = IniSkinKeys<IniDocument>;

// The outline can hold this many control points.
inline constexpr int kMaxSkinPoints = 50;
// Coordinates and sizes are kept within this many pixels, so a hostile skin cannot ask for a
// window or a picture of gigabytes.
inline constexpr int kSkinExtentLimit = 2048;
// Font sizes are kept within 1 .. this many points: the largest size the skin editor offers,
// so that every skin it writes reads back as it was made.
inline constexpr int kMaxSkinFontSize = 100;
// Font face names are cut to this many characters.
inline constexpr std::size_t kMaxSkinFontName = 31;

SkinHeader readSkinHeader(const SkinKeys& keys);

// Reads one mode's outline, texts, images and shadow settings with the defaults for every
// missing key. A max_count outside 1 .. 50 sets pointsOutOfRange; then at most 50 points are
// read and the size comes from those.
SkinLayout readSkinLayout(const SkinKeys& keys, SkinMode mode);

// The file name of an external skin's bitmap: "face.bmp" for one shared set, "face_c.bmp" /
// "face_f.bmp" when each mode has its own.
std::string skinBitmapFileName(std::string_view baseName, bool separated, SkinMode mode);

// The check made when the user picks an external skin.
enum class SkinValidity { NotASkin, NeedsNewerProgram, Valid };
inline constexpr int kSupportedSkinLevel = 40;
SkinValidity checkSkinValidity(const SkinKeys& keys);

}  // namespace tarvik
