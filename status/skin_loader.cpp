#include "status/skin_loader.h"

#include <cctype>
#include <memory>

#include "config/ini_file.h"
#include "config/keys.h"
#include "status/builtin_skins.h"
#include "status/skin_format.h"

namespace tarvik {
namespace {

constexpr const char* kWriteFailed = "Возникла ошибка при попытке записать файл на диск.\n";

std::string upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

SkinChoice readSkinChoice(const ProgramFiles& files) {
  IniFile config(files.config());
  SkinChoice choice;
  choice.full = readKey(config, sections::skin(), skin_keys::kSkinSize) == 1;
  choice.name = readKey(config, sections::skin(), skin_keys::kSkinName);
  choice.external = readSwitch(config, sections::skin(), skin_keys::kSkinExternal);
  return choice;
}

bool acceptPickedSkin(const SkinKeys& keys, EventLog& log, User& user) {
  return acceptPickedSkin(keys, log, [&user](std::string_view text) { user.message(text); });
}

bool acceptPickedSkin(const SkinKeys& keys, EventLog& log,
                      const std::function<void(std::string_view)>& message) {
  switch (checkSkinValidity(keys)) {
    case SkinValidity::NotASkin:
      log.append(" Failed reading skin data.\n Invalid skin file format.\n Skin loading canceled.");
      message("Файл не является темой интерфейса либо не поддерживается программой.");
      return false;
    case SkinValidity::NeedsNewerProgram:
      log.append(
          " Skin algorithm version is higher than supported.\n Full functionality is not "
          "guaranteed.");
      message(
          "Загружаемая тема интерфейса поддерживается другой версией программы.\nЭто может "
          "вызвать некорректное отображение некоторых компонентов темы.");
      return true;
    case SkinValidity::Valid:
      break;
  }
  return true;
}

SkinLoadResult SkinLoader::load(const SkinChoice& choice, SkinPictures& pictures) {
  SkinLoadResult result;
  // The settings could not be saved and the program is ending: a caller's second try would only
  // repeat the same failure and its message.
  if (terminated_) return result;
  log_.append(std::string(" Loading skin...\n Skin type: ") +
                  (choice.external ? "External\n Skin path: " : "Internal\n Skin name: ") +
                  choice.name + (choice.full ? "\n Skin mode: Full" : "\n Skin mode: Compact"),
              true);

  SkinMode mode = choice.full ? SkinMode::Full : SkinMode::Compact;
  std::unique_ptr<SkinKeys> keys;
  pictures.clear();
  if (!choice.external) {
    // Built-in skins are parsed straight from memory, so they load from a read-only folder too.
    const BuiltinSkin skin = builtinSkinFor(choice.name);
    keys = builtinSkinKeys(skin);
    const std::string prefix(builtinSkinPrefix(skin));
    for (std::size_t i = 0; i < kSkinBitmapNames.size(); ++i)
      pictures.loadResource(static_cast<SkinBitmap>(i), prefix + upper(kSkinBitmapNames[i]));
  } else {
    const std::filesystem::path folder(choice.name);
    keys = std::make_unique<FileSkinKeys>(IniFile(std::filesystem::path(choice.name + "skin.qsf")));
    if (!readSwitch(*keys, sections::skinHeader(), skin_file_keys::kDouble)) {
      if (mode == SkinMode::Full)
        log_.append(
            " Failed. Skin has one mode settings only.\n Compact mode parameters will be loaded.");
      mode = SkinMode::Compact;
    }
    const bool separated = readSwitch(*keys, sections::skinHeader(), skin_file_keys::kSeparated);
    for (std::size_t i = 0; i < kSkinBitmapNames.size(); ++i) {
      const auto file = std::filesystem::path(
          choice.name + skinBitmapFileName(kSkinBitmapNames[i], separated, mode));
      if (!pictures.loadFile(static_cast<SkinBitmap>(i), file)) {
        fallBackToStandard();
        return result;
      }
    }
  }

  result.header = readSkinHeader(*keys);
  result.layout = readSkinLayout(*keys, mode);
  if (result.layout.pointsOutOfRange) {
    log_.append(" Failed loading shape points data.\n Points count is out of range (max = 50)");
    user_.message(
        "Произошла ошибка во время чтения параметров контрольных точек.\nВероятно, в файле темы "
        "их установлено слишком много (max = 50).");
  }
  result.ok = true;
  return result;
}

void SkinLoader::fallBackToStandard() {
  log_.append(" Failed. Bitmap file not found.\n Default skin will be set.");
  user_.message(
      "Произошла ошибка во время загрузки темы.\nСтандартная тема интерфейса будет загружена.");
  try {
    IniFile config(files_.config());
    IniEdit edit(config);
    const auto section = sections::skin();
    writeSwitch(edit, section, skin_keys::kSkinExternal, false);
    writeKey(edit, section, skin_keys::kSkinName, skin_keys::kStandardSkinName);
    writeKey(edit, section, skin_keys::kSkinSize, 0);
    edit.commit();
  } catch (const IniWriteError&) {
    log_.append(" Failed. Unable to write settings.");
    user_.message(
        "Произошла ошибка загрузки темы и сохранения её настроек.\nВозможно, программа запущена с "
        "диска, запись на который запрещена\nили файл настроек имеет аттрибут «только для "
        "чтения».\nРабота программы будет прекращена.");
    log_.append(" Application will be Terminated.");
    terminated_ = true;
    user_.terminate();
  }
}

SkinLoadResult SkinLoader::switchMode(bool full, SkinPictures& pictures) {
  try {
    IniFile config(files_.config());
    writeKey(config, sections::skin(), skin_keys::kSkinSize, full ? 1 : 0);
  } catch (const IniWriteError&) {
    log_.append(" Failed switching between skin modes.", true);
    user_.message(std::string(kWriteFailed) +
                  "Смена режима отображения темы интерфейса невозможна.");
    return {};
  }
  return load(readSkinChoice(files_), pictures);
}

}  // namespace tarvik
