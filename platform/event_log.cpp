#include "platform/event_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "config/codepage.h"
#include "config/regular_file.h"
#include "config/write_step.h"
#include "platform/time_text.h"

namespace tarvik {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// Writes the whole buffer with one open/append/close; any failure just loses the entry.
void appendBytes(const std::filesystem::path& file, const std::string& bytes) {
  writeStep();
  // A FIFO or device in place of the log would block or swallow the entries.
  const int fd = openRegularFile(file, O_WRONLY | O_APPEND | O_CREAT, 0644);
  if (fd < 0) return;
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  ::close(fd);
}

}  // namespace

EventLog::EventLog(std::filesystem::path file, const Clock& clock)
    : file_(std::move(file)), clock_(clock) {}

void EventLog::append(std::string_view text, bool stamp, int lineEnds) {
  try {
    std::string out;
    if (stamp) {
      out += kLineEnd;
      out += stampText(clock_.now());
      out += kLineEnd;
    }
    // Every "\n"-separated line of the text gets a CR LF; a CR LF already in the text is
    // kept as one line end.
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\n') {
        if (out.empty() || out.back() != '\r') out += '\r';
        out += '\n';
      } else {
        out += text[i];
      }
    }
    for (int i = 0; i < lineEnds; ++i) out += kLineEnd;
    appendBytes(file_, utf8ToCp1251(out));
  } catch (...) {
    // The log never stops the program: an entry that cannot be written is dropped.
  }
}

}  // namespace tarvik
