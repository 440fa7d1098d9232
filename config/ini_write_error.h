#pragma once

#include <stdexcept>

namespace tarvik {

// A write that did not reach the disk (read-only file or folder, full disk, missing folder,
// a path that is not a regular file). The file on disk is left as it was before the write.
// Also thrown, before anything is written, for a section name, key or value holding a line
// break (it would split the line), a key that is empty, holds "=", or starts with ";" or "[".
class IniWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace tarvik
