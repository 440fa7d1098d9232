#pragma once

#include <QApplication>
#include <QTranslator>
#include <exception>

namespace tarvik {

class EventLog;

// The application object. An exception that escapes an event handler would otherwise cross
// the event loop, which Qt does not allow; it is caught here, logged with the three lines of
// a failed program, shown, and the program ends with exit code 1.
//
// The program speaks Russian whatever the desktop's locale, so Qt's own texts (the buttons of
// message boxes) are always taken from its Russian translation.
class TarvikApplication : public QApplication {
 public:
  TarvikApplication(int& argc, char** argv, EventLog& log);
  bool notify(QObject* receiver, QEvent* event) override;

  // Logs and shows an exception that reached the top level.
  static void reportException(EventLog& log, std::exception_ptr error);

 private:
  EventLog& log_;
  QTranslator qtTexts_;
  bool failed_ = false;
};

}  // namespace tarvik
