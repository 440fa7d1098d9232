#include "config/codepage.h"
#include "config/ini_file.h"
#include "config/ini_parse.h"

namespace tarvik {

IniDocument::IniDocument(std::string_view cp1251Bytes)
    : doc_(std::make_shared<const ini::Document>(ini::parse(std::string(cp1251Bytes)))) {}

IniDocument IniDocument::fromUtf8(std::string_view text) {
  return IniDocument(utf8ToCp1251(text));
}

std::string IniDocument::readString(std::string_view section, std::string_view key,
                                    std::string_view def) const {
  auto text = ini::value(*doc_, section, key);
  return text ? std::move(*text) : std::string(def);
}

int IniDocument::readInt(std::string_view section, std::string_view key, int def) const {
  const auto text = ini::value(*doc_, section, key);
  return text ? parseProfileInt(*text, def) : def;
}

bool IniDocument::hasKey(std::string_view section, std::string_view key) const {
  return ini::findKey(*doc_, section, key).has_value();
}

bool IniDocument::hasSection(std::string_view section) const {
  return ini::hasSection(*doc_, section);
}

std::vector<std::string> IniDocument::sectionNames() const {
  return ini::sectionNames(*doc_);
}

std::vector<std::string> IniDocument::keyNames(std::string_view section) const {
  return ini::keyNames(*doc_, section);
}

}  // namespace tarvik
