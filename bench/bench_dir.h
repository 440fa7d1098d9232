#pragma once

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "config/program_files.h"

namespace tarvik::bench {

// A fresh program folder under the temporary directory, removed when the benchmark ends.
class BenchDir {
 public:
  BenchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tarvik-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    files.dir = pattern;
  }
  ~BenchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(files.dir, ignored);
  }
  BenchDir(const BenchDir&) = delete;
  BenchDir& operator=(const BenchDir&) = delete;

  std::filesystem::path file(const std::string& name) const { return files.dir / name; }

  ProgramFiles files;
};

}  // namespace tarvik::bench
