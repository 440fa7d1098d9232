#include "config/ini_cache.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <unordered_map>
#include <variant>

#include "config/file_clock.h"
#include "config/file_replace.h"
#include "config/file_stamp.h"
#include "config/file_watch.h"
#include "config/ini_write_error.h"
#include "config/regular_file.h"

namespace tarvik::ini {
namespace {

namespace fs = std::filesystem;

std::shared_ptr<const Document> parsed(std::string bytes, FileEncoding encoding) {
  Document doc = parse(std::move(bytes));
  doc.encoding = encoding;
  return std::make_shared<const Document>(std::move(doc));
}

// File times come from a coarse clock (one scheduler tick), so another program's edit that
// keeps the size and lands within the tick of the copy we hold would keep the stamp: until
// the stamp proves the copy, every read checks the contents again.
struct CachedFile {
  FileStamp stamp;
  long long takenAtNs = 0;
  // A file this process wrote is kept as text and parsed when first read: a large batch
  // (the statistics rollover) is often the last use of the file for a while.
  std::shared_ptr<const Document> doc;
  std::string written;
  FileEncoding encoding = FileEncoding::Cp1251;
  // A huge file this process wrote straight from its pieces is not held at all: the next
  // read reads it again.
  bool unread = false;

  const std::string& bytes() const { return doc ? doc->bytes : written; }
  const std::shared_ptr<const Document>& document() {
    if (!doc) doc = parsed(std::move(written), encoding);
    return doc;
  }

  bool trusted() const { return stampProvesCopy(stamp.changed, takenAtNs); }

  // The change watch's version of the file when the copy was last proved (nullopt: not
  // watched). While it stays the same the copy needs no stat(). A file reached through a
  // symbolic link or a second hard link may change without a notice about its name here,
  // so only a plain file is trusted that way.
  std::optional<std::uint64_t> watched;
  std::optional<bool> plain;  // unknown until looked at
};

// A file's own name is the only one it has, so a change notice about the name is a notice
// about the file.
bool plainFile(const fs::path& path, const FileStamp& stamp) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_nlink == 1 &&
         st.st_ino == stamp.inode && st.st_dev == stamp.device;
}

// The copy was just proved against the file (its stamp, or a fresh read) after the watch
// showed `version`.
void proved(const fs::path& path, CachedFile& file, std::optional<std::uint64_t> version) {
  if (!version) return;
  if (!file.plain) file.plain = plainFile(path, file.stamp);
  if (*file.plain) file.watched = version;
}

// From this size on a write does not build the new text beside the old one: the two at once
// would be the peak of a huge file's memory. Smaller files are kept, to spare the re-read.
constexpr std::size_t kWrittenFromPieces = std::size_t{4} << 20;

// The program touches a handful of files; a bound keeps tests and tools that walk many
// temporary files from growing the cache without limit.
constexpr std::size_t kMaxCachedFiles = 64;

std::unordered_map<std::string, CachedFile>& cache() {
  static std::unordered_map<std::string, CachedFile> files;
  return files;
}

void remember(const fs::path& path, CachedFile file) {
  auto& files = cache();
  if (files.size() >= kMaxCachedFiles) files.clear();
  files[path.string()] = std::move(file);
}

const std::shared_ptr<const Document>& emptyDocument() {
  static const std::shared_ptr<const Document> empty = std::make_shared<const Document>(parse({}));
  return empty;
}

// A file that exists but cannot be read as a regular file (a directory, a device, no
// permission, an I/O error). Reads see it as empty; writes refuse to replace it.
struct Unreadable {
  int error;
};
using LoadResult = std::variant<std::shared_ptr<const Document>, Unreadable>;

LoadResult readAndParse(const fs::path& path) {
  const long long takenAt = fileClockNs();
  auto known = cache().find(path.string());
  if (known != cache().end() && !known->second.unread &&
      known->second.encoding == FileEncoding::Cp1251 &&
      encodingOf(known->second.bytes()) == FileEncoding::Cp1251) {
    // The copy is checked against the file as it is read: a second whole copy of a huge
    // file beside its parsed one would be the peak of its memory.
    struct stat st {};
    if (regularFileHolds(path, known->second.bytes(), st)) {
      known->second.stamp = FileStamp::of(st);
      known->second.takenAtNs = takenAt;
      return known->second.document();
    }
    cache().erase(known);  // changed: not held beside the new text
    known = cache().end();
  }
  FileRead read = readRegularFile(path);
  if (read.error == ENOENT || read.error == ENOTDIR) return emptyDocument();
  if (read.error != 0) return Unreadable{read.error};
  std::string bytes = std::move(read.bytes);
  const struct stat& st = read.status;
  const FileEncoding encoding = encodingOf(bytes);
  if (encoding != FileEncoding::Cp1251) bytes = toCp1251(bytes, encoding);

  if (known != cache().end() && !known->second.unread && known->second.encoding == encoding &&
      known->second.bytes() == bytes) {
    // Same contents under a new stamp, or a stamp too recent to trust: no need to parse.
    known->second.stamp = FileStamp::of(st);
    known->second.takenAtNs = takenAt;
    std::string().swap(bytes);  // a kept text is parsed below: not two copies of a huge file
    return known->second.document();
  }
  // The old copy goes before the new one is parsed: with a huge file the two would
  // otherwise be held at once.
  if (known != cache().end()) cache().erase(known);
  auto doc = parsed(std::move(bytes), encoding);
  remember(path, CachedFile{FileStamp::of(st), takenAt, doc, {}, encoding, false, {}, {}});
  return doc;
}

LoadResult load(const fs::path& path) {
  // Taken before the file is looked at: a change after this moves the version again.
  const std::optional<std::uint64_t> version = watchedVersion(path);
  if (version) {
    const auto it = cache().find(path.native());
    if (it != cache().end() && !it->second.unread && it->second.watched == version &&
        it->second.trusted())
      return it->second.document();
  }
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    const int error = errno;
    cache().erase(path.string());
    if (error == ENOENT || error == ENOTDIR) return emptyDocument();
    return Unreadable{error};
  }
  if (!S_ISREG(st.st_mode)) return Unreadable{EISDIR};
  const auto it = cache().find(path.native());
  if (it != cache().end() && !it->second.unread && it->second.trusted() &&
      it->second.stamp == FileStamp::of(st)) {
    proved(path, it->second, version);
    return it->second.document();
  }
  LoadResult result = readAndParse(path);
  const auto read = cache().find(path.native());
  if (read != cache().end() && read->second.trusted()) {
    read->second.plain.reset();  // the name may lead somewhere else now
    proved(path, read->second, version);
  }
  return result;
}

}  // namespace

