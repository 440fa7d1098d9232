#pragma once

#include <QString>
#include <QWidget>

#include "config/program_files.h"
#include "platform/event_log.h"
#include "settings/dialog_files.h"
#include "settings/page_keys.h"
#include "settings/settings_host.h"

namespace tarvik {

// What a page may ask of the dialog around it.
class SettingsFrame {
 public:
  virtual ~SettingsFrame() = default;
  // Controls are being filled from the files: handlers with effects outside the dialog do
  // nothing meanwhile.
  virtual bool loading() const = 0;
  // The entry shown in the entry selector ("Default" first).
  virtual QString currentEntry() const = 0;
  virtual void copySettingsFrom(const QString& sourceEntry) = 0;
  virtual void resetAllSettings() = 0;
  virtual void setSkinChanged() = 0;
  // Dialog save of one entry: the controls as the settings of the entry shown, which gives it
  // own settings ("Done"). False when the write failed; the failure is reported already.
  virtual bool saveShownEntry() = 0;
  // A failed write of the settings file: the log line and, outside loads, the message.
  virtual void reportSaveFailure() = 0;
  // The dirty flag (ПРИМЕНИТЬ enabled) and ОК, which the skin choice holds while the user
  // picks a file.
  virtual bool dirty() const = 0;
  virtual void setDirty(bool dirty) = 0;
  virtual void setOkEnabled(bool enabled) = 0;
  virtual SettingsHost& host() = 0;
  virtual const ProgramFiles& files() const = 0;
  virtual EventLog& log() = 0;
};

// One page of the dialog. A page builds its controls, names them, and lists its plain ones in
// the page key table; the binder fills and reads those. A page adds only the behaviour its
// controls have beyond that (enabling rules, checks, previews).
class SettingsTab : public QWidget {
  Q_OBJECT

 public:
  SettingsTab(PageId id, SettingsFrame& frame, const char* objectName);

  PageId id() const { return id_; }
  // The dialog's two loads.
  enum class Part { Global, Entry };
  // One of the dialog's loads: fills the controls whose keys `values` holds.
  void load(const SettingsValues& values, Part part);
  // Stores every control's value into `values`, for the dialog's saves.
  void save(SettingsValues& values) const;
  // At every show of the dialog, before the loads.
  virtual void prepareShow() {}
  // Before ОК or ПРИМЕНИТЬ saves: a page holding changes that the dirty flag does not cover
  // asks whether to save them.
  virtual void settleUnsaved() {}

 signals:
  // A control that maps to a key changed.
  void changed();

 protected:
  // Once the controls exist: their ranges from the key table and their change notices.
  void bindControls();
  // After the binder filled the controls of the global part or of the entry part.
  virtual void loadedGlobal(const SettingsValues&) {}
  virtual void loadedEntry(const SettingsValues&) {}
  virtual void saving(SettingsValues&) const {}

  SettingsFrame& frame_;

 private:
  PageId id_;
};

}  // namespace tarvik
