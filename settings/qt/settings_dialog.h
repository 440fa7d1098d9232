#pragma once

#include <QDialog>
#include <QMargins>
#include <array>
#include <functional>

#include "settings/dialog_fit.h"
#include "settings/qt/flag_guard.h"
#include "settings/qt/settings_tab.h"

class QComboBox;
class QPushButton;
class QScrollArea;
class QStackedWidget;

namespace tarvik {

class IniEdit;

// The settings dialog's frame: ten pages behind two columns of page buttons, the entry
// selector, and ОК / ПРИМЕНИТЬ / ОТМЕНА. Made once and only shown and hidden; its pages are
// built on the first show. The dirty flag is the enabled state of ПРИМЕНИТЬ.
class Tsettings : public QDialog, public SettingsFrame {
  Q_OBJECT

 public:
  Tsettings(ProgramFiles files, EventLog& log, SettingsHost& host, QWidget* parent = nullptr);
  ~Tsettings() override;

  // The tray menu: selects the page and shows the dialog (loading everything when it was
  // hidden), then brings it to the front.
  void showOnPage(PageId page);
  void selectPage(PageId page);
  PageId currentPage() const;
  // A drag of the status window ended while the dialog was shown: the position fields follow.
  void copyWindowPosition(int left, int top);

  void apply();   // ПРИМЕНИТЬ, Ctrl+S
  void ok();      // ОК: always saves both parts
  void cancel();  // ОТМЕНА, Esc
  void help();    // F1: the current page's help topic
  bool dirty() const override;
  void setDirty(bool dirty) override;
  void setOkEnabled(bool enabled) override;
  // A connection of `entry` was booked from an account of `accountKind`: while the dialog is
  // shown, the shared balances it shows are read afresh when a shared account paid, and the
  // statistics page shows the files afresh when it shows that entry.
  void connectionBooked(const QString& entry, int accountKind);
  // The remote-access service changed: while the dialog is shown its entry lists show the new
  // phonebook. The entry being edited stays selected while the phonebook still has it; else
  // the dialog goes to "Default" as a change of entry would, asking about unsaved changes.
  void phonebookChanged();

  // Esc and the window manager's close come here.
  void reject() override { cancel(); }
  void accept() override { ok(); }

  // SettingsFrame
  bool loading() const override { return loading_; }
  QString currentEntry() const override;
  void copySettingsFrom(const QString& sourceEntry) override;
  void resetAllSettings() override;
  void setSkinChanged() override { skinChanged_ = true; }
  bool saveShownEntry() override;
  void reportSaveFailure() override;
  bool skinChanged() const { return skinChanged_; }
  SettingsHost& host() override { return host_; }
  const ProgramFiles& files() const override { return files_; }
  EventLog& log() override { return log_; }

  SettingsTab* page(PageId id) const { return pages_[static_cast<int>(id)]; }

 protected:
  void hideEvent(QHideEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // Loads nest.
  using LoadingGuard = FlagGuard;

  void buildFrame();
  // Centres the dialog, frame included, on the free part of the screen before it is mapped.
  void placeOnWorkArea();
  void buildPages();
  void growToPages();
  void loadOnShow();
  // "Default" and the phonebook into the entry selector and the copy page's source list.
  void fillEntryLists();
  void entryChanged();
  void loadEntry(const QString& entry);
  void loadGlobal();
  // Reads the shared balances afresh into the fields that show them.
  void refreshSharedBalances();
  // The shared balances `values` holds, as a booking still waiting will leave them.
  void showSharedBalances(SettingsValues& values) const;
  // What the controls hold now, over the values last loaded for pages not showing a key.
  SettingsValues controlValues() const;
  // One edit per file, committed together; a failure is logged and, outside loads, shown.
  bool save(const std::function<void(IniEdit& config, IniEdit& accounts)>& queue);

  ProgramFiles files_;
  EventLog& log_;
  SettingsHost& host_;

  std::array<SettingsTab*, kPageCount> pages_{};
  std::array<QPushButton*, kPageCount> pageButtons_{};
  QScrollArea* scroll_ = nullptr;
  QStackedWidget* stack_ = nullptr;
  QComboBox* o_entry_ = nullptr;
  QPushButton* b_ok_ = nullptr;
  QPushButton* b_apply_ = nullptr;
  QPushButton* b_cancel_ = nullptr;

  DialogFit fit_;
  // What the window manager put round the dialog when it was last shown.
  QMargins frameMargins_;
  bool loading_ = false;
  bool skinChanged_ = false;
  bool closing_ = false;  // ОК is saving and hiding the dialog
  QString previousEntry_;
  SettingsValues globalValues_;
  SettingsValues entryValues_;
};

}  // namespace tarvik
