#include "settings/qt/file_kinds.h"

#include <QDir>

#include "config/codepage.h"
#include "platform/qt/file_dialog.h"
#include "platform/qt/message_box.h"

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
    case FileKind::SkinToEdit:
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

// Kept in the settings file, a character code page 1251 lacks would be stored as '?' and the
// path would name a file that is not there, found out only when the sound, program or skin is
// next wanted.
bool keptInSettings(FileKind kind) {
  return kind == FileKind::Wave || kind == FileKind::Program || kind == FileKind::Skin;
}

const char* const kPathNotKept =
    "Путь к файлу содержит символы, которые невозможно сохранить в файле настроек:\n%1\n"
    "Переименуйте файл или каталог (только латиница, кириллица, цифры и знаки) и укажите его "
    "снова.";

}  // namespace

QString pickFile(QWidget* parent, FileKind kind, const QString& programDir) {
  const KindSetUp s = setUp(kind);
  const bool skin = kind == FileKind::Skin || kind == FileKind::SkinToEdit;
  const QString start = skin ? QDir(programDir).filePath("SKINS/skin.qsf") : QString();
  const QString chosen = file_dialog::openFileName(parent, QString::fromUtf8(s.title), start,
                                                   QString::fromUtf8(s.filter));
  if (chosen.isEmpty() || !keptInSettings(kind) || fitsCp1251(chosen.toStdString())) return chosen;
  message_box::inform(QString::fromUtf8(kPathNotKept).arg(chosen));
  return {};
}

}  // namespace tarvik
