#include "status/qt/balloon_popup.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

namespace tarvik {
namespace {

constexpr int kGap = 4;
constexpr int kMaxTextWidth = 320;

}  // namespace

BalloonPopup::BalloonPopup()
    : QFrame(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::X11BypassWindowManagerHint | Qt::WindowDoesNotAcceptFocus),
      title_(new QLabel(this)),
      text_(new QLabel(this)) {
  setObjectName("p_balloon");
  title_->setObjectName("s_balloon_title");
  text_->setObjectName("s_balloon_text");
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFrameShape(QFrame::Box);
  setBackgroundRole(QPalette::ToolTipBase);
  setForegroundRole(QPalette::ToolTipText);
  setAutoFillBackground(true);
  QFont bold = title_->font();
  bold.setBold(true);
  title_->setFont(bold);
  for (QLabel* label : {title_, text_}) {
    label->setTextFormat(Qt::PlainText);
    label->setForegroundRole(QPalette::ToolTipText);
    label->setMaximumWidth(kMaxTextWidth);
  }
  text_->setWordWrap(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 6, 8, 8);
  layout->addWidget(title_);
  layout->addWidget(text_);
}

void BalloonPopup::showBeside(const QWidget* anchor, const QString& title, const QString& text) {
  // Window lists and tests know the popup by its balloon's title.
  setWindowTitle(title);
  title_->setText(title);
  title_->setVisible(!title.isEmpty());
  text_->setText(text);
  adjustSize();
  const QScreen* screen =
      anchor && anchor->screen() ? anchor->screen() : QGuiApplication::primaryScreen();
  const QRect free = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
  // QRect's right() and bottom() are the last pixels inside.
  QPoint at(free.right() + 1 - width() - kGap, free.bottom() + 1 - height() - kGap);
  if (anchor && anchor->isVisible()) {
    const QRect window = anchor->frameGeometry();
    const int above = window.top() - height() - kGap;
    at = QPoint(window.right() + 1 - width(),
                above >= free.top() ? above : window.bottom() + 1 + kGap);
  }
  at.setX(std::clamp(at.x(), free.left(), std::max(free.left(), free.right() + 1 - width())));
  at.setY(std::clamp(at.y(), free.top(), std::max(free.top(), free.bottom() + 1 - height())));
  move(at);
  show();
  raise();
}

void BalloonPopup::mousePressEvent(QMouseEvent* event) {
  QFrame::mousePressEvent(event);
  hide();
}

}  // namespace tarvik
