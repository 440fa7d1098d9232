#pragma once

#include <QFont>

#include "status/skin.h"

namespace tarvik {

// How a skin's text object is drawn on this desktop: the font, and how far the text sits below
// the top of its box so that its baseline falls where the named font's would.
struct SkinTextStyle {
  QFont font;
  int topMargin = 0;
};

// The skins name Windows fonts. Where a font of the same metrics is installed it takes the
// name's place explicitly, sized as Windows sizes fonts at 96 dots per inch.
SkinTextStyle skinTextStyle(const SkinText& text);

}  // namespace tarvik
