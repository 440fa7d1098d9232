#include "platform/linux/log_viewer.h"

#include <QFontDatabase>
#include <QScrollBar>
#include <QVBoxLayout>

#include "config/codepage.h"
#include "config/regular_file.h"

namespace tarvik {

namespace {
// The logs are small text files; a larger file is not one the viewer can show usefully.
constexpr std::uint64_t kMaxShownBytes = std::uint64_t{64} << 20;
}  // namespace

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
  const FileRead read = readRegularFile(file, kMaxShownBytes);
  if (read.error != 0) return false;

  QString text = QString::fromStdString(cp1251ToUtf8(read.bytes));
  text.remove(QChar('\r'));
  text_->setPlainText(text);
  text_->verticalScrollBar()->setValue(text_->verticalScrollBar()->maximum());
  setWindowTitle(QString::fromStdString(file.filename().string()));
  return true;
}

}  // namespace tarvik
