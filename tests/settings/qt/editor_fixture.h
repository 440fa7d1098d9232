#pragma once

// The skin editor's page of the settings dialog, for the tests of making, opening and saving
// skins.

#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QPushButton>
#include <QtTest>
#include <filesystem>
#include <string>

#include "platform/qt/file_dialog.h"
#include "status/skin.h"
#include "tests/settings/qt/dialog_fixture.h"

// The text of the last box answered, shown whole when it differs.
#define LAST_BOX_IS(f, expected)                                              \
  do {                                                                        \
    const QString last = (f).lastBox();                                       \
    QVERIFY2(last == (expected), qPrintable(QStringLiteral("box: ") + last)); \
  } while (false)

namespace tarvik::test {

inline const QString kNotLoaded = QString::fromUtf8("[   ФАЙЛ  НЕ  ЗАГРУЖЕН   ]");

// The skin editor on its page, with pictures made on the spot.
struct EditorFixture : DialogFixture {
  EditorFixture() { dialog->showOnPage(PageId::Editor); }

  std::filesystem::path pictures() const { return dir.path() / "pics"; }
  // A w x h bitmap of one colour.
  QString bitmap(const QString& name, int w, int h, QColor color = Qt::darkCyan) const {
    std::filesystem::create_directories(pictures());
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    const QString path = QString::fromStdString((pictures() / name.toStdString()).string());
    if (!image.save(path, "BMP")) qFatal("cannot write %s", qPrintable(path));
    return path;
  }
  // Picks `file` for object `index` of o_objects; the window object also asks where the
  // control points go.
  void pick(int index, const QString& file, QMessageBox::StandardButton points = QMessageBox::No) {
    find<QComboBox>("o_objects")->setCurrentIndex(index);
    file_dialog::setNextFileName(file);
    if (index == 0) boxes.answerNext(points);
    find<QPushButton>("b_file")->click();
  }
  // Pictures for all twelve image objects, `prefix` + index, 20 x 10 (the face 60 x 30).
  void pickAll(const QString& prefix, QColor color = Qt::darkCyan) {
    for (int i = 0; i < 12; ++i)
      pick(i,
           bitmap(prefix + QString::number(i) + ".bmp", i == 0 ? 60 : 20, i == 0 ? 30 : 10, color),
           QMessageBox::Yes);
  }
  // Saves into `folder` under `name`; the answer boxes are the caller's.
  void save(const std::filesystem::path& folder, const QString& name = "skin.qsf") {
    std::filesystem::create_directories(folder);
    file_dialog::setNextFileName(QString::fromStdString((folder / name.toStdString()).string()));
    find<QPushButton>("b_skin_save")->click();
  }
  IniFile draft() const { return IniFile(dir.files().skinDraft()); }
  QString lastBox() { return boxes.texts().value(boxes.texts().size() - 1); }
};

// With TARVIK_SCREENSHOT_DIR set (tools/screenshots.sh), the dialog as it stands is saved
// there at twice its size.
inline void takeScreenshot(EditorFixture& f, const char* name) {
  const QString dir = qEnvironmentVariable("TARVIK_SCREENSHOT_DIR");
  if (dir.isEmpty()) return;
  const QPixmap shot = f.dialog->grab();
  QVERIFY(shot.scaled(shot.size() * 2).save(QDir(dir).filePath(name)));
}

inline bool hasAll(const std::filesystem::path& folder, const char* suffix) {
  for (const char* name : kSkinBitmapNames)
    if (!std::filesystem::exists(folder / (std::string(name) + suffix))) return false;
  return true;
}

}  // namespace tarvik::test
