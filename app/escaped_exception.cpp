#include "app/escaped_exception.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <typeinfo>

#include "app/banner.h"
#include "platform/event_log.h"

namespace tarvik {
namespace {

// A number that tells exception types apart in the log.
std::string exceptionId(const std::type_info& type) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "0x%08X",
                static_cast<unsigned>(std::hash<std::string>{}(type.name()) & 0xFFFFFFFFu));
  return buf;
}

std::atomic<EventLog*> terminationLog{nullptr};

}  // namespace

std::string logEscapedException(EventLog& log, std::exception_ptr error) {
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
  return message;
}

TerminationLogging::TerminationLogging(EventLog& log) {
  terminationLog.store(&log);
  previous_ = std::set_terminate([] {
    // Only the first thread to get here writes; another one waits for the abort.
    static std::once_flag once;
    std::call_once(once, [] {
      EventLog* log = terminationLog.load();
      if (std::exception_ptr error = std::current_exception(); error && log) {
        try {
          logEscapedException(*log, error);
        } catch (...) {
        }
      }
    });
    std::abort();
  });
}

TerminationLogging::~TerminationLogging() {
  terminationLog.store(nullptr);
  std::set_terminate(previous_);
}

}  // namespace tarvik
