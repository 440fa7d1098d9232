#include "config/file_replace.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <string>
#include <unordered_set>

#include "config/directory_scan.h"
#include "config/file_clock.h"
#include "config/file_descriptor.h"
#include "config/ini_write_error.h"
#include "config/write_step.h"

namespace tarvik {
namespace {

namespace fs = std::filesystem;

std::string errorText(const std::string& what, const fs::path& path, int error) {
  return what + " " + path.string() + ": " + std::strerror(error);
}

// The file actually replaced: the target of a symbolic link, so the link survives.
fs::path replacementTarget(const fs::path& path) {
  std::error_code error;
  if (fs::is_symlink(fs::symlink_status(path, error))) {
    const fs::path target = fs::weakly_canonical(path, error);
    if (!error) return target;
  }
  return path;
}

fs::path folderOf(const fs::path& path) {
  fs::path dir = path.parent_path();
  return dir.empty() ? fs::path(".") : dir;
}

// Temporary files are named "." + file name + "." + process id + "." + counter + "~".
std::string temporaryPrefix(const fs::path& path) {
  std::string prefix(1, '.');
  prefix += path.filename().string();
  prefix += '.';
  return prefix;
}

// A writer killed between creating its temporary file and the rename leaves the file
// behind; it is removed by the next write once its process is gone.
void removeStaleTemporaries(const fs::path& dir, const fs::path& path) {
  const std::string prefix = temporaryPrefix(path);
  scanDirectory(dir, [&](const fs::directory_entry& entry) {
    const std::string name = entry.path().filename().string();
    if (!name.starts_with(prefix) || !name.ends_with("~")) return true;
    const std::string rest = name.substr(prefix.size());
    const std::size_t dot = rest.find('.');
    if (dot == 0 || dot == std::string::npos) return true;
    long pid = 0;
    for (std::size_t i = 0; i < dot; ++i) {
      if (rest[i] < '0' || rest[i] > '9' || pid > 100000000) {
        pid = -1;
        break;
      }
      pid = pid * 10 + (rest[i] - '0');
    }
    if (pid <= 0 || pid == ::getpid()) return true;
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) ::unlink(entry.path().c_str());
    return true;
  });
}

// Once per file and process is enough: our own temporaries never stay behind, and another
// writer's are found at the next start. Listing the folder at every replacement of a journal
// written every few seconds would cost more than it finds.
void removeStaleTemporariesOnce(const fs::path& dir, const fs::path& path) {
  static std::mutex mutex;
  static std::unordered_set<std::string> done;
  {
    const std::lock_guard lock(mutex);
    if (!done.insert(path.string()).second) return;
  }
  removeStaleTemporaries(dir, path);
}

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Small pieces are gathered, so that a batch of many changed lines costs few system calls;
// large ones are written from where they lie.
bool writePieces(int fd, const TextPieces& text) {
  constexpr std::size_t kGathered = 64 * 1024;
  std::string gathered;
  for (const std::string_view piece : text.pieces()) {
    if (gathered.size() + piece.size() > kGathered) {
      if (!writeAll(fd, gathered)) return false;
      gathered.clear();
      if (piece.size() >= kGathered) {
        if (!writeAll(fd, piece)) return false;
        continue;
      }
    }
    gathered += piece;
  }
  return writeAll(fd, gathered);
}

// A file without any write permission is read-only even for the superuser, who would
// otherwise be able to rename over it.
bool writableFile(const struct stat& st, const fs::path& path) {
  return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && ::access(path.c_str(), W_OK) == 0;
}

// A file's new text, written and flushed under a temporary name in its folder that cannot
// meet the program's own files, waiting for its rename.
struct Temporary {
  fs::path path, dir, temp;
  struct stat status {};
};

Temporary writeTemporary(const fs::path& requested, const TextPieces& text) {
  static std::atomic<unsigned> counter = 0;
  Temporary t;
  t.path = replacementTarget(requested);
  t.dir = folderOf(t.path);

  struct stat old {};
  const bool exists = ::stat(t.path.c_str(), &old) == 0;
  if (exists) {
    if (!S_ISREG(old.st_mode)) throw IniWriteError(errorText("cannot replace", t.path, EISDIR));
    if (!writableFile(old, t.path))
      throw IniWriteError(errorText("read-only file", t.path, EACCES));
  }

  removeStaleTemporariesOnce(t.dir, t.path);
  writeStep();
  t.temp = t.dir / (temporaryPrefix(t.path) + std::to_string(::getpid()) + "." +
                    std::to_string(++counter) + "~");
  FileDescriptor fd(
      ::open(t.temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666));
  if (fd.get() < 0) {
    const int error = errno;
    throw IniWriteError(errorText("cannot create", t.temp, error));
  }

  const auto fail = [&](const char* what) {
    const int error = errno;
    if (fd.get() >= 0) fd.close();
    ::unlink(t.temp.c_str());
    throw IniWriteError(errorText(what, t.path, error));
  };
  if (exists) {
    if (::fchmod(fd.get(), old.st_mode & 07777) != 0) fail("cannot set the mode of");
    if (::geteuid() == 0) (void)!::fchown(fd.get(), old.st_uid, old.st_gid);
  }
  if (!writePieces(fd.get(), text)) fail("cannot write");
  // The size and where the bytes lie are flushed with the data; the times need not be.
  if (::fdatasync(fd.get()) != 0) fail("cannot flush");
  if (::fstat(fd.get(), &t.status) != 0) fail("cannot check");
  if (fd.close() != 0) fail("cannot close");
  return t;
}

// The renames reach the disk only with the folder. A full fsync: a journalling file system
// may count a renamed entry as a change of the folder's metadata only, which fdatasync skips
// when the folder's size stayed.
void flushFolder(const fs::path& dir) {
  FileDescriptor dirFd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dirFd.get() >= 0) ::fsync(dirFd.get());
}

}  // namespace

