#include "config/ini_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <optional>
#include <unordered_map>
#include <variant>

#include "config/codepage.h"
#include "config/file_clock.h"
#include "config/ini_edited.h"
#include "config/ini_parse.h"

namespace tarvik {
namespace {

namespace fs = std::filesystem;

// Identity and modification of a file as a cheap stat sees it.
struct FileStamp {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec modified{};
  timespec changed{};

  bool operator==(const FileStamp& other) const {
    return device == other.device && inode == other.inode && size == other.size &&
           modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec &&
           changed.tv_sec == other.changed.tv_sec && changed.tv_nsec == other.changed.tv_nsec;
  }
};

FileStamp stampOf(const struct stat& st) {
  return {st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
}

// File times come from a coarse clock (one scheduler tick), so another program's edit that
// keeps the size and lands within the tick of the copy we hold would keep the stamp: until
// the stamp proves the copy, every read checks the contents again.
struct CachedFile {
  FileStamp stamp;
  long long takenAtNs = 0;
  // A file this process wrote is kept as text and parsed when first read: a large batch
  // (the statistics rollover) is often the last use of the file for a while.
  std::shared_ptr<const ini::Document> doc;
  std::string written;

  const std::string& bytes() const { return doc ? doc->bytes : written; }
  const std::shared_ptr<const ini::Document>& document() {
    if (!doc) doc = std::make_shared<const ini::Document>(ini::parse(std::move(written)));
    return doc;
  }

  bool trusted() const { return stampProvesCopy(stamp.changed, takenAtNs); }
};

// The program touches a handful of files; a bound keeps tests and tools that walk many
// temporary files from growing the cache without limit.
constexpr std::size_t kMaxCachedFiles = 64;

std::unordered_map<std::string, CachedFile>& cache() {
  static std::unordered_map<std::string, CachedFile> files;
  return files;
}

const std::shared_ptr<const ini::Document>& emptyDocument() {
  static const std::shared_ptr<const ini::Document> empty =
      std::make_shared<const ini::Document>(ini::parse({}));
  return empty;
}

std::string errorText(const std::string& what, const fs::path& path, int error) {
  return what + " " + path.string() + ": " + std::strerror(error);
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  // Closes now and reports the result (a delayed write error can surface here).
  int close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

// A file that exists but cannot be read as a regular file (a directory, a device, no
// permission, an I/O error). Reads see it as empty; writes refuse to replace it.
struct Unreadable {
  int error;
};
using LoadResult = std::variant<std::shared_ptr<const ini::Document>, Unreadable>;

// Largest file read; anything bigger is not one of ours.
constexpr off_t kMaxFileSize = off_t{256} << 20;

LoadResult readAndParse(const fs::path& path) {
  // O_NONBLOCK: a FIFO put in place of the file must not block the program.
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (fd.get() < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return emptyDocument();
    return Unreadable{errno};
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return Unreadable{errno};
  if (!S_ISREG(st.st_mode)) return Unreadable{EISDIR};
  if (st.st_size > kMaxFileSize) return Unreadable{EFBIG};
  const long long takenAt = fileClockNs();

  std::string bytes;
  bytes.resize(static_cast<std::size_t>(st.st_size));
  std::size_t filled = 0;
  for (;;) {
    if (filled == bytes.size()) bytes.resize(bytes.size() + 4096);  // the file grew
    const ssize_t got = ::read(fd.get(), bytes.data() + filled, bytes.size() - filled);
    if (got < 0) {
      if (errno == EINTR) continue;
      return Unreadable{errno};
    }
    if (got == 0) break;
    filled += static_cast<std::size_t>(got);
  }
  bytes.resize(filled);
  if (::fstat(fd.get(), &st) != 0) return Unreadable{errno};

  auto& files = cache();
  const auto known = files.find(path.string());
  if (known != files.end() && known->second.bytes() == bytes) {
    // Same contents under a new stamp, or a stamp too recent to trust: no need to parse.
    known->second.stamp = stampOf(st);
    known->second.takenAtNs = takenAt;
    return known->second.document();
  }
  auto doc = std::make_shared<const ini::Document>(ini::parse(std::move(bytes)));
  if (files.size() >= kMaxCachedFiles) files.clear();
  files[path.string()] = CachedFile{stampOf(st), takenAt, doc, {}};
  return doc;
}

LoadResult load(const fs::path& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    const int error = errno;
    cache().erase(path.string());
    if (error == ENOENT || error == ENOTDIR) return emptyDocument();
    return Unreadable{error};
  }
  if (!S_ISREG(st.st_mode)) return Unreadable{EISDIR};
  const auto it = cache().find(path.string());
  if (it != cache().end() && it->second.trusted() && it->second.stamp == stampOf(st)) {
    return it->second.document();
  }
  return readAndParse(path);
}

std::shared_ptr<const ini::Document> loadForReading(const fs::path& path) {
  LoadResult result = load(path);
  if (auto* doc = std::get_if<std::shared_ptr<const ini::Document>>(&result)) return *doc;
  return emptyDocument();
}

std::shared_ptr<const ini::Document> loadForWriting(const fs::path& path) {
  LoadResult result = load(path);
  if (auto* doc = std::get_if<std::shared_ptr<const ini::Document>>(&result)) return *doc;
  throw IniWriteError(errorText("cannot read", path, std::get<Unreadable>(result).error));
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
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(dir, error)) {
    const std::string name = entry.path().filename().string();
    if (!name.starts_with(prefix) || !name.ends_with("~")) continue;
    const std::string rest = name.substr(prefix.size());
    const std::size_t dot = rest.find('.');
    if (dot == 0 || dot == std::string::npos) continue;
    long pid = 0;
    for (std::size_t i = 0; i < dot; ++i) {
      if (rest[i] < '0' || rest[i] > '9' || pid > 100000000) {
        pid = -1;
        break;
      }
      pid = pid * 10 + (rest[i] - '0');
    }
    if (pid <= 0 || pid == ::getpid()) continue;
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) ::unlink(entry.path().c_str());
  }
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

// A file without any write permission is read-only even for the superuser, who would
// otherwise be able to rename over it.
bool writableFile(const struct stat& st, const fs::path& path) {
  return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && ::access(path.c_str(), W_OK) == 0;
}

// Replaces the file with `bytes`: a temporary file in the same folder is written and
// flushed, then renamed over the old one, and the folder is flushed, so that a crash or a
// power loss leaves either the old or the new file. Any failure leaves the old file and no
// temporary file behind. The temporary name cannot meet the program's own files.
void replaceFile(const fs::path& requested, std::string bytes) {
  static unsigned counter = 0;
  const fs::path path = replacementTarget(requested);
  fs::path dir = path.parent_path();
  if (dir.empty()) dir = ".";

  struct stat old {};
  const bool exists = ::stat(path.c_str(), &old) == 0;
  if (exists) {
    if (!S_ISREG(old.st_mode)) throw IniWriteError(errorText("cannot replace", path, EISDIR));
    if (!writableFile(old, path)) throw IniWriteError(errorText("read-only file", path, EACCES));
  }

  removeStaleTemporaries(dir, path);
  const fs::path temp = dir / (temporaryPrefix(path) + std::to_string(::getpid()) + "." +
                               std::to_string(++counter) + "~");
  FileDescriptor fd(
      ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666));
  if (fd.get() < 0) {
    const int error = errno;
    throw IniWriteError(errorText("cannot create", temp, error));
  }

  const auto fail = [&](const char* what) {
    const int error = errno;
    if (fd.get() >= 0) fd.close();
    ::unlink(temp.c_str());
    throw IniWriteError(errorText(what, path, error));
  };
  if (exists) {
    if (::fchmod(fd.get(), old.st_mode & 07777) != 0) fail("cannot set the mode of");
    if (::geteuid() == 0) (void)!::fchown(fd.get(), old.st_uid, old.st_gid);
  }
  if (!writeAll(fd.get(), bytes)) fail("cannot write");
  if (::fsync(fd.get()) != 0) fail("cannot flush");
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) fail("cannot check");
  if (fd.close() != 0) fail("cannot close");
  const long long takenAt = fileClockNs();
  if (::rename(temp.c_str(), path.c_str()) != 0) fail("cannot replace");

