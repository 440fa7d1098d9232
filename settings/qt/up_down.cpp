#include "settings/qt/up_down.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "settings/entry_checks.h"

namespace tarvik {

namespace {

constexpr int kButtonWidth = 13;
constexpr int kButtonHeight = 9;

QToolButton* arrow(QWidget* parent, Qt::ArrowType type, const char* name) {
  auto* b = new QToolButton(parent);
  b->setObjectName(name);
  b->setArrowType(type);
  b->setAutoRepeat(true);
  // Half an edit's height each; as wide as the style draws an arrow.
  b->setFixedSize(std::max(kButtonWidth, b->minimumSizeHint().width()), kButtonHeight);
  b->setFocusPolicy(Qt::NoFocus);
  return b;
}

}  // namespace

UpDown::UpDown(QLineEdit* edit, PageId page) : QWidget(edit->parentWidget()), edit_(edit) {
  QString name = edit->objectName();
  if (name.startsWith("e_")) name.remove(0, 2);
  setObjectName("ud_" + name);
  const std::string editName = edit->objectName().toStdString();
  for (const PageKey& row : pageKeys(page)) {
    if (row.objectName != editName) continue;
    const Range range = row.range();
    min_ = range.min;
    max_ = range.max;
    step_ = std::max(1, range.step);
  }
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  auto* up = arrow(this, Qt::UpArrow, "up");
  auto* down = arrow(this, Qt::DownArrow, "down");
  column->addWidget(up);
  column->addWidget(down);
  connect(up, &QToolButton::clicked, this, [this] { stepBy(1); });
  connect(down, &QToolButton::clicked, this, [this] { stepBy(-1); });
  setEnabled(edit->isEnabled());
  edit->installEventFilter(this);
}

bool UpDown::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier) {
      if (key->key() == Qt::Key_Up) {
        stepBy(1);
        return true;
      }
      if (key->key() == Qt::Key_Down) {
        stepBy(-1);
        return true;
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

void UpDown::stepBy(int steps) {
  // From what the edit shows, or from the bottom of the range when it shows no number.
  const int from =
      std::clamp(parseWholeNumber(edit_->text().toStdString()).value_or(min_), min_, max_);
  const long long to = static_cast<long long>(from) + static_cast<long long>(steps) * step_;
  edit_->setText(QString::number(std::clamp<long long>(to, min_, max_)));
}

void UpDown::setActive(bool active) {
  setEnabled(active);
  edit_->setEnabled(active);
}

}  // namespace tarvik
