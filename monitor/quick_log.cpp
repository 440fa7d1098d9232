#include "monitor/quick_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <memory>

#include "config/codepage.h"
#include "config/number_text.h"
#include "config/regular_file.h"
#include "config/write_step.h"
#include "platform/time_text.h"

namespace tarvik {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// The log opened as a regular file only: a FIFO in its place must not stop the monitor.
FilePtr openLog(const std::filesystem::path& file, int flags, const char* mode) {
  const int fd = openRegularFile(file, flags, 0644);
  if (fd < 0) return nullptr;
  FilePtr f{::fdopen(fd, mode)};
  if (!f) ::close(fd);
  return f;
}

// PAD6: the text followed by blanks up to six characters.
std::string padSix(std::string text) {
  if (text.size() < 6) text.append(6 - text.size(), ' ');
  return text;
}

// Number of characters of a UTF-8 text.
std::size_t charCount(std::string_view text) {
  std::size_t n = 0;
  for (char c : text) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

}  // namespace

QuickLog::QuickLog(std::filesystem::path file) : file_(std::move(file)) {}

bool QuickLog::createIfMissing() {
  std::error_code ec;
  if (std::filesystem::exists(file_, ec)) return true;
  return append(std::string(kQuickLogHeader) + std::string(kLineEnd) + std::string(kLineEnd));
}

bool QuickLog::openLine(const LocalTime& now) {
  bool lineOpen = false;
  if (FilePtr in = openLog(file_, O_RDONLY, "rb")) {
    if (std::fseek(in.get(), -1, SEEK_END) == 0) lineOpen = std::fgetc(in.get()) != '\n';
  }
  std::string text = lineOpen ? std::string(kLineEnd) : std::string();
  return append(text + stampText(now));
}

bool QuickLog::finishLine(std::string_view tail) {
  return append(std::string(tail) + std::string(kLineEnd));
}

bool QuickLog::append(std::string_view utf8Text) {
  writeStep();
  FilePtr out = openLog(file_, O_WRONLY | O_APPEND | O_CREAT, "ab");
  if (!out) return false;
  const std::string bytes = utf8ToCp1251(utf8Text);
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out.get()) == bytes.size();
  return std::fclose(out.release()) == 0 && written;
}

std::string oneLine(std::string_view name) {
  std::string out(name);
  for (char& c : out) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  }
  return out;
}

std::string bookedQuickLogTail(std::string_view currencySign, std::int64_t seconds,
                               float costHundredths, float balance, std::string_view entry,
                               const NumberFormat& format) {
  std::string sign(currencySign);
  if (charCount(sign) == 1) sign += ' ';
  return " = " + durationText(seconds) + " + [" + sign + "| ~" +
         padSix(sixText(static_cast<double>(costHundredths) * 0.01, format)) +
         " | =" + padSix(sixText(balance, format)) + " ] <" + oneLine(entry) + ">";
}

std::string neverEstablishedQuickLogTail(float balance, std::string_view entry,
                                         const NumberFormat& format) {
  return " = 00:00:00 - [  | ~       | =" + padSix(sixText(balance, format)) + " ] <" +
         oneLine(entry) + ">";
}

std::string abortedQuickLogTail(std::string_view entry) {
  return " = 00:00:00 + [user aborts connection] <" + oneLine(entry) + ">";
}

}  // namespace tarvik