  // The rename itself reaches the disk only with the folder.
  FileDescriptor dirFd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dirFd.get() >= 0) ::fsync(dirFd.get());

  // A rename may touch the inode's change time, so the stamp is taken afterwards.
  struct stat after {};
  if (::stat(path.c_str(), &after) == 0 && after.st_ino == st.st_ino) st = after;
  auto& files = cache();
  if (files.size() >= kMaxCachedFiles) files.clear();
  files[path.string()] = CachedFile{stampOf(st), takenAt, nullptr, std::move(bytes)};
  if (path != requested) files.erase(requested.string());
}

int parseInt(const std::optional<std::string>& text, int def) {
  return text ? parseProfileInt(*text, def) : def;
}

}  // namespace

bool canReplaceFile(const fs::path& requested) {
  const fs::path path = replacementTarget(requested);
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && (!S_ISREG(st.st_mode) || !writableFile(st, path)))
    return false;
  // The replacement is a new file beside the old one.
  fs::path dir = path.parent_path();
  if (dir.empty()) dir = ".";
  return ::access(dir.c_str(), W_OK | X_OK) == 0;
}

// ---------------------------------------------------------------------------------------
// IniFile

IniFile::IniFile(std::filesystem::path path) : path_(std::move(path)) {}

bool IniFile::exists() const {
  struct stat st {};
  return ::stat(path_.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view def) const {
  auto text = ini::value(*loadForReading(path_), section, key);
  return text ? std::move(*text) : std::string(def);
}

int IniFile::readInt(std::string_view section, std::string_view key, int def) const {
  return parseInt(ini::value(*loadForReading(path_), section, key), def);
}

bool IniFile::hasKey(std::string_view section, std::string_view key) const {
  return ini::findKey(*loadForReading(path_), section, key) != nullptr;
}

bool IniFile::hasSection(std::string_view section) const {
  return ini::hasSection(*loadForReading(path_), section);
}

std::vector<std::string> IniFile::sectionNames() const {
  return ini::sectionNames(*loadForReading(path_));
}

std::vector<std::string> IniFile::keyNames(std::string_view section) const {
  return ini::keyNames(*loadForReading(path_), section);
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
  ini::checkWritable(section, key, value);
  const auto doc = loadForWriting(path_);
  if (auto bytes = ini::setValue(*doc, section, key, value)) replaceFile(path_, std::move(*bytes));
}

void IniFile::writeInt(std::string_view section, std::string_view key, int value) {
  writeString(section, key, std::to_string(value));
}

void IniFile::deleteKey(std::string_view section, std::string_view key) {
  const auto doc = loadForWriting(path_);
  if (auto bytes = ini::removeKey(*doc, section, key)) replaceFile(path_, std::move(*bytes));
}

void IniFile::deleteSection(std::string_view section) {
  const auto doc = loadForWriting(path_);
  if (auto bytes = ini::removeSection(*doc, section)) replaceFile(path_, std::move(*bytes));
}

// ---------------------------------------------------------------------------------------
// IniEdit

namespace {

struct WriteOp {
  std::string section, key, value;
};
struct DeleteKeyOp {
  std::string section, key;
};
struct DeleteSectionOp {
  std::string section;
};
using EditOp = std::variant<WriteOp, DeleteKeyOp, DeleteSectionOp>;

// A file with a growing list of changes applied, brought up to date step by step, so that
// reading an edit between queued changes costs only the new changes.
class AppliedEdits {
 public:
  // Starts over from `file` unless this is the file the changes were applied to.
  void rebase(const std::shared_ptr<const ini::Document>& file) {
    if (file == base_) return;
    base_ = file;
    edited_.emplace(file);
    applied_ = 0;
  }

  void reset() {
    base_.reset();
    edited_.reset();
    applied_ = 0;
  }

  void catchUp(const std::vector<EditOp>& ops) {
    for (; applied_ < ops.size(); ++applied_) step(ops[applied_]);
  }

  const ini::EditedDocument& doc() const { return *edited_; }

 private:
  void step(const EditOp& op) {
    if (const auto* write = std::get_if<WriteOp>(&op)) {
      edited_->setValue(write->section, write->key, write->value);
    } else if (const auto* remove = std::get_if<DeleteKeyOp>(&op)) {
      edited_->removeKey(remove->section, remove->key);
    } else {
      edited_->removeSection(std::get<DeleteSectionOp>(op).section);
    }
  }

  std::shared_ptr<const ini::Document> base_;
  std::optional<ini::EditedDocument> edited_;
  std::size_t applied_ = 0;
};

}  // namespace

struct IniEdit::State {
  std::vector<EditOp> ops;
  mutable AppliedEdits view;
};

IniEdit::IniEdit(const IniFile& file) : path_(file.path()), state_(new State) {}

IniEdit::~IniEdit() {
  delete state_;
}

IniEdit& IniEdit::writeString(std::string_view section, std::string_view key,
                              std::string_view value) {
  ini::checkWritable(section, key, value);
  state_->ops.emplace_back(WriteOp{std::string(section), std::string(key), std::string(value)});
  return *this;
}

IniEdit& IniEdit::writeInt(std::string_view section, std::string_view key, int value) {
  return writeString(section, key, std::to_string(value));
}

IniEdit& IniEdit::deleteKey(std::string_view section, std::string_view key) {
  state_->ops.emplace_back(DeleteKeyOp{std::string(section), std::string(key)});
  return *this;
}

IniEdit& IniEdit::deleteSection(std::string_view section) {
  state_->ops.emplace_back(DeleteSectionOp{std::string(section)});
  return *this;
}

const ini::EditedDocument& IniEdit::current() const {
  state_->view.rebase(loadForReading(path_));
  state_->view.catchUp(state_->ops);
  return state_->view.doc();
}

std::string IniEdit::readString(std::string_view section, std::string_view key,
                                std::string_view def) const {
  auto text = current().value(section, key);
  return text ? std::move(*text) : std::string(def);
}

int IniEdit::readInt(std::string_view section, std::string_view key, int def) const {
  return parseInt(current().value(section, key), def);
}

void IniEdit::commit() {
  AppliedEdits& view = state_->view;
  view.rebase(loadForWriting(path_));
  view.catchUp(state_->ops);
  if (!view.doc().changed()) return;
  replaceFile(path_, view.doc().bytes());
  // Later reads and a repeated commit apply the queue again, to the file as written; that
  // waits until one of them asks.
  view.reset();
}

// ---------------------------------------------------------------------------------------
// IniDocument

IniDocument::IniDocument(std::string_view cp1251Bytes)
    : doc_(std::make_shared<const ini::Document>(ini::parse(std::string(cp1251Bytes)))) {}

IniDocument IniDocument::fromUtf8(std::string_view text) {
  return IniDocument(utf8ToCp1251(text));
}

std::string IniDocument::readString(std::string_view section, std::string_view key,
                                    std::string_view def) const {
  auto text = ini::value(*doc_, section, key);
  return text ? std::move(*text) : std::string(def);
}

int IniDocument::readInt(std::string_view section, std::string_view key, int def) const {
  return parseInt(ini::value(*doc_, section, key), def);
}

bool IniDocument::hasKey(std::string_view section, std::string_view key) const {
  return ini::findKey(*doc_, section, key) != nullptr;
}

bool IniDocument::hasSection(std::string_view section) const {
  return ini::hasSection(*doc_, section);
}

std::vector<std::string> IniDocument::sectionNames() const {
  return ini::sectionNames(*doc_);
}

std::vector<std::string> IniDocument::keyNames(std::string_view section) const {
  return ini::keyNames(*doc_, section);
}

// ---------------------------------------------------------------------------------------
// The integer rule

int parseProfileInt(std::string_view text, int def) {
  std::size_t pos = 0;
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  const std::string_view rest = text.substr(pos);

  const auto hexDigit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };

  std::uint64_t magnitude = 0;
  if (rest.starts_with("0x") || rest.starts_with("0X") || rest.starts_with("$")) {
    // Hexadecimal covers the full 32 bits: "$FFFFFFFF" is -1.
    const std::string_view digits = rest.substr(rest.front() == '$' ? 1 : 2);
    if (digits.empty()) return def;
    for (const char c : digits) {
      const int digit = hexDigit(c);
      if (digit < 0) return def;
      magnitude = magnitude * 16 + static_cast<unsigned>(digit);
      if (magnitude > 0xFFFFFFFFu) return def;
    }
    auto bits = static_cast<std::uint32_t>(magnitude);
    if (negative) bits = 0u - bits;
    return static_cast<int>(bits);
  }

  if (rest.empty()) return def;
  for (const char c : rest) {
    if (c < '0' || c > '9') return def;
    magnitude = magnitude * 10 + static_cast<unsigned>(c - '0');
    if (magnitude > 2147483648u) return def;
  }
  if (!negative && magnitude > 2147483647u) return def;
  return negative ? static_cast<int>(-static_cast<std::int64_t>(magnitude))
                  : static_cast<int>(magnitude);
}

}  // namespace tarvik
