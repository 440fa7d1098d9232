#include "settings/qt/file_kinds.h"

#include <QDir>

#include "platform/qt/file_dialog.h"

namespace tarvik {

namespace {

struct KindSetUp {
  const char* title;
  const char* filter;
};

KindSetUp setUp(FileKind kind) {
  switch (kind) {
    case FileKind::Wave:
      return {"Укажите аудио файл...", "Аудио файлы формата wave (*.wav);;Все файлы (*)"};
    case FileKind::Program:
      // Programs here are whatever may be executed; the filter cannot say that, so it lists
      // everything and the launcher reports what will not start.
      return {"Укажите программу...", "Программы (*);;Все файлы (*)"};
    case FileKind::Skin:
      return {"Укажите файл темы...", "Файлы темы Olm программ (skin.qsf) (skin.qsf)"};
    case FileKind::Picture:
      return {"Укажите графический файл...",
              "Точечные рисунки формата bmp (*.bmp);;Пиктограммы формата ico 32x32 (*.ico);;"
              "Метафайлы формата emf (*.emf);;Все файлы (*)"};
    case FileKind::TariffImport:
      return {"Укажите файл для импортирования тарифа...",
              "Конфигурационные файлы (*.ini *.cfg);;Все файлы (*)"};
  }
  return {"", ""};
}

}  // namespace

QString pickFile(QWidget* parent, FileKind kind, const QString& programDir) {
  const KindSetUp s = setUp(kind);
  const QString start =
      kind == FileKind::Skin ? QDir(programDir).filePath("SKINS/skin.qsf") : QString();
  return file_dialog::openFileName(parent, QString::fromUtf8(s.title), start,
                                   QString::fromUtf8(s.filter));
}

}  // namespace tarvik
