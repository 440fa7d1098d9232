#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

#include "status/skin.h"
#include "status/skin_format.h"

namespace tarvik {

// The mode digit of the editor's picture keys: 0 compact, 1 full.
inline int skinModeDigit(SkinMode mode) {
  return mode == SkinMode::Full ? 1 : 0;
}

// The editor's controls keep boxes, places and control points within these ranges.
inline constexpr int kDraftExtentMax = 200;
inline constexpr int kDraftPlaceMin = -25;
inline constexpr int kDraftPlaceMax = 175;
inline constexpr int kDraftFontSizeMin = 5;
inline constexpr int kDraftFontSizeMax = kMaxSkinFontSize;
// An editor's skin always has this many control points per mode.
inline constexpr int kDraftPoints = 16;

// The author group as the editor shows it; a new skin starts with these texts.
struct SkinAuthorInfo {
  std::string author = "неизвестный";
  std::string name = "новая тема";
  std::string version = "1.0";
  std::string mail = "-";
  std::string web = "-";
  bool commentUse = false;
  std::string commentMsg;
};

// Which of a mode's twelve pictures are loaded in the editor, in the order of kSkinBitmapNames.
using SkinLoadedMarks = std::array<bool, 12>;

// The skin editor's working file (new_skin.tmp): a skin text under construction plus the
// editor's own sections. Every write goes straight to the file as one atomic replacement, so a
// crash never leaves it torn, and throws IniWriteError when the file cannot be written.
class SkinDraft {
 public:
  explicit SkinDraft(std::filesystem::path file) : file_(std::move(file)) {}

  const std::filesystem::path& file() const { return file_; }
  bool exists() const;
  // Deletes the file; false when it is still there afterwards.
  bool remove() const;
  // Replaces the whole file with a copy of `skinFile` (editing an existing skin).
  void copyFrom(const std::filesystem::path& skinFile) const;

  // What the file holds for one mode, with the skin format's defaults for every missing key.
  SkinLayout layout(SkinMode mode) const;
  SkinAuthorInfo authorInfo() const;
  bool separated() const;
  bool created(SkinMode mode) const;
  std::string imagePath(std::string_view name, SkinMode mode) const;
  bool imageLoaded(std::string_view name, SkinMode mode) const;
  // Loaded marks over the compact mode, and the full mode too when `bothModes`.
  int loadedCount(bool bothModes) const;

  void markCreated(SkinMode mode) const;
  void writeSeparated(bool separated) const;
  // The four image objects of `layout.mode` and the mode's twelve loaded marks.
  void writeImages(const SkinLayout& layout, const SkinLoadedMarks& loaded) const;
  // The mode's shadow settings and its five text objects.
  void writeTexts(const SkinLayout& layout) const;
  // Control point n (from 1) of `mode`, and all of a layout's points.
  void writePoint(SkinMode mode, int n, SkinPoint point) const;
  void writePoints(const SkinLayout& layout) const;
  void writeAuthorInfo(const SkinAuthorInfo& info) const;
  // The file chosen for a picture; `loaded` sets its mark too (for the other mode of a shared
  // picture set, whose mark the editor sets when that mode is shown).
  void writeImagePath(std::string_view name, SkinMode mode, std::string_view path,
                      bool setLoaded) const;

 private:
  std::filesystem::path file_;
};

// The sixteen control points around a w x h picture, in quarters by integer division: down
// the left edge, along the bottom, up the right edge and back along the top.
std::array<SkinPoint, kDraftPoints> borderPoints(int w, int h);

}  // namespace tarvik
