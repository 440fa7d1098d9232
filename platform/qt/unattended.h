#pragma once

#include <QDialog>
#include <functional>

namespace tarvik {

// The end-to-end tests drive the real program on the offscreen platform, where nobody can
// press a button: when the environment variable TARVIK_TEST_DISMISS_MS holds a number, every
// modal dialog of the program gives its default answer by itself after that many
// milliseconds. Widget tests answer in-process instead (message_box::setNextAnswer,
// file_dialog::setNextFileName).
void answerUnattended(QDialog& dialog, std::function<void()> defaultAnswer);

// End-to-end tests drive a shown window through the window system like a user, so they need
// to know where its controls are: when TARVIK_TEST_WIDGET_MAP names a file, a moment after
// each call every visible named widget of `window` is listed there, one "name x y width
// height" a line, in screen pixels from the top-left corner of the window's client area. A
// label, edit box or button adds a tab and the text it shows (line breaks as "\n"), so that a
// test can read the figures a page shows. The file is replaced whole, so a reader never sees
// half a list.
void mapWidgetsUnattended(QWidget& window);

}  // namespace tarvik
