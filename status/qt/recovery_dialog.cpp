#include "status/qt/recovery_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/message_box.h"
#include "platform/qt/unattended.h"

namespace tarvik {
namespace {
constexpr int kButtonWidth = 120;
constexpr int kEdge = 5;
}  // namespace

RecoveryDialog::RecoveryDialog(const QString& text, bool allowRemind, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint) {
  setObjectName("recovery_dialog");
  setWindowTitle(QString::fromUtf8(message_box::kCaption));
  setModal(true);
  auto* label = new QLabel(text, this);
  label->setObjectName("recovery_text");
  label->setAlignment(Qt::AlignCenter);

  book_ = new QPushButton("засчитать", this);
  book_->setObjectName("b_book");
  ignore_ = new QPushButton("игнорировать", this);
  ignore_->setObjectName("b_ignore");
  later_ = new QPushButton("напомнить позже", this);
  later_->setObjectName("b_later");
  later_->setEnabled(allowRemind);
  for (QPushButton* b : {book_, ignore_, later_}) b->setFixedWidth(kButtonWidth);
  book_->setDefault(true);

  auto* buttons = new QHBoxLayout;
  buttons->setContentsMargins(kEdge, 0, kEdge, 0);
  buttons->addWidget(book_);
  buttons->addStretch();
  buttons->addWidget(ignore_);
  buttons->addStretch();
  buttons->addWidget(later_);

  // The outer buttons sit 5 pixels in from the dialog's edges, so only the text keeps the
  // style's side margins.
  auto* layout = new QVBoxLayout(this);
  const QMargins margins = layout->contentsMargins();
  layout->setContentsMargins(0, margins.top(), 0, margins.bottom());
  label->setContentsMargins(margins.left(), 0, margins.right(), 0);
  layout->addWidget(label);
  layout->addLayout(buttons);

  connect(book_, &QPushButton::clicked, this, [this] {
    answer_ = RecoveryAnswer::Book;
    accept();
  });
  connect(ignore_, &QPushButton::clicked, this, [this] {
    answer_ = RecoveryAnswer::Ignore;
    accept();
  });
  connect(later_, &QPushButton::clicked, this, [this] {
    answer_ = RecoveryAnswer::RemindLater;
    accept();
  });
  adjustSize();
  resize(width() + kEdge, height());
}

RecoveryAnswer RecoveryDialog::ask(const QString& text, bool allowRemind) {
  RecoveryDialog dialog(text, allowRemind);
  answerUnattended(dialog, [&dialog] { dialog.bookButton()->click(); });
  dialog.exec();
  return dialog.answer();
}

}  // namespace tarvik
