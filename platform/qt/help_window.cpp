#include "platform/qt/help_window.h"

#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "config/regular_file.h"

// The manual is linked in only when the build carries it.
#ifdef TARVIK_MANUAL
static void registerManual() {
  Q_INIT_RESOURCE(manual);
}
static void initManualResource() {
  static const bool registered = (registerManual(), true);
  (void)registered;
}
#else
static void initManualResource() {}
#endif

namespace tarvik {

namespace {

constexpr int kWidth = 720;
constexpr int kHeight = 560;

QUrl manualUrl(const QString& manual) {
  if (manual.startsWith(':')) return QUrl("qrc" + manual);
  return QUrl::fromLocalFile(manual);
}

}  // namespace

HelpWindow::HelpWindow(QString manual, QWidget* parent)
    : QWidget(parent, Qt::Window), manual_(std::move(manual)) {
  initManualResource();
  setObjectName("HelpWindow");
  setWindowTitle(QString::fromUtf8("Tarvik — справка"));
  text_ = new QTextBrowser(this);
  text_->setObjectName("helpText");
  text_->setOpenExternalLinks(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(text_);
  resize(kWidth, kHeight);
}

bool HelpWindow::exists(const QString& manual) {
  initManualResource();
  // A manual on disk is read only as a regular file: the viewer would wait on a FIFO for ever.
  if (!manual.startsWith(':')) return isRegularFile(manual.toStdString());
  return QFile::exists(manual);
}

void HelpWindow::showSection(const QString& anchor) {
  if (!isVisible()) {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
      move(screen->availableGeometry().center() - rect().center());
    show();
  }
  // The layout must know the window's size before it can put a heading at the top.
  if (!loaded_) {
    text_->setSource(manualUrl(manual_));
    loaded_ = true;
  }
  text_->scrollToAnchor(anchor);
  raise();
  activateWindow();
}

void HelpWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

QString HelpWindow::topLine() const {
  const QTextCursor top = text_->cursorForPosition(QPoint(4, 4));
  return top.block().text();
}

}  // namespace tarvik
