// The skin format: any skin.qsf reads as a header, a layout of each mode and a verdict.
#include <cstdint>
#include <string>

#include "config/ini_file.h"
#include "status/skin_format.h"
#include "tests/fuzz/fuzz_input.h"

using namespace tarvik;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const DocumentSkinKeys keys(
      IniDocument(std::string_view(reinterpret_cast<const char*>(data), size)));
  readSkinHeader(keys);
  readSkinLayout(keys, SkinMode::Compact);
  readSkinLayout(keys, SkinMode::Full);
  checkSkinValidity(keys);
  return 0;
}