// Every new text is written and flushed first, then each is renamed over its old file, and
// each folder is flushed once at the end: a crash or a power loss leaves each file old or new.
std::vector<Replacement> replaceFiles(std::span<const FileText> files) {
  std::vector<Temporary> ready;
  ready.reserve(files.size());
  const auto dropFrom = [&ready](std::size_t first) {
    for (std::size_t i = first; i < ready.size(); ++i) ::unlink(ready[i].temp.c_str());
  };
  try {
    for (const FileText& file : files) ready.push_back(writeTemporary(file.path, *file.text));
  } catch (...) {
    dropFrom(0);
    throw;
  }
  std::vector<Replacement> done;
  done.reserve(ready.size());
  for (std::size_t i = 0; i < ready.size(); ++i) {
    const Temporary& t = ready[i];
    const long long takenAt = fileClockNs();
    writeStep();
    if (::rename(t.temp.c_str(), t.path.c_str()) != 0) {
      const int error = errno;
      dropFrom(i);
      for (std::size_t j = 0; j < i; ++j) flushFolder(ready[j].dir);
      throw IniWriteError(errorText("cannot replace", t.path, error));
    }
    done.push_back({t.path, FileStamp::of(t.status), takenAt});
  }
  for (std::size_t i = 0; i < ready.size(); ++i) {
    bool flushed = false;
    for (std::size_t j = 0; j < i; ++j) flushed = flushed || ready[j].dir == ready[i].dir;
    if (!flushed) flushFolder(ready[i].dir);
  }
  // A rename may touch the inode's change time, so the stamps are taken afterwards.
  for (Replacement& replaced : done) {
    struct stat after {};
    if (::stat(replaced.path.c_str(), &after) == 0 && after.st_ino == replaced.stamp.inode)
      replaced.stamp = FileStamp::of(after);
  }
  return done;
}

Replacement replaceFile(const fs::path& requested, const TextPieces& text) {
  const FileText file{requested, &text};
  return replaceFiles(std::span(&file, 1)).front();
}

Replacement replaceFile(const fs::path& requested, std::string_view bytes) {
  TextPieces text;
  text.add(bytes);
  return replaceFile(requested, text);
}

bool canReplaceFile(const fs::path& requested) {
  const fs::path path = replacementTarget(requested);
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && (!S_ISREG(st.st_mode) || !writableFile(st, path)))
    return false;
  // The replacement is a new file beside the old one.
  return ::access(folderOf(path).c_str(), W_OK | X_OK) == 0;
}

}  // namespace tarvik
