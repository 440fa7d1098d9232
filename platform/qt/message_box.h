#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

namespace tarvik {

// The program's message boxes: modal, on top, captioned with the program's name. (A box
// without a caption would get the name anyway: window managers put the application's name
// into an empty title, and Qt appends it to a title of only blanks.) Every box the Qt layer
// shows goes through run(), so that the test answers below reach all of them.
namespace message_box {

// The caption of every message box and question window of the program.
inline constexpr char kCaption[] = "Tarvik";

// Runs a prepared box and returns the button chosen.
QMessageBox::StandardButton run(QMessageBox& box);

// A notice with only an OK button.
void inform(const QString& text);
// A Yes/No question; `defaultNo` makes No the default button.
QMessageBox::StandardButton askYesNo(const QString& text, bool defaultNo);
// A Yes/No/Cancel question, Yes by default.
QMessageBox::StandardButton askYesNoCancel(const QString& text);

// Widget tests answer boxes in-process: each call queues the button that the next box
// returns at once, without being shown. A box with no queued answer runs as usual.
void setNextAnswer(QMessageBox::StandardButton button);
// The texts of the boxes answered from the queue since the last call, oldest first.
QStringList takeAnsweredTexts();

}  // namespace message_box
}  // namespace tarvik
