#include "config/keys.h"

#include <algorithm>

#include "config/entry_section.h"
#include "config/ini_file.h"

namespace tarvik {

namespace sections {

Section<Scope::Global> global() {
  return Section<Scope::Global>::fromSectionName(std::string(kGlobalSection));
}

Section<Scope::Skin> skin() {
  return Section<Scope::Skin>::fromSectionName(std::string(kSkinSection));
}

Section<Scope::Update> update() {
  return Section<Scope::Update>::fromSectionName(std::string(kUpdateSection));
}

Section<Scope::Entry> entry(std::string_view entryName) {
  return Section<Scope::Entry>::fromSectionName(sectionForEntry(entryName));
}

Section<Scope::Tariff> tariff(std::string_view entryName) {
  return Section<Scope::Tariff>::fromSectionName(sectionForEntry(entryName));
}

Section<Scope::Balance> sharedBalance() {
  return Section<Scope::Balance>::fromSectionName(std::string(kGlobalSection));
}

Section<Scope::Balance> balance(std::string_view entryName) {
  return Section<Scope::Balance>::fromSectionName(sectionForEntry(entryName));
}

Section<Scope::Statistics> sharedStatistics() {
  return Section<Scope::Statistics>::fromSectionName(std::string(kGlobalSection));
}

Section<Scope::Statistics> statistics(std::string_view entryName) {
  return Section<Scope::Statistics>::fromSectionName(sectionForEntry(entryName));
}

Section<Scope::Journal> journal() {
  return Section<Scope::Journal>::fromSectionName(std::string(kGlobalSection));
}

Section<Scope::Journal> keptBooking(std::string_view identity) {
  return Section<Scope::Journal>::fromSectionName(std::string(kKeptBookingPrefix) +
                                                  std::string(identity));
}

Section<Scope::SkinFile> skinHeader() {
  return Section<Scope::SkinFile>::fromSectionName("skin");
}

Section<Scope::SkinFile> skinInfo() {
  return Section<Scope::SkinFile>::fromSectionName("skin:info");
}

Section<Scope::SkinFile> skinMode(std::string_view mode) {
  return Section<Scope::SkinFile>::fromSectionName("skin:" + std::string(mode));
}

Section<Scope::SkinFile> skinPoints(std::string_view mode) {
  return Section<Scope::SkinFile>::fromSectionName(skinMode(mode).name() + ":points");
}

Section<Scope::SkinFile> skinObject(std::string_view mode, std::string_view object) {
  return Section<Scope::SkinFile>::fromSectionName(skinMode(mode).name() + ":" +
                                                   std::string(object));
}

Section<Scope::SkinFile> skinTemp() {
  return Section<Scope::SkinFile>::fromSectionName("skin:temp");
}

Section<Scope::SkinFile> skinImages() {
  return Section<Scope::SkinFile>::fromSectionName("skin:img");
}

}  // namespace sections

bool hasOwnSettings(const IniFile& config, std::string_view entryName) {
  return readKey(config, sections::entry(entryName), entry_keys::kDone) != 0;
}

std::string resolveSettingsEntry(std::string_view entry,
                                 std::span<const std::string> phonebookEntries,
                                 const IniFile& config) {
  const bool listed =
      std::find(phonebookEntries.begin(), phonebookEntries.end(), entry) != phonebookEntries.end();
  if (!listed || !hasOwnSettings(config, entry)) return std::string(kDefaultEntry);
  return std::string(entry);
}

}  // namespace tarvik
