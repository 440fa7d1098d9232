#pragma once

// Shared by the fuzzing harnesses: a program directory of their own for inputs that must be
// files, and the checks that end a run with a finding.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace tarvik::fuzz {

// A directory below the temporary folder, made once per process and reused by every input.
inline const std::filesystem::path& scratchDir() {
  static const std::filesystem::path dir = [] {
    std::filesystem::path d =
        std::filesystem::temp_directory_path() / ("tarvik-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(d);
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(scratchDir(), ec);
    });
    return d;
  }();
  return dir;
}

inline void writeFile(const std::filesystem::path& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The input split at its first NUL byte: one file's bytes and another's.
inline std::pair<std::string_view, std::string_view> splitInput(std::string_view input) {
  const auto cut = input.find('\0');
  if (cut == std::string_view::npos) return {input, {}};
  return {input.substr(0, cut), input.substr(cut + 1)};
}

// A finding: the message goes to the log of the run and the input is kept by the fuzzer.
[[noreturn]] inline void finding(const std::string& what) {
  std::fprintf(stderr, "finding: %s\n", what.c_str());
  std::abort();
}

// Whether `text` is well-formed UTF-8 (no stray, overlong or surrogate sequences).
inline bool validUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = lead < 0x80    ? 1
                         : lead >= 0xF0 ? 4
                         : lead >= 0xE0 ? 3
                         : lead >= 0xC2 ? 2
                                        : 0;
    if (length == 0 || lead > 0xF4 || i + length > text.size()) return false;
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      c = (c << 6) | (next & 0x3F);
    }
    if ((length == 3 && (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF))) ||
        (length == 4 && (c < 0x10000 || c > 0x10FFFF)))
      return false;
    i += length;
  }
  return true;
}

}  // namespace tarvik::fuzz
