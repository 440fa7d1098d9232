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

}  // namespace tarvik
