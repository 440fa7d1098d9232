#pragma once

#include <filesystem>
#include <functional>

#include "settings/qt/flag_guard.h"
#include "settings/qt/settings_tab.h"
#include "status/skin_draft.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;

namespace tarvik {

class SkinPreview;

// Page 3 "РЕДАКТОР": the skin editor. The user picks pictures and places the status window's
// objects and outline on a live preview; every change goes straight into the working file
// new_skin.tmp, and saving turns that file into a skin folder.
class TabEditor : public SettingsTab {
 public:
  explicit TabEditor(SettingsFrame& frame);

  // A working file the dialog's hide step deleted ends the project it held.
  void prepareShow() override;

 private:
  // The seventeen objects of o_objects.
  struct EditorObject {
    const char* caption;
    bool image;
    int slot;           // SkinImageId for an image, SkinTextId for a text
    SkinBitmap bitmap;  // images only
  };
  static const EditorObject kObjects[17];

  // Sets the editor's loading flag for as long as it lives: handlers then write nothing.
  using Busy = FlagGuard;

  // Building (tab_editor.cpp).
  QWidget* buildProject();
  QWidget* buildObject();
  QWidget* buildLook();
  QWidget* buildPoints();
  QGroupBox* buildAuthor();
  void connectControls();
  void setProjectControls(bool open);

  // The project (tab_editor_project.cpp).
  bool projectOpen() const;
  void newSkin(bool afterSave);
  bool createCompact();
  void createFull();
  void selectMode(SkinMode mode);
  void loadMode();
  void loadPictures(SkinMode mode);
  void openSkin();
  void saveSkin();
  void reportWriteFailure();
  // Runs a write into the working file; a failure is reported once per project.
  bool write(const std::function<void()>& change);

  // Objects, pictures, texts, points, author (tab_editor_objects.cpp).
  SkinMode currentMode() const;
  const EditorObject& currentObject() const;
  void selectObject();
  void pickBitmap();
  void geometryChanged();
  void stretchChanged();
  void pickFont();
  void pickColor();
  void alignChanged();
  void shadowChanged();
  void pickShadowColor();
  void pointChosen();
  void pointMoved();
  void markerPressed(int number);
  void markerDropped(int number, QPoint point);
  void toggleAuthor();
  void authorChanged();
  void showAuthor(const SkinAuthorInfo& info);
  // Unstretched buttons and indicator take their picture's size, as in the status window.
  void fitImages();
  void refreshPreview();
  void writeImages();
  void writeTexts();

  SkinDraft draft_;
  SkinLayout layout_;
  SkinLoadedMarks loaded_{};
  bool busy_ = false;
  bool writeFailureShown_ = false;
  // Editing an existing skin: its file and folder.
  bool opened_ = false;
  std::filesystem::path openedFile_;

  SkinPreview* preview_ = nullptr;
  QPushButton* b_skin_new_ = nullptr;
  QPushButton* b_skin_load_ = nullptr;
  QPushButton* b_skin_save_ = nullptr;
  QRadioButton* o_compact_ = nullptr;
  QRadioButton* o_extended_ = nullptr;
  QPushButton* b_new_compact_ = nullptr;
  QPushButton* b_new_extended_ = nullptr;
  QCheckBox* o_extended_use_ = nullptr;
  QCheckBox* o_same_ = nullptr;
  QComboBox* o_objects_ = nullptr;
  QLabel* p_file_ = nullptr;
  QPushButton* b_file_ = nullptr;
  QCheckBox* o_stretch_ = nullptr;
  QLabel* p_font_ = nullptr;
  QPushButton* b_font_ = nullptr;
  QPushButton* p_color_ = nullptr;
  QComboBox* o_align_ = nullptr;
  QCheckBox* o_shadow_ = nullptr;
  QPushButton* o_shadow_color_ = nullptr;
  QSpinBox* e_a_ = nullptr;
  QSpinBox* e_b_ = nullptr;
  QSpinBox* e_x_ = nullptr;
  QSpinBox* e_y_ = nullptr;
  QComboBox* o_points_ = nullptr;
  QSpinBox* o_pts_x_ = nullptr;
  QSpinBox* o_pts_y_ = nullptr;
  QLabel* s_34_ = nullptr;
  QPushButton* b_info_ = nullptr;
  QStackedWidget* sides_ = nullptr;
  QGroupBox* z_author_ = nullptr;
  QLineEdit* e_author_ = nullptr;
  QLineEdit* e_name_ = nullptr;
  QLineEdit* e_version_ = nullptr;
  QLineEdit* e_mail_ = nullptr;
  QLineEdit* e_web_ = nullptr;
  QCheckBox* o_comment_ = nullptr;
  QLineEdit* e_comment_ = nullptr;
};

}  // namespace tarvik
