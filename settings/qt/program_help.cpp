#include "settings/qt/program_help.h"

#include <malloc.h>

#include "platform/qt/message_box.h"
#include "settings/help_contexts.h"

namespace tarvik {

namespace {

const char* const kHelpMissing =
    "Файл справки «TarvikHELP.HLP» не найден.\nУбедитесь что он существует и хранится\n"
    "в каталоге программы, и попробуйте ещё раз...";

}  // namespace

ProgramHelp::ProgramHelp(EventLog& log, QString manual) : log_(log), manual_(std::move(manual)) {}

ProgramHelp::~ProgramHelp() {
  delete window_;
}

bool ProgramHelp::available() const {
  return HelpWindow::exists(manual_);
}

void ProgramHelp::open(int context) {
  if (!available()) {
    log_.append(" Failed opening help.\nHelp file not found.", true);
    message_box::inform(QString::fromUtf8(kHelpMissing));
    return;
  }
  // One window while it is open: opening help again moves it to the new section. Closed, it
  // goes with the manual's text and layout, which the program would otherwise carry for the
  // rest of its run; the next opening makes it anew.
  if (!window_) {
    window_ = new HelpWindow(manual_);
    window_->setAttribute(Qt::WA_DeleteOnClose);
    // The heap pages it freed go back to the system.
    QObject::connect(window_, &QObject::destroyed, [] { ::malloc_trim(0); });
  }
  window_->showSection(QString::fromUtf8(helpSection(context).data(),
                                         static_cast<qsizetype>(helpSection(context).size())));
  log_.append(" Help opened.", true);
}

}  // namespace tarvik
