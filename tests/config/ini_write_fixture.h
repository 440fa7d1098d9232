#pragma once

// A program folder with one INI file in it, for the tests of writing it.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <string>

#include "config/codepage.h"
#include "support/temp_dir.h"

namespace tarvik {

inline ino_t inodeOf(const std::filesystem::path& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

inline std::set<std::string> namesIn(const std::filesystem::path& dir) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    names.insert(entry.path().filename());
  return names;
}

class IniWrite : public ::testing::Test {
 protected:
  std::filesystem::path file() const { return dir_ / "TarvikC.Kfg"; }
  void given(const std::string& utf8) { test::writeBytes(file(), utf8ToCp1251(utf8)); }
  std::string contents() const { return cp1251ToUtf8(test::readBytes(file())); }

  test::TempDir dir_;
};

}  // namespace tarvik
