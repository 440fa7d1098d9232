#include "platform/qt/font_dialog.h"

#include <QFontDialog>
#include <algorithm>
#include <deque>

#include "platform/qt/unattended.h"

namespace tarvik::font_dialog {
namespace {

std::deque<std::optional<QFont>>& nextFonts() {
  static std::deque<std::optional<QFont>> fonts;
  return fonts;
}

// The picker offers every size; what it returns is kept within the caller's limits.
QFont limited(QFont font, int minPoints, int maxPoints) {
  if (font.pointSize() > 0) font.setPointSize(std::clamp(font.pointSize(), minPoints, maxPoints));
  return font;
}

}  // namespace

std::optional<QFont> pickFont(QWidget* parent, const QFont& initial, int minPoints, int maxPoints) {
  if (!nextFonts().empty()) {
    const std::optional<QFont> font = nextFonts().front();
    nextFonts().pop_front();
    if (!font) return std::nullopt;
    return limited(*font, minPoints, maxPoints);
  }
  QFontDialog dialog(initial, parent);
  // Only fonts that exist here: no free text for a family the system does not have.
  dialog.setOption(QFontDialog::DontUseNativeDialog, true);
  answerUnattended(dialog, [&dialog] { dialog.reject(); });
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return limited(dialog.selectedFont(), minPoints, maxPoints);
}

void setNextFont(const std::optional<QFont>& font) {
  nextFonts().push_back(font);
}

}  // namespace tarvik::font_dialog
