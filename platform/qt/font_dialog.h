#pragma once

#include <QFont>
#include <QWidget>
#include <optional>

namespace tarvik {

// The program's font picker. Every font picker of the Qt layer goes through here, so that
// widget tests can answer it in-process.
namespace font_dialog {

// A font installed here, starting from `initial`, with its size kept within `minPoints` to
// `maxPoints`; nothing when the user cancels.
std::optional<QFont> pickFont(QWidget* parent, const QFont& initial, int minPoints, int maxPoints);

// Widget tests pick in-process: each call queues the font that the next picker returns at once
// (sized within the picker's limits), without being shown; nothing stands for a cancel.
void setNextFont(const std::optional<QFont>& font);

}  // namespace font_dialog
}  // namespace tarvik
