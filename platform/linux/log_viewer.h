#pragma once

#include <QPlainTextEdit>
#include <QWidget>

#include <filesystem>

namespace tarvik {

// A read-only window on a text file in code page 1251, the event log in particular. Object
// names: the window "log_viewer", its text "e_log".
class LogViewer : public QWidget {
  Q_OBJECT
 public:
  explicit LogViewer(QWidget* parent = nullptr);

  // Reads the file again and shows its end, where the newest lines are. False when the file
  // cannot be read; the text is then left as it was.
  bool load(const std::filesystem::path& file);

 private:
  QPlainTextEdit* text_;
};

}  // namespace tarvik
