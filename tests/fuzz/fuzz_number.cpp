// Number texts: any text parses or is refused, and every double written reads back.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "config/ini_file.h"
#include "config/number_text.h"
#include "tests/fuzz/fuzz_input.h"

using namespace tarvik;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (const auto value = parseDecimal(text); value && !std::isfinite(*value))
    fuzz::finding("a text read as a number that is not finite");
  parseProfileInt(text, 0);
  cutToSix(text);
  if (size >= sizeof(double)) {
    double value = 0;
    std::memcpy(&value, data, sizeof value);
    if (std::isfinite(value)) {
      for (const char separator : {',', '.'}) {
        const std::string written = formatGeneral(value, NumberFormat{separator});
        const auto back = parseDecimal(written);
        if (!back) fuzz::finding("written value does not read back: " + written);
        // 15 significant digits are kept.
        if (std::abs(*back - value) > std::abs(value) * 1e-14)
          fuzz::finding("written value reads back as another: " + written);
      }
    }
  }
  return 0;
}
