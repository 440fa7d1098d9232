// The skin editor's project: new and opened skins, their two modes, and the save.
#include <QDir>
#include <QFileInfo>
#include <QSignalBlocker>

#include "config/ini_file.h"
#include "config/keys.h"
#include "platform/qt/file_dialog.h"
#include "platform/qt/message_box.h"
#include "settings/qt/file_kinds.h"
#include "settings/qt/page_widgets.h"
#include "settings/qt/pages/tab_editor.h"
#include "settings/qt/skin_preview.h"
#include "status/skin_format.h"
#include "status/skin_loader.h"
#include "status/skin_writer.h"

namespace tarvik {
namespace {

QString qs(const char* utf8) {
  return QString::fromUtf8(utf8);
}

const char* const kNewSkinQuestion = "Вы уверены что хотите начать создание новой темы?";
const char* const kDraftNotWritten =
    "Возникла проблема при попытке записать временный файл на диск.\nСоздание и редактирование "
    "интерфейсных тем невозможно.\nПроверьте наличие доступа для записи файлов в каталоге "
    "программы.";
const char* const kSameImagesQuestion =
    "Использовать для расширенного режима те же изображения, что и для компактного?\n\n\tДля "
    "использования единых изображений - нажмите ДА.\n\tДля использования раздельных "
    "изображений - нажмите НЕТ.";
const char* const kDraftPicturesMissing =
    "Один или несколько файлов с изображениями не были загружены.\nРекомендуется снова указать "
    "все файлы для этого режима темы.";
const char* const kOpenedPicturesMissing =
    "Один или несколько файлов с изображениями не были загружены.\nЗагрузка темы интерфейса "
    "отменена.";
const char* const kPicturesIncomplete =
    "Сохранение темы невозможно из-за отсутсвия некоторых из её графических компонентов.\n"
    "Проверьте наличие каждого изображения";
const char* const kSaveTitle = "Тему можно сохранить ТОЛЬКО в файл «skin.qsf»...";
const char* const kSaveFilter = "Файлы темы Olm программ (skin.qsf) (skin.qsf)";
const char* const kOnlySkinQsf =
    "Тему интерфейса можно сохранить ТОЛЬКО в файл с именем «skin.qsf»!\nВы указали другое имя "
    "файла. Сохранение прервано.";
const char* const kSaved = "Тема интерфейса была успешно сохранена в каталог:\n";
const char* const kNotSaved =
    "Не все файлы темы удалось записать в выбранный каталог:\n%1\nТема интерфейса сохранена "
    "не полностью. Проверьте доступ для записи и свободное место на диске.";

}  // namespace

bool TabEditor::projectOpen() const {
  return b_skin_save_->isEnabled();
}

void TabEditor::prepareShow() {
  // The hide step may have deleted the working file: the project it held is gone with it.
  if (projectOpen() && !draft_.exists()) {
    opened_ = false;
    setProjectControls(false);
  }
}

bool TabEditor::write(const std::function<void()>& change) {
  try {
    change();
    return true;
  } catch (const IniWriteError&) {
    reportWriteFailure();
    return false;
  }
}

void TabEditor::reportWriteFailure() {
  if (writeFailureShown_) return;
  writeFailureShown_ = true;
  frame_.log().append(" Failed writing skin temporary files.\n Skin creation is not possible.");
  message_box::inform(qs(kDraftNotWritten));
}

void TabEditor::newSkin(bool afterSave) {
  if (!afterSave && projectOpen() &&
      message_box::askYesNo(qs(kNewSkinQuestion), true) == QMessageBox::Yes) {
    draft_.remove();
    opened_ = false;
  }
  writeFailureShown_ = false;
  if (!afterSave) {
    {
      Busy busy(busy_);
      o_extended_use_->setChecked(false);
    }
    o_extended_use_->setEnabled(false);
    b_new_extended_->setEnabled(false);
    b_new_compact_->setEnabled(true);
    if (!createCompact()) return;
  }
  setProjectControls(true);
  selectObject();
}

bool TabEditor::createCompact() {
  if (!opened_) {
    frame_.log().append(" Skin (compact mode) creation has begun.", true);
    Busy busy(busy_);
    o_same_->setChecked(true);
  }
  if (!write([&] { draft_.markCreated(SkinMode::Compact); })) return false;
  o_compact_->setEnabled(true);
  b_new_compact_->setEnabled(false);
  selectMode(SkinMode::Compact);
  for (QWidget* w : {static_cast<QWidget*>(b_new_extended_), static_cast<QWidget*>(o_shadow_color_),
                     static_cast<QWidget*>(e_a_), static_cast<QWidget*>(e_b_)})
    w->setEnabled(true);
  o_objects_->setEnabled(true);
  o_objects_->setCurrentIndex(0);
  selectObject();
  return true;
}

void TabEditor::createFull() {
  frame_.log().append(" Skin (full mode) creation has begun.", true);
  const bool same = message_box::askYesNo(qs(kSameImagesQuestion), false) == QMessageBox::Yes;
  {
    Busy busy(busy_);
    o_same_->setChecked(same);
  }
  if (!write([&] {
        draft_.markCreated(SkinMode::Full);
        draft_.writeSeparated(!same);
      }))
    return;
  o_extended_use_->setEnabled(true);
  o_extended_use_->setChecked(true);
  o_extended_->setEnabled(true);
  selectMode(SkinMode::Full);
  b_new_extended_->setEnabled(false);
  o_shadow_color_->setEnabled(true);
  o_objects_->setCurrentIndex(0);
  selectObject();
}

void TabEditor::selectMode(SkinMode mode) {
  {
    Busy busy(busy_);
    (mode == SkinMode::Full ? o_extended_ : o_compact_)->setChecked(true);
  }
  loadMode();
}

void TabEditor::loadMode() {
  const SkinMode mode = currentMode();
  {
    Busy busy(busy_);
    loadPictures(mode);
    layout_ = draft_.layout(mode);
    if (layout_.points.size() < static_cast<std::size_t>(kDraftPoints))
      layout_.points.resize(kDraftPoints);
    showAuthor(draft_.authorInfo());
    o_shadow_->setChecked(layout_.shadowUse);
    fitImages();
    pointChosen();
  }
  write([&] { draft_.writeAuthorInfo(draft_.authorInfo()); });
  selectObject();
  refreshPreview();
  if (opened_) writeImages();
}

void TabEditor::loadPictures(SkinMode mode) {
  QtSkinPictures& pictures = preview_->view().pictures();
  pictures.clear();
  loaded_.fill(false);
  bool failed = false;
  if (!opened_) {
    for (std::size_t i = 0; i < kSkinBitmapNames.size(); ++i) {
      if (!draft_.imageLoaded(kSkinBitmapNames[i], mode)) continue;
      loaded_[i] = pictures.loadFile(static_cast<SkinBitmap>(i),
                                     draft_.imagePath(kSkinBitmapNames[i], mode));
      failed = failed || !loaded_[i];
    }
    if (failed) {
      frame_.log().append(" Failed loading bitmaps. Errors while saving may occur.");
      message_box::inform(qs(kDraftPicturesMissing));
    }
    return;
  }
  const bool separated =
      readSwitch(IniFile(openedFile_), sections::skinHeader(), skin_file_keys::kSeparated);
  o_same_->setChecked(!separated);
  const std::filesystem::path folder = openedFile_.parent_path();
  for (std::size_t i = 0; i < kSkinBitmapNames.size(); ++i) {
    loaded_[i] =
        pictures.loadFile(static_cast<SkinBitmap>(i),
                          folder / skinBitmapFileName(kSkinBitmapNames[i], separated, mode));
    failed = failed || !loaded_[i];
  }
  if (failed) {
    frame_.log().append(" Failed loading bitmaps. Skin import canceled.");
    message_box::inform(qs(kOpenedPicturesMissing));
  }
}

void TabEditor::openSkin() {
  const QString chosen =
      pickFile(this, FileKind::SkinToEdit, QString::fromStdString(frame_.files().dir.string()));
  if (chosen.isEmpty()) return;
  frame_.log().append(" Importing skin...", true);
  const std::filesystem::path file = QFileInfo(chosen).absoluteFilePath().toStdString();
  const IniFile skin(file);
  if (!acceptPickedSkin(FileSkinKeys(skin), frame_.log(), [](std::string_view text) {
        message_box::inform(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
      }))
    return;
  openedFile_ = file;
  newSkin(false);
  if (!projectOpen()) return;
  if (!write([&] { draft_.copyFrom(file); })) return;
  opened_ = true;
  const bool doubleMode = readSwitch(skin, sections::skinHeader(), skin_file_keys::kDouble);
  // Both modes are loaded once, so that the loaded marks of a two-mode skin are all in the
  // working file and it can be saved again as it is.
  if (doubleMode) selectMode(SkinMode::Full);
  selectMode(SkinMode::Compact);
  {
    Busy busy(busy_);
    o_same_->setChecked(!readSwitch(skin, sections::skinHeader(), skin_file_keys::kSeparated));
    o_extended_use_->setEnabled(true);
    o_extended_use_->setChecked(doubleMode);
  }
  o_extended_->setEnabled(doubleMode);
  createCompact();
  b_new_compact_->setEnabled(false);
  b_new_extended_->setEnabled(false);
}

void TabEditor::saveSkin() {
  const bool both = o_extended_use_->isChecked();
  const int expected = expectedSkinPictures(both);
  const int count = draft_.loadedCount(both);
  if (count != expected) {
    message_box::inform(qs(kPicturesIncomplete) +
                        (both ? qs(" в обоих режимах её отображения\n") : QString()) +
                        qs("(загружено ") + QString::number(count) + qs(" из ") +
                        QString::number(expected) + qs(" изображений)."));
    return;
  }
  const QString skinsDir =
      QDir(QString::fromStdString(frame_.files().dir.string())).filePath(QStringLiteral("SKINS"));
  QDir().mkpath(skinsDir);
  const QString chosen = file_dialog::saveFileName(
      this, qs(kSaveTitle), QDir(skinsDir).filePath(QStringLiteral("skin.qsf")), qs(kSaveFilter));
  if (chosen.isEmpty()) return;
  const std::filesystem::path picked = QFileInfo(chosen).absoluteFilePath().toStdString();
  if (!isSkinFileName(picked)) {
    message_box::inform(qs(kOnlySkinQsf));
    return;
  }
  // Names differ by case here: the file is written as the status window looks for it.
  const std::filesystem::path target = picked.parent_path() / "skin.qsf";
  const SkinSaveResult result = saveSkinDraft(
      draft_, target, both,
      opened_ ? std::optional<std::filesystem::path>(openedFile_.parent_path()) : std::nullopt);
  const std::string folder = target.parent_path().string() + "/";
  if (!result.ok()) {
    std::string list;
    for (const std::string& f : result.failures) list += "\n " + f;
    frame_.log().append(" Failed saving skin into: " + folder + list, true);
    message_box::inform(qs(kNotSaved).arg(QString::fromStdString(list.substr(1))));
    return;
  }
  frame_.log().append(opened_ ? " Skin editing complete." : " Skin creating complete.", true);
  frame_.log().append(" Skin saved into: " + folder);
  message_box::inform(qs(kSaved) + QString::fromStdString(folder));
  b_skin_save_->setEnabled(false);
  newSkin(true);
  selectMode(SkinMode::Compact);
  b_skin_save_->setEnabled(true);
}

}  // namespace tarvik
