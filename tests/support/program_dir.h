#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>

#include "config/codepage.h"
#include "config/program_files.h"
#include "support/temp_dir.h"

namespace tarvik::test {

// A temporary program directory (below $TARVIK_TEST_TMP or the system's temporary folder),
// removed with everything in it when the test ends. Texts are given and returned in UTF-8 and
// stored in code page 1251 with CR LF line ends, as the program keeps its files.
class ProgramDir {
 public:
  ProgramDir() { files_.dir = dir_.path(); }

  const ProgramFiles& files() const { return files_; }
  const std::filesystem::path& path() const { return files_.dir; }

  // Writes an INI text such as "[Olm:TK]\nMidnight=1\n" (line ends become CR LF).
  static void writeText(const std::filesystem::path& file, std::string_view utf8) {
    std::string crlf;
    for (char c : utf8) {
      if (c == '\n') crlf += '\r';
      crlf += c;
    }
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << utf8ToCp1251(crlf);
  }
  // The whole file in UTF-8 with its CR LF line ends kept; empty when missing.
  static std::string readText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return cp1251ToUtf8(std::string(std::istreambuf_iterator<char>(in), {}));
  }

  void writeConfig(std::string_view utf8) const { writeText(files_.config(), utf8); }
  void writeAccounts(std::string_view utf8) const { writeText(files_.accounts(), utf8); }
  void writeStatistics(std::string_view utf8) const { writeText(files_.statistics(), utf8); }

 private:
  TempDir dir_;
  ProgramFiles files_;
};

}  // namespace tarvik::test
