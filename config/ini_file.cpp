#include "config/ini_file.h"

#include <sys/stat.h>

#include "config/ini_cache.h"
#include "config/ini_parse.h"

namespace tarvik {

IniFile::IniFile(std::filesystem::path path) : path_(std::move(path)) {}

bool IniFile::exists() const {
  struct stat st {};
  return ::stat(path_.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view def) const {
  auto text = ini::value(*ini::loadForReading(path_), section, key);
  return text ? std::move(*text) : std::string(def);
}

int IniFile::readInt(std::string_view section, std::string_view key, int def) const {
  const auto text = ini::value(*ini::loadForReading(path_), section, key);
  return text ? parseProfileInt(*text, def) : def;
}

bool IniFile::hasKey(std::string_view section, std::string_view key) const {
  return ini::findKey(*ini::loadForReading(path_), section, key).has_value();
}

bool IniFile::hasSection(std::string_view section) const {
  return ini::hasSection(*ini::loadForReading(path_), section);
}

std::vector<std::string> IniFile::sectionNames() const {
  return ini::sectionNames(*ini::loadForReading(path_));
}

std::vector<std::string> IniFile::keyNames(std::string_view section) const {
  return ini::keyNames(*ini::loadForReading(path_), section);
}

IniDocument IniFile::snapshot() const {
  return IniDocument(ini::loadForReading(path_));
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
  ini::checkWritable(section, key, value);
  const auto doc = ini::loadForWriting(path_);
  if (const auto splice = ini::setValueSplice(*doc, section, key, value)) {
    ini::store(path_, ini::piecesOf(*doc, *splice), doc->encoding);
  }
}

void IniFile::writeInt(std::string_view section, std::string_view key, int value) {
  writeString(section, key, std::to_string(value));
}

void IniFile::deleteKey(std::string_view section, std::string_view key) {
  const auto doc = ini::loadForWriting(path_);
  if (const auto splice = ini::removeKeySplice(*doc, section, key)) {
    ini::store(path_, ini::piecesOf(*doc, *splice), doc->encoding);
  }
}

void IniFile::deleteSection(std::string_view section) {
  const auto doc = ini::loadForWriting(path_);
  if (const auto splice = ini::removeSectionSplice(*doc, section)) {
    ini::store(path_, ini::piecesOf(*doc, *splice), doc->encoding);
  }
}

}  // namespace tarvik