std::shared_ptr<const Document> loadForReading(const fs::path& path) {
  LoadResult result = load(path);
  if (auto* doc = std::get_if<std::shared_ptr<const Document>>(&result)) return *doc;
  return emptyDocument();
}

std::shared_ptr<const Document> loadForWriting(const fs::path& path) {
  LoadResult result = load(path);
  if (auto* doc = std::get_if<std::shared_ptr<const Document>>(&result)) return *doc;
  throw IniWriteError("cannot read " + path.string() + ": " +
                      std::strerror(std::get<Unreadable>(result).error));
}

void store(const fs::path& path, TextPieces text, FileEncoding encoding) {
  const NewText file{path, std::move(text), encoding};
  storeTogether(std::span(&file, 1));
}

void storeTogether(std::span<const NewText> files) {
  // A small text is joined, written and kept as the file's copy; a huge one is written from
  // its pieces and not kept.
  const auto whole = [](const NewText& file) {
    return file.text.size() < kWrittenFromPieces || file.encoding != FileEncoding::Cp1251;
  };
  std::vector<std::string> kept(files.size()), encoded(files.size());
  std::vector<TextPieces> written(files.size());
  std::vector<FileText> targets;
  for (std::size_t i = 0; i < files.size(); ++i) {
    const NewText& file = files[i];
    if (!whole(file)) {
      written[i] = file.text;
    } else if (kept[i] = file.text.joined(); file.encoding == FileEncoding::Cp1251) {
      written[i].add(kept[i]);
    } else {
      encoded[i] = fromCp1251(kept[i], file.encoding);
      written[i].add(encoded[i]);
    }
    targets.push_back({file.path, &written[i]});
  }
  std::vector<Replacement> replaced;
  try {
    replaced = replaceFiles(targets);
  } catch (...) {
    // Some of them may be new on disk already.
    for (const NewText& file : files) cache().erase(file.path.string());
    throw;
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    const bool keep = whole(files[i]);
    remember(replaced[i].path, CachedFile{replaced[i].stamp,
                                          replaced[i].takenAtNs,
                                          nullptr,
                                          keep ? std::move(kept[i]) : std::string(),
                                          files[i].encoding,
                                          !keep,
                                          {},
                                          {}});
    if (replaced[i].path != files[i].path) cache().erase(files[i].path.string());
  }
}

}  // namespace tarvik::ini
