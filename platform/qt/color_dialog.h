#pragma once

#include <QColor>
#include <QWidget>

namespace tarvik {

// The program's colour picker (the full dialog, custom colours included). Every colour picker
// of the Qt layer goes through here, so that widget tests can answer it in-process.
namespace color_dialog {

// The colour chosen, starting from `initial`; an invalid colour when the user cancels.
QColor pickColor(QWidget* parent, const QColor& initial);

// Widget tests pick in-process: each call queues the colour that the next picker returns at
// once, without being shown; an invalid colour stands for a cancelled picker.
void setNextColor(const QColor& color);

}  // namespace color_dialog
}  // namespace tarvik
