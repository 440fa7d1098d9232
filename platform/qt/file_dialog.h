#pragma once

#include <QList>
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
// the user cancels. A name typed without an extension gets `defaultSuffix`.
QString saveFileName(QWidget* parent, const QString& caption, const QString& suggestedPath,
                     const QString& filter, const QString& defaultSuffix = {});
// An existing folder; "" when the user cancels.
QString existingDirectory(QWidget* parent, const QString& caption, const QString& directory);

// Widget tests pick in-process: each call queues the name that the next picker returns at
// once, without being shown; "" stands for a picker the user cancels.
void setNextFileName(const QString& fileName);

// What a picker was set up with, as a test reads it back.
struct Offer {
  QString caption;
  QString path;  // the start folder or suggested file
  QString filter;
  QString defaultSuffix;
};
// The pickers answered in-process since the last call, oldest first.
QList<Offer> takeOffers();

}  // namespace file_dialog
}  // namespace tarvik
