#include "status/skin_writer.h"

#include "config/codepage.h"
#include "config/directory_scan.h"
#include "config/file_replace.h"
#include "config/ini_file.h"
#include "config/keys.h"
#include "config/regular_file.h"
#include "status/skin_format.h"

namespace tarvik {
namespace {

namespace k = skin_file_keys;

std::string describe(const std::filesystem::path& from, const std::filesystem::path& to) {
  return from.string() + " -> " + to.string();
}

// Copies one file over whatever `to` holds. Copying a file onto itself (a skin saved back
// into its own folder) leaves it as it is.
bool copyReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
  std::error_code ec;
  if (std::filesystem::equivalent(from, to, ec)) return true;
  return std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing,
                                    ec) &&
         !ec;
}

void copyPictures(const IniFile& skin, const std::filesystem::path& folder,
                  std::vector<std::string>& failures) {
  const bool separated = readSwitch(skin, sections::skinHeader(), k::kSeparated);
  const int lastMode = separated ? 1 : 0;
  for (int digit = 0; digit <= lastMode; ++digit) {
    const SkinMode mode = digit == 1 ? SkinMode::Full : SkinMode::Compact;
    for (const char* name : kSkinBitmapNames) {
      const std::string source = readKey(skin, sections::skinImages(), k::imagePath(name, digit));
      if (source.empty()) continue;  // nothing chosen in the editor: nothing to copy
      const std::filesystem::path to = folder / skinBitmapFileName(name, separated, mode);
      if (!copyReplacing(source, to)) failures.push_back(describe(source, to));
    }
  }
}

void copyOpenedSkinFiles(const std::filesystem::path& from, const std::filesystem::path& folder,
                         std::vector<std::string>& failures) {
  const bool read = scanDirectory(from, [&](const std::filesystem::directory_entry& entry) {
    std::error_code ec;
    if (!entry.is_regular_file(ec)) return true;
    const std::filesystem::path to = folder / entry.path().filename();
    // Pictures chosen in the editor were copied already and win.
    if (std::filesystem::exists(to, ec)) return true;
    if (!std::filesystem::copy_file(entry.path(), to, ec) || ec)
      failures.push_back(describe(entry.path(), to));
    return true;
  });
  if (!read) failures.push_back(from.string());
}

}  // namespace

bool isSkinFileName(const std::filesystem::path& file) {
  return cp1251Fold(utf8ToCp1251(file.filename().string())) == "skin.qsf";
}

SkinSaveResult saveSkinDraft(const SkinDraft& draft, const std::filesystem::path& target,
                             bool doubleMode,
                             const std::optional<std::filesystem::path>& openedFolder) {
  SkinSaveResult result;
  const std::filesystem::path folder = target.parent_path();
  const IniFile skin(target);
  try {
    const FileRead read = readRegularFile(draft.file());
    if (read.error != 0) throw IniWriteError("cannot read " + draft.file().string());
    replaceFile(target, read.bytes);
  } catch (const IniWriteError&) {
    result.failures.push_back(describe(draft.file(), target));
    return result;
  }

  copyPictures(skin, folder, result.failures);

  try {
    IniEdit edit(skin);
    const auto header = sections::skinHeader();
    writeSwitch(edit, header, k::kDouble, doubleMode);
    writeKey(edit, header, k::kGeneration, k::kEditorGeneration);
    writeKey(edit, header, k::kSupport, k::kEditorSupport);
    writeKey(edit, header, k::kGenerator, k::kEditorGenerator);
    edit.deleteSection(sections::skinTemp().name());
    edit.deleteSection(sections::skinImages().name());
    edit.commit();
  } catch (const IniWriteError&) {
    result.failures.push_back(target.string());
  }

  if (openedFolder) copyOpenedSkinFiles(*openedFolder, folder, result.failures);
  return result;
}

}  // namespace tarvik
