// The INI layer: any bytes parse, every lookup answers, and a value set is the value read back.
#include <cstdint>
#include <string>

#include "config/ini_file.h"
#include "config/ini_parse.h"
#include "config/ini_write_error.h"
#include "tests/fuzz/fuzz_input.h"

using namespace tarvik;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const IniDocument doc(bytes);
  const auto sections = doc.sectionNames();
  for (std::size_t i = 0; i < sections.size() && i < 16; ++i) {
    for (const std::string& key : doc.keyNames(sections[i])) {
      // A byte code page 1251 leaves unassigned (0x98) has no character to name it by.
      const bool nameable = (sections[i] + key).find("\xEF\xBF\xBD") == std::string::npos;
      if (nameable && !doc.hasKey(sections[i], key)) fuzz::finding("listed key not found: " + key);
      doc.readString(sections[i], key);
      doc.readInt(sections[i], key, 0);
    }
  }
  // An edit of the text keeps every other section's values and reads back as written.
  const ini::Document parsed = ini::parse(bytes);
  const std::string section = sections.empty() ? "s" : sections.front();
  try {
    const auto edited = ini::setValue(parsed, section, "FuzzKey", "value 1");
    if (edited) {
      const IniDocument after(*edited);
      if (after.readString(section, "FuzzKey") != "value 1")
        fuzz::finding("value set is not read back in [" + section + "]");
      for (std::size_t i = 1; i < sections.size() && i < 16; ++i) {
        for (const std::string& key : doc.keyNames(sections[i])) {
          if (ini::lookupKey(sections[i]) == ini::lookupKey(section)) continue;
          if (after.readString(sections[i], key) != doc.readString(sections[i], key))
            fuzz::finding("edit changed [" + sections[i] + "] " + key);
        }
      }
    }
  } catch (const IniWriteError&) {
    // A section name that cannot be written back is refused, which is what it should do.
  }
  return 0;
}
