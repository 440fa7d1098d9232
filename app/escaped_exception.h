#pragma once

#include <exception>
#include <string>

namespace tarvik {

class EventLog;

// Writes the lines of an exception that ends the program (its type as a number and its
// message) to the event log and returns the message, for the box that tells the user.
std::string logEscapedException(EventLog& log, std::exception_ptr error);

// An exception that ends the program without passing the event loop's handler (thrown on
// another thread, or out of a function that may not throw) aborts it; while this object
// lives it leaves the same lines in `log` first, so such an end explains itself.
class TerminationLogging {
 public:
  explicit TerminationLogging(EventLog& log);
  ~TerminationLogging();
  TerminationLogging(const TerminationLogging&) = delete;
  TerminationLogging& operator=(const TerminationLogging&) = delete;

 private:
  std::terminate_handler previous_;
};

}  // namespace tarvik
