#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;

namespace tarvik {

// The program's manual in a window of its own: read-only, with its links followed inside the
// window and the web addresses handed to the browser. It opens at a section, named by the
// anchor of that section's heading.
class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  // The manual built into the program.
  static constexpr char kBuiltInManual[] = ":/help/manual.html";

  // `manual` is a resource path (":/…") or a file path.
  explicit HelpWindow(QString manual = kBuiltInManual, QWidget* parent = nullptr);

  // Whether `manual` can be read at all; a build without the manual has no such resource.
  static bool exists(const QString& manual);

  // Shows the window with the section's heading at the top, and brings it to the front.
  void showSection(const QString& anchor);
  // The text of the first line the window shows now.
  QString topLine() const;

 protected:
  // Esc closes the window, as it closes the program's dialogs.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QString manual_;
  QTextBrowser* text_ = nullptr;
  bool loaded_ = false;
};

}  // namespace tarvik
