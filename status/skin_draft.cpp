#include "status/skin_draft.h"

#include "config/file_replace.h"
#include "config/ini_file.h"
#include "config/keys.h"
#include "config/regular_file.h"
#include "status/skin_format.h"

namespace tarvik {
namespace {

namespace k = skin_file_keys;

constexpr const char* kTextSections[5] = {"time", "money", "currency", "entry", "tariff"};
constexpr const char* kImageSections[4] = {"face", "indicator", "hide", "switch"};

int colorValue(SkinColor c) {
  return static_cast<int>(c.value & 0xFFFFFFu);
}

// Pictures and texts keep their place and size under the same four keys.
template <typename Box>
void writeBox(IniEdit& edit, const Section<Scope::SkinFile>& section, const Box& box) {
  writeKey(edit, section, k::kX, box.x);
  writeKey(edit, section, k::kY, box.y);
  writeKey(edit, section, k::kH, box.h);
  writeKey(edit, section, k::kW, box.w);
}

}  // namespace

bool SkinDraft::exists() const {
  std::error_code ec;
  return std::filesystem::exists(file_, ec);
}

bool SkinDraft::remove() const {
  std::error_code ec;
  std::filesystem::remove(file_, ec);
  return !exists();
}

void SkinDraft::copyFrom(const std::filesystem::path& skinFile) const {
  const FileRead read = readRegularFile(skinFile);
  if (read.error != 0)
    throw IniWriteError("cannot read " + skinFile.string() + ": " + readErrorText(read.error));
  replaceFile(file_, read.bytes);
}

SkinLayout SkinDraft::layout(SkinMode mode) const {
  return readSkinLayout(FileSkinKeys(IniFile(file_)), mode);
}

SkinAuthorInfo SkinDraft::authorInfo() const {
  const IniFile f(file_);
  const auto info = sections::skinInfo();
  const SkinAuthorInfo d;
  SkinAuthorInfo i;
  i.author = readKey(f, info, k::kAuthor, d.author);
  i.name = readKey(f, info, k::kName, d.name);
  i.version = readKey(f, info, k::kVersion, d.version);
  i.mail = readKey(f, info, k::kMail, d.mail);
  i.web = readKey(f, info, k::kWeb, d.web);
  i.commentUse = readSwitch(f, info, k::kCommentUse);
  i.commentMsg = readKey(f, info, k::kCommentMsg);
  return i;
}

bool SkinDraft::separated() const {
  return readSwitch(IniFile(file_), sections::skinHeader(), k::kSeparated);
}

bool SkinDraft::created(SkinMode mode) const {
  return readSwitch(IniFile(file_), sections::skinTemp(),
                    mode == SkinMode::Full ? k::kFullCreated : k::kCompactCreated);
}

std::string SkinDraft::imagePath(std::string_view name, SkinMode mode) const {
  return readKey(IniFile(file_), sections::skinImages(), k::imagePath(name, skinModeDigit(mode)));
}

bool SkinDraft::imageLoaded(std::string_view name, SkinMode mode) const {
  return readSwitch(IniFile(file_), sections::skinImages(),
                    k::imageLoaded(name, skinModeDigit(mode)));
}

int SkinDraft::loadedCount(bool bothModes) const {
  const IniFile f(file_);
  int count = 0;
  for (int mode = 0; mode <= (bothModes ? 1 : 0); ++mode)
    for (const char* name : kSkinBitmapNames)
      if (readSwitch(f, sections::skinImages(), k::imageLoaded(name, mode))) ++count;
  return count;
}

void SkinDraft::markCreated(SkinMode mode) const {
  IniFile f(file_);
  writeKey(f, sections::skinTemp(), mode == SkinMode::Full ? k::kFullCreated : k::kCompactCreated,
           1);
}

void SkinDraft::writeSeparated(bool separated) const {
  IniFile f(file_);
  writeSwitch(f, sections::skinHeader(), k::kSeparated, separated);
}

void SkinDraft::writeImages(const SkinLayout& layout, const SkinLoadedMarks& loaded) const {
  const IniFile f(file_);
  IniEdit edit(f);
  const std::string_view word = skinModeWord(layout.mode);
  for (std::size_t i = 0; i < 4; ++i) {
    const auto section = sections::skinObject(word, kImageSections[i]);
    const SkinImage& img = layout.images[i];
    writeBox(edit, section, img);
    writeSwitch(edit, section, k::kStretch, img.stretch);
  }
  const int digit = skinModeDigit(layout.mode);
  for (std::size_t i = 0; i < kSkinBitmapNames.size(); ++i)
    writeSwitch(edit, sections::skinImages(), k::imageLoaded(kSkinBitmapNames[i], digit),
                loaded[i]);
  edit.commit();
}

void SkinDraft::writeTexts(const SkinLayout& layout) const {
  const IniFile f(file_);
  IniEdit edit(f);
  const std::string_view word = skinModeWord(layout.mode);
  writeSwitch(edit, sections::skinMode(word), k::kShadowUse, layout.shadowUse);
  writeKey(edit, sections::skinMode(word), k::kShadowColor, colorValue(layout.shadowColor));
  for (std::size_t i = 0; i < 5; ++i) {
    const auto section = sections::skinObject(word, kTextSections[i]);
    const SkinText& t = layout.texts[i];
    writeBox(edit, section, t);
    writeKey(edit, section, k::kAlign, static_cast<int>(t.align));
    writeSwitch(edit, section, k::kBold, t.bold);
    writeKey(edit, section, k::kColor, colorValue(t.color));
    writeKey(edit, section, k::kFontSize, t.pointSize);
    writeKey(edit, section, k::kCharset, t.charset);
    writeKey(edit, section, k::kFont, t.font);
  }
  edit.commit();
}

void SkinDraft::writePoint(SkinMode mode, int n, SkinPoint point) const {
  const IniFile f(file_);
  IniEdit edit(f);
  const auto section = sections::skinPoints(skinModeWord(mode));
  writeKey(edit, section, k::pointX(n), std::to_string(point.x));
  writeKey(edit, section, k::pointY(n), std::to_string(point.y));
  edit.commit();
}

void SkinDraft::writePoints(const SkinLayout& layout) const {
  const IniFile f(file_);
  IniEdit edit(f);
  const auto section = sections::skinPoints(skinModeWord(layout.mode));
  for (std::size_t i = 0; i < layout.points.size(); ++i) {
    const int n = static_cast<int>(i) + 1;
    writeKey(edit, section, k::pointX(n), std::to_string(layout.points[i].x));
    writeKey(edit, section, k::pointY(n), std::to_string(layout.points[i].y));
  }
  edit.commit();
}

void SkinDraft::writeAuthorInfo(const SkinAuthorInfo& info) const {
  const IniFile f(file_);
  IniEdit edit(f);
  const auto section = sections::skinInfo();
  writeKey(edit, section, k::kAuthor, info.author);
  writeKey(edit, section, k::kName, info.name);
  writeKey(edit, section, k::kVersion, info.version);
  writeKey(edit, section, k::kMail, info.mail);
  writeKey(edit, section, k::kWeb, info.web);
  writeSwitch(edit, section, k::kCommentUse, info.commentUse);
  writeKey(edit, section, k::kCommentMsg, info.commentMsg);
  edit.commit();
}

void SkinDraft::writeImagePath(std::string_view name, SkinMode mode, std::string_view path,
                               bool setLoaded) const {
  const IniFile f(file_);
  IniEdit edit(f);
  const int digit = skinModeDigit(mode);
  writeKey(edit, sections::skinImages(), k::imagePath(name, digit), path);
  if (setLoaded) writeSwitch(edit, sections::skinImages(), k::imageLoaded(name, digit), true);
  edit.commit();
}

std::array<SkinPoint, kDraftPoints> borderPoints(int w, int h) {
  const int qx = w / 4;
  const int qy = h / 4;
  return {{{0, 0},
           {0, qy},
           {0, qy * 2},
           {0, qy * 3},
           {0, h},
           {qx, h},
           {qx * 2, h},
           {qx * 3, h},
           {w, h},
           {w, qy * 3},
           {w, qy * 2},
           {w, qy},
           {w, 0},
           {qx * 3, 0},
           {qx * 2, 0},
           {qx, 0}}};
}

}  // namespace tarvik
