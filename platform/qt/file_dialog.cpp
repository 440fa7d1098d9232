#include "platform/qt/file_dialog.h"

#include <QFileDialog>
#include <deque>
#include <utility>

#include "platform/qt/unattended.h"

namespace tarvik::file_dialog {
namespace {

std::deque<QString>& nextFileNames() {
  static std::deque<QString> names;
  return names;
}

QList<Offer>& offers() {
  static QList<Offer> made;
  return made;
}

QString run(QFileDialog& dialog, const QString& path) {
  if (!nextFileNames().empty()) {
    offers().append(
        {dialog.windowTitle(), path, dialog.nameFilters().join(";;"), dialog.defaultSuffix()});
    QString name = nextFileNames().front();
    nextFileNames().pop_front();
    return name;
  }
  // Unattended, a picker is cancelled: nothing is opened or written.
  answerUnattended(dialog, [&dialog] { dialog.reject(); });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

}  // namespace

QString openFileName(QWidget* parent, const QString& caption, const QString& directory,
                     const QString& filter) {
  QFileDialog dialog(parent, caption, directory, filter);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  return run(dialog, directory);
}

QString saveFileName(QWidget* parent, const QString& caption, const QString& suggestedPath,
                     const QString& filter, const QString& defaultSuffix) {
  QFileDialog dialog(parent, caption, suggestedPath, filter);
  dialog.setDefaultSuffix(defaultSuffix);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  return run(dialog, suggestedPath);
}

QString existingDirectory(QWidget* parent, const QString& caption, const QString& directory) {
  QFileDialog dialog(parent, caption, directory);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly, true);
  return run(dialog, directory);
}

void setNextFileName(const QString& fileName) {
  nextFileNames().push_back(fileName);
}

QList<Offer> takeOffers() {
  return std::exchange(offers(), {});
}

}  // namespace tarvik::file_dialog
