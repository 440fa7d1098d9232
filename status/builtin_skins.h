#pragma once

#include <memory>
#include <string_view>

#include "status/skin_format.h"

namespace tarvik {

// The two skins the program carries: "Default" (standard) and "Advanced".
enum class BuiltinSkin { Standard, Advanced };

// "Advanced" selects the advanced skin; every other name the standard one.
BuiltinSkin builtinSkinFor(std::string_view skinName);

// The skin's INI text, parsed from memory by the loader.
std::string_view builtinSkinText(BuiltinSkin skin);

// The keys of that text.
std::unique_ptr<SkinKeys> builtinSkinKeys(BuiltinSkin skin);

// Prefix of the skin's pictures among the program's resources: "A_" or "D_" followed by the
// picture's base name in capitals (A_FACE, D_SWITCH_ON).
std::string_view builtinSkinPrefix(BuiltinSkin skin);

}  // namespace tarvik
