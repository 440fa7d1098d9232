#include "platform/qt/file_dialog.h"

#include <QFileDialog>
#include <deque>

#include "platform/qt/unattended.h"

namespace tarvik::file_dialog {
namespace {

std::deque<QString>& nextFileNames() {
  static std::deque<QString> names;
  return names;
}

QString run(QFileDialog& dialog) {
  if (!nextFileNames().empty()) {
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
  return run(dialog);
}

QString saveFileName(QWidget* parent, const QString& caption, const QString& suggestedPath,
                     const QString& filter) {
  QFileDialog dialog(parent, caption, suggestedPath, filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  return run(dialog);
}

QString existingDirectory(QWidget* parent, const QString& caption, const QString& directory) {
  QFileDialog dialog(parent, caption, directory);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly, true);
  return run(dialog);
}

void setNextFileName(const QString& fileName) {
  nextFileNames().push_back(fileName);
}

}  // namespace tarvik::file_dialog
