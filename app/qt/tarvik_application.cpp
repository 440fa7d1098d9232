#include "app/qt/tarvik_application.h"

#include <QLibraryInfo>
#include <QLocale>

#include "app/banner.h"
#include "app/escaped_exception.h"
#include "platform/event_log.h"
#include "platform/qt/message_box.h"

namespace tarvik {

TarvikApplication::TarvikApplication(int& argc, char** argv, EventLog& log)
    : QApplication(argc, argv), log_(log) {
  // A window without a caption of its own is shown under the application's name. No display
  // name is set: Qt would append it to every caption ("… — Tarvik"), and the windows'
  // captions are meant to be read exactly as they are.
  setApplicationName(QString::fromUtf8(kApplicationTitle));
  if (qtTexts_.load(QLocale(QLocale::Russian, QLocale::Russia), "qtbase", "_",
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    installTranslator(&qtTexts_);
  }
}

bool TarvikApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    // Only the first failure is reported; the loop is already on its way out.
    if (!failed_) {
      failed_ = true;
      reportException(log_, std::current_exception());
      exit(1);
    }
    return true;
  }
}

void TarvikApplication::reportException(EventLog& log, std::exception_ptr error) {
  message_box::inform(QString::fromStdString(logEscapedException(log, error)));
}

}  // namespace tarvik
