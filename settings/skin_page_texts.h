#pragma once

#include <filesystem>
#include <string>

#include "status/skin_format.h"

namespace tarvik {

// One column of the skin page's information panel ("АКТИВНАЯ" or "ВЬIБРАННАЯ").
struct SkinPanelTexts {
  std::string name, version, author, mail, web;
  // The skin author's note, shown once when the skin is picked; empty for none.
  std::string comment;
};

// The built-in skins, standard or advanced.
SkinPanelTexts builtinSkinPanel(bool advanced);
// An external skin, from its [skin:info] keys; a missing text shows as "?" (name, version,
// author) or a blank (e-mail, web).
SkinPanelTexts externalSkinPanel(const SkinKeys& keys);

// The stored name of an external skin: the folder of its skin.qsf with a trailing separator.
std::string externalSkinName(const std::filesystem::path& skinFile);

// "25 %" beside the transparency track bar.
std::string transparencyText(int percent);
// The word for the fade speed (the timer interval: higher is slower).
std::string fadeSpeedWord(int speed);

// The e-mail and web panels act as links only for a text longer than this.
inline constexpr std::size_t kSkinLinkMinLength = 4;

}  // namespace tarvik
