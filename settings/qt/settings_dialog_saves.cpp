// The settings dialog's loads and saves: the two parts into the pages, the pages into the
// files, and the buttons and commands that save (ПРИМЕНИТЬ, ОК, ОТМЕНА, copy, reset).
#include "settings/qt/settings_dialog.h"

#include <QComboBox>
#include <QPushButton>
#include <algorithm>
#include <filesystem>

#include "config/keys.h"
#include "platform/qt/message_box.h"
#include "platform/qt/unattended.h"

namespace tarvik {

namespace {

const char* const kSaveFailedMessage =
    "Возникла ошибка при сохранении настроек программы и учётной записи.\n"
    "Убедитесь, что запись в файлы «TarvikC.Kfg» и «TarvikA.Kfg» разрешена.";
const char* const kResetQuestion =
    "Вы уверены, что хотите аннулировать настройки\nпрограммы и всех учётных записей?";
QString qs(const char* utf8) {
  return QString::fromUtf8(utf8);
}

}  // namespace

void Tsettings::loadEntry(const QString& entry) {
  LoadingGuard guard(loading_);
  entryValues_ = loadEntrySettings({IniFile(files_.config()), IniFile(files_.accounts())},
                                   entry.toStdString(), log_);
  showSharedBalances(entryValues_);
  for (SettingsTab* p : pages_) p->load(entryValues_, SettingsTab::Part::Entry);
  setDirty(false);
}

void Tsettings::loadGlobal() {
  LoadingGuard guard(loading_);
  globalValues_ = loadGlobalSettings({IniFile(files_.config()), IniFile(files_.accounts())});
  showSharedBalances(globalValues_);
  for (SettingsTab* p : pages_) p->load(globalValues_, SettingsTab::Part::Global);
  skinChanged_ = false;
  setDirty(false);
}

SettingsValues Tsettings::controlValues() const {
  SettingsValues values = globalValues_;
  values.merge(entryValues_);
  for (const SettingsTab* p : pages_)
    if (p) p->save(values);
  return values;
}

bool Tsettings::save(const std::function<void(IniEdit&, IniEdit&)>& queue) {
  try {
    const IniFile configFile(files_.config());
    const IniFile accountsFile(files_.accounts());
    IniEdit config(configFile);
    IniEdit accounts(accountsFile);
    queue(config, accounts);
    config.commit();
    accounts.commit();
  } catch (const IniWriteError&) {
    reportSaveFailure();
    return false;
  }
  setDirty(false);
  return true;
}

void Tsettings::reportSaveFailure() {
  log_.append(" Failed saving settings.", true);
  if (loading_) return;
  std::error_code ec;
  if (std::filesystem::exists(files_.noGo(), ec)) return;
  message_box::inform(qs(kSaveFailedMessage));
}

void Tsettings::apply() {
  if (!dirty()) return;
  // Work a page keeps apart from the dirty flag (the tariff list) is offered for saving first.
  for (SettingsTab* p : pages_)
    if (p) p->settleUnsaved();
  const SettingsValues values = controlValues();
  const std::string entry = currentEntry().toStdString();
  // ОК also stores which entry was shown, in the same replacement of the file.
  const bool closing = closing_;
  const int entryIndex = o_entry_->currentIndex();
  save([&](IniEdit& config, IniEdit& accounts) {
    saveGlobalSettings(values, config, accounts);
    saveEntrySettings(values, entry, config, accounts);
    if (closing) writeKey(config, sections::global(), global_keys::kEntry, std::max(0, entryIndex));
  });
  host_.reloadGlobalParameters(skinChanged_);
  skinChanged_ = false;
}

void Tsettings::ok() {
  b_ok_->setEnabled(false);
  closing_ = true;
  setDirty(true);
  apply();
  cancel();
  closing_ = false;
  b_ok_->setEnabled(true);
}

void Tsettings::cancel() {
  if (isVisible()) {
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    if (!frame.isNull()) frameMargins_ = frame;
  }
  hide();
  // A real cancel, not the tail of ОК. (ОК's own state cannot tell: the skin choice disables
  // ОК while the user picks a file, and a cancel then must still undo the previews.)
  if (!closing_) {
    // Puts back what the previews changed: the files still hold the saved state.
    host_.reloadGlobalParameters(skinChanged_);
    skinChanged_ = false;
  }
  setDirty(false);
}

void Tsettings::copySettingsFrom(const QString& sourceEntry) {
  const QString target = currentEntry();
  const QString question =
      qs("Вы уверены, что хотите полностью (кроме тарифа и статистики)\nскопировать настройки из "
         "учётной записи «") +
      sourceEntry + qs("» в «") + target + qs("»?");
  if (message_box::askYesNo(question, false) != QMessageBox::Yes) return;
  loadEntry(sourceEntry);
  const SettingsValues values = controlValues();
  const std::string entry = target.toStdString();
  save([&](IniEdit& config, IniEdit& accounts) {
    saveEntrySettings(values, entry, config, accounts);
  });
}

bool Tsettings::saveShownEntry() {
  const SettingsValues values = controlValues();
  const std::string entry = currentEntry().toStdString();
  return save([&](IniEdit& config, IniEdit& accounts) {
    saveEntrySettings(values, entry, config, accounts);
  });
}

void Tsettings::resetAllSettings() {
  if (message_box::askYesNo(qs(kResetQuestion), true) != QMessageBox::Yes) return;
  log_.append(" Reset... (all settings data will be lost)", true);
  std::error_code ec;
  std::filesystem::remove(files_.config(), ec);  // not checked: the restart follows anyway
  host_.restart();
}

}  // namespace tarvik
