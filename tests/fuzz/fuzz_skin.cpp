// The skin format: any skin.qsf reads as a header, a layout of each mode and a verdict.
#include <cstdint>
#include <string>

#include "config/ini_file.h"
#include "status/skin_format.h"
#include "tests/fuzz/fuzz_input.h"

using namespace tarvik;

namespace {

class DocumentSkinKeys final : public SkinKeys {
 public:
  explicit DocumentSkinKeys(std::string_view bytes) : doc_(bytes) {}
  int readInt(std::string_view section, std::string_view key, int def) const override {
    return doc_.readInt(section, key, def);
  }
  std::string readString(std::string_view section, std::string_view key,
                         std::string_view def) const override {
    return doc_.readString(section, key, def);
  }

 private:
  IniDocument doc_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const DocumentSkinKeys keys(std::string_view(reinterpret_cast<const char*>(data), size));
  readSkinHeader(keys);
  readSkinLayout(keys, SkinMode::Compact);
  readSkinLayout(keys, SkinMode::Full);
  checkSkinValidity(keys);
  return 0;
}
