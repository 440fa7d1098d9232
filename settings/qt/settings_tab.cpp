#include "settings/qt/settings_tab.h"

#include "settings/qt/binder.h"

namespace tarvik {

SettingsTab::SettingsTab(PageId id, SettingsFrame& frame, const char* objectName)
    : frame_(frame), id_(id) {
  setObjectName(objectName);
}

void SettingsTab::load(const SettingsValues& values) {
  binder::fill(this, pageKeys(id_), values);
  loaded(values);
}

void SettingsTab::save(SettingsValues& values) const {
  binder::read(this, pageKeys(id_), values);
  saving(values);
}

void SettingsTab::bindControls() {
  binder::applyRanges(this, pageKeys(id_));
  binder::watch(this, pageKeys(id_), [this] { emit changed(); });
}

}  // namespace tarvik
