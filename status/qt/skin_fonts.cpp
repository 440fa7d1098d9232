#include "status/qt/skin_fonts.h"

#include <QString>
#include <algorithm>
#include <cmath>

namespace tarvik {
namespace {

// A stand-in with the same advance widths, ascent and descent keeps every text in the box the
// skin's author placed it in; the taller stand-in the desktop would pick pushes digits out of
// their boxes and names into the lines of the face.
struct FontSubstitute {
  const char* skinFamily;
  const char* family;
  // "Small Fonts" is a bitmap font; its ascent, internal leading included, is one pixel more
  // than that of a sans serif of Arial's metrics at the same size.
  int topMargin;
};
constexpr FontSubstitute kFontSubstitutes[] = {{"Courier New", "Liberation Mono", 0},
                                               {"Courier", "Liberation Mono", 0},
                                               {"Arial", "Liberation Sans", 0},
                                               {"Arial Narrow", "Liberation Sans Narrow", 0},
                                               {"Times New Roman", "Liberation Serif", 0},
                                               {"MS Sans Serif", "Liberation Sans", 0},
                                               {"Small Fonts", "Liberation Sans", 1}};

// Skin font sizes are points at the 96 dots per inch the skins were drawn for; the window is
// never scaled by the screen's resolution.
int pixelSize(int points) {
  return std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0)));
}

}  // namespace

SkinTextStyle skinTextStyle(const SkinText& text) {
  QString family = QString::fromStdString(text.font);
  int topMargin = 0;
  for (const FontSubstitute& sub : kFontSubstitutes) {
    if (family.compare(QLatin1String(sub.skinFamily), Qt::CaseInsensitive) == 0) {
      family = QString::fromLatin1(sub.family);
      topMargin = sub.topMargin;
      break;
    }
  }
  QFont font(family);
  font.setPixelSize(pixelSize(text.pointSize));
  font.setBold(text.bold);
  return {font, topMargin};
}

}  // namespace tarvik
