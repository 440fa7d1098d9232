#pragma once

#include <QApplication>
#include <exception>

namespace tarvik {

class EventLog;

// The application object. An exception that escapes an event handler would otherwise cross
// the event loop, which Qt does not allow; it is caught here, logged with the three lines of
// a failed program, shown, and the program ends with exit code 1.
class TarvikApplication : public QApplication {
 public:
  TarvikApplication(int& argc, char** argv, EventLog& log);
  bool notify(QObject* receiver, QEvent* event) override;

  // Logs and shows an exception that reached the top level.
  static void reportException(EventLog& log, std::exception_ptr error);

 private:
  EventLog& log_;
  bool failed_ = false;
};

}  // namespace tarvik
