#pragma once

#include <QString>
#include <QWidget>

namespace tarvik {

// The program's file pickers. Every picker of the Qt layer goes through here, so that widget
// tests can answer them in-process and the end-to-end tests never wait on one.
namespace file_dialog {

// An existing file to open; "" when the user cancels.
QString openFileName(QWidget* parent, const QString& caption, const QString& directory,
                     const QString& filter);
// A file to save to (the picker itself asks before an existing file is replaced); "" when
// the user cancels.
QString saveFileName(QWidget* parent, const QString& caption, const QString& suggestedPath,
                     const QString& filter);
// An existing folder; "" when the user cancels.
QString existingDirectory(QWidget* parent, const QString& caption, const QString& directory);

// Widget tests pick in-process: each call queues the name that the next picker returns at
// once, without being shown; "" stands for a picker the user cancels.
void setNextFileName(const QString& fileName);

}  // namespace file_dialog
}  // namespace tarvik
