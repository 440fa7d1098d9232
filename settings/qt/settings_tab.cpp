#include "settings/qt/settings_tab.h"

#include <exception>

#include "platform/event_log.h"
#include "settings/qt/binder.h"

namespace tarvik {

SettingsTab::SettingsTab(PageId id, SettingsFrame& frame, const char* objectName)
    : frame_(frame), id_(id) {
  setObjectName(objectName);
}

void SettingsTab::load(const SettingsValues& values, Part part) {
  // The dialog runs in the program's own thread: a page that cannot show what the files hold
  // is logged and left as it is, never allowed to end the program and its metering.
  try {
    binder::fill(this, pageKeys(id_), values);
    if (part == Part::Global)
      loadedGlobal(values);
    else
      loadedEntry(values);
  } catch (const std::exception& e) {
    frame_.log().append(
        " Failed loading settings page «" + objectName().toStdString() + "».\n " + e.what(), true);
  }
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
