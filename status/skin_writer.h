#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "status/skin_draft.h"

namespace tarvik {

// A skin is saved only into a file named skin.qsf, in any letter case.
bool isSkinFileName(const std::filesystem::path& file);

// The pictures a draft must have loaded before it can be saved: 12 per mode.
inline int expectedSkinPictures(bool bothModes) {
  return bothModes ? 24 : 12;
}

struct SkinSaveResult {
  // Every file that could not be written, as "source -> target" or the target alone.
  std::vector<std::string> failures;
  bool ok() const { return failures.empty(); }
};

// Writes the draft as a skin folder: the draft's text becomes `target` (a skin.qsf) with the
// [skin] keys of a finished skin and without the editor's own sections, each chosen picture
// is copied under the name the skin format gives it (plain, or _c / _f for separate sets), and
// when an existing skin was edited, the other files of its folder are copied too unless the
// target folder already has them. Each copy and write is checked; the result lists what
// failed, so that a half-written folder is never reported as saved.
SkinSaveResult saveSkinDraft(const SkinDraft& draft, const std::filesystem::path& target,
                             bool doubleMode,
                             const std::optional<std::filesystem::path>& openedFolder);

}  // namespace tarvik
