#include "config/regular_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "config/file_descriptor.h"

namespace tarvik {

int openRegularFile(const std::filesystem::path& path, int flags, mode_t mode) {
  // O_NONBLOCK: opening a FIFO without a writer (or, for writing, without a reader) would
  // otherwise wait for one.
  FileDescriptor fd(::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, mode));
  if (fd.get() < 0) return -1;
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return -1;
  if (!S_ISREG(st.st_mode)) {
    errno = EISDIR;
    return -1;
  }
  // Regular files ignore O_NONBLOCK; it is cleared anyway so the descriptor behaves plainly.
  const int status = ::fcntl(fd.get(), F_GETFL);
  if (status >= 0) ::fcntl(fd.get(), F_SETFL, status & ~O_NONBLOCK);
  return fd.release();
}

FileRead readRegularFile(const std::filesystem::path& path, std::uint64_t maxBytes) {
  FileRead result;
  FileDescriptor fd(openRegularFile(path, O_RDONLY));
  if (fd.get() < 0) {
    result.error = errno;
    return result;
  }
  struct stat& st = result.status;
  if (::fstat(fd.get(), &st) != 0 || st.st_size < 0) {
    result.error = errno ? errno : EIO;
    return result;
  }
  if (static_cast<std::uint64_t>(st.st_size) > maxBytes) {
    result.error = EFBIG;
    return result;
  }
  std::string& bytes = result.bytes;
  // One byte more than the size, so that the read that finds the end needs no larger buffer
  // (growing would copy a huge file once more).
  bytes.resize(static_cast<std::size_t>(st.st_size) + 1);
  std::size_t filled = 0;
  for (;;) {
    if (filled == bytes.size()) {
      if (filled > maxBytes) {
        result.error = EFBIG;
        std::string().swap(bytes);
        return result;
      }
      bytes.resize(bytes.size() + 4096);  // the file grew, or its size is not known
    }
    const ssize_t got = ::read(fd.get(), bytes.data() + filled, bytes.size() - filled);
    if (got < 0) {
      if (errno == EINTR) continue;
      result.error = errno;
      std::string().swap(bytes);
      return result;
    }
    if (got == 0) break;
    filled += static_cast<std::size_t>(got);
  }
  if (filled > maxBytes) {
    result.error = EFBIG;
    std::string().swap(bytes);
    return result;
  }
  bytes.resize(filled);
  if (::fstat(fd.get(), &st) != 0) result.error = errno;
  return result;
}

bool regularFileHolds(const std::filesystem::path& path, std::string_view expected,
                      struct stat& status) {
  FileDescriptor fd(openRegularFile(path, O_RDONLY));
  if (fd.get() < 0 || ::fstat(fd.get(), &status) != 0) return false;
  if (static_cast<std::uint64_t>(status.st_size) != expected.size()) return false;
  char chunk[64 * 1024];
  for (;;) {
    const ssize_t got = ::read(fd.get(), chunk, sizeof chunk);
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) break;
    const auto size = static_cast<std::size_t>(got);
    if (size > expected.size() || std::string_view(chunk, size) != expected.substr(0, size)) {
      return false;
    }
    expected.remove_prefix(size);
  }
  return expected.empty() && ::fstat(fd.get(), &status) == 0;
}

bool isRegularFile(const std::filesystem::path& path) {
  const FileDescriptor fd(openRegularFile(path, O_RDONLY));
  return fd.get() >= 0;
}

std::string readErrorText(int error) {
  if (error == EISDIR) return "not a regular file";
  if (error == EFBIG) return "too large";
  return std::strerror(error);
}

}  // namespace tarvik
