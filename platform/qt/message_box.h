#pragma once

#include <QMessageBox>
#include <QString>

namespace tarvik {

// The program's message boxes: modal, on top, empty caption. Every box the Qt layer shows
// goes through run() so that the end-to-end test hook below reaches all of them.
//
// Test hook: when the environment variable TARVIK_TEST_DISMISS_MS holds a number, every box
// answers its default button by itself after that many milliseconds. The end-to-end tests
// run the real program on the offscreen platform, where nobody could press a button.
namespace message_box {

// Runs a prepared box and returns the button chosen.
QMessageBox::StandardButton run(QMessageBox& box);

// A notice with only an OK button.
void inform(const QString& text);
// A Yes/No question; `defaultNo` makes No the default button.
QMessageBox::StandardButton askYesNo(const QString& text, bool defaultNo);
// A Yes/No/Cancel question, Yes by default.
QMessageBox::StandardButton askYesNoCancel(const QString& text);

}  // namespace message_box
}  // namespace tarvik
