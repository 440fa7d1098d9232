#include "settings/skin_page_texts.h"

#include "config/keys.h"

namespace tarvik {

namespace {

// The maker's texts shown for the skins that come with the program.
constexpr const char* kMakerAuthor = "автор: Olm";
constexpr const char* kMakerMail = "skins@tarvik.example.org";
constexpr const char* kMakerWeb = "https://tarvik.example.org/";

}  // namespace

SkinPanelTexts builtinSkinPanel(bool advanced) {
  SkinPanelTexts t;
  t.name = advanced ? "РАСШИРЕННАЯ" : "СТАНДАРТНАЯ";
  t.version = advanced ? "версия: 1.0" : "версия: 1.1";
  t.author = kMakerAuthor;
  t.mail = kMakerMail;
  t.web = kMakerWeb;
  return t;
}

SkinPanelTexts externalSkinPanel(const SkinKeys& keys) {
  namespace k = skin_file_keys;
  const auto info = sections::skinInfo();
  const auto text = [&](const TextKey<Scope::SkinFile>& key, std::string_view def) {
    return keys.readString(info.name(), key.name, def);
  };
  SkinPanelTexts t;
  t.name = text(k::kName, "?");
  t.version = "версия: " + text(k::kVersion, "?");
  t.author = "автор: " + text(k::kAuthor, "?");
  t.mail = text(k::kMail, " ");
  t.web = text(k::kWeb, " ");
  if (keys.readInt(info.name(), k::kCommentUse.name, 0) != 0)
    t.comment =
        "Информация от автора темы интерфейса:\n\t«" + text(k::kCommentMsg, "Привет!") + "»";
  return t;
}

std::string externalSkinName(const std::filesystem::path& skinFile) {
  std::string folder = skinFile.parent_path().string();
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

std::string transparencyText(int percent) {
  return std::to_string(percent) + " %";
}

std::string fadeSpeedWord(int speed) {
  if (speed <= 10) return "(  БЬIСТРОЕ   )";
  if (speed <= 20) return "(  НОРМАЛЬНОЕ   )";
  if (speed <= 30) return "(  УМЕРЕННОЕ   )";
  if (speed <= 40) return "(  ЗАМЕДЛЕННОЕ   )";
  return "(  МЕДЛЕННОЕ   )";
}

}  // namespace tarvik
