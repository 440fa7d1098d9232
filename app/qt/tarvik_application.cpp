#include "app/qt/tarvik_application.h"

#include <QLibraryInfo>
#include <QLocale>
#include <cstdio>
#include <functional>
#include <string>
#include <typeinfo>

#include "app/banner.h"
#include "platform/event_log.h"
#include "platform/qt/message_box.h"

namespace tarvik {
namespace {

// A number that tells exception types apart in the log.
std::string exceptionId(const std::type_info& type) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "0x%08X",
                static_cast<unsigned>(std::hash<std::string>{}(type.name()) & 0xFFFFFFFFu));
  return buf;
}

}  // namespace

TarvikApplication::TarvikApplication(int& argc, char** argv, EventLog& log)
    : QApplication(argc, argv), log_(log) {
  // Window managers show the application's name where a window has no caption of its own.
  setApplicationName(QString::fromUtf8(kApplicationTitle));
  setApplicationDisplayName(QString::fromUtf8(kApplicationTitle));
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
  std::string id = "0x00000000";
  std::string message = "unknown exception";
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    id = exceptionId(typeid(e));
    message = e.what();
  } catch (...) {
  }
  logTopLevelException(log, id, message);
  message_box::inform(QString::fromStdString(message));
}

}  // namespace tarvik
