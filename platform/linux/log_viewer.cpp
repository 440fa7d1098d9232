#include "platform/linux/log_viewer.h"

#include <QFontDatabase>
#include <QScrollBar>
#include <QVBoxLayout>

#include <fstream>
#include <sstream>

#include "config/codepage.h"

namespace tarvik {

LogViewer::LogViewer(QWidget* parent) : QWidget(parent), text_(new QPlainTextEdit(this)) {
  setObjectName("log_viewer");
  text_->setObjectName("e_log");
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(text_);
  resize(720, 480);
}

bool LogViewer::load(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  std::stringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) return false;

  QString text = QString::fromStdString(cp1251ToUtf8(bytes.str()));
  text.remove(QChar('\r'));
  text_->setPlainText(text);
  text_->verticalScrollBar()->setValue(text_->verticalScrollBar()->maximum());
  setWindowTitle(QString::fromStdString(file.filename().string()));
  return true;
}

}  // namespace tarvik
