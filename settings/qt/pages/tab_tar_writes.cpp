#include <QDir>

#include "config/keys.h"
#include "platform/qt/file_dialog.h"
#include "platform/qt/message_box.h"
#include "settings/qt/file_kinds.h"
#include "settings/qt/pages/tab_tar.h"
#include "tariff/day_plan_store.h"
#include "tariff/period_text.h"

// The operations of the tariff page that write: a day, the whole week, the single-day file.
namespace tarvik {

namespace {

QString qs(const std::string& utf8) {
  return QString::fromStdString(utf8);
}

constexpr int kWeekdays = 7;
const char* const kDayFileFilter = "Конфигурационные файлы (*.ini *.cfg);;Все файлы (*)";

bool yes(const QString& question) {
  return message_box::askYesNo(question, false) == QMessageBox::Yes;
}

}  // namespace

bool TabTar::ensureOwnSettings() {
  // A tariff in a section without "Done" would never be looked up, so the entry gets its own
  // settings first.
  if (hasOwnSettings(IniFile(frame_.files().config()), entry())) return true;
  if (!yes(QStringLiteral("Персональные настройки для учётной записи «") + qs(entry()) +
           QStringLiteral("» ещё не были созданы.\nЭто недопустимо для использования тарифа. "
                          "Создать эти настройки сейчас?")))
    return false;
  return frame_.saveShownEntry();
}

bool TabTar::storePlans(const std::vector<std::pair<int, DayPlan>>& days) {
  try {
    const IniFile config(frame_.files().config());
    IniEdit edit(config);
    const auto section = sections::tariff(entry());
    for (const auto& [weekday, plan] : days) writeDayPlan(edit, section, weekday, plan);
    edit.commit();
  } catch (const IniWriteError&) {
    frame_.reportSaveFailure();
    return false;
  }
  return true;
}

void TabTar::saveDay() {
  if (!ensureOwnSettings()) return;
  if (storePlans({{selectedWeekday(), editor_.plan()}})) setUnsaved(false);
}

void TabTar::copyToAllDays() {
  if (!ensureOwnSettings()) return;
  if (!yes(QStringLiteral("Копировать текущий тарифный план во все дни недели?"))) return;
  std::vector<std::pair<int, DayPlan>> week;
  for (int d = 0; d < kWeekdays; ++d) week.emplace_back(d, editor_.plan());
  if (storePlans(week)) setUnsaved(false);
}

void TabTar::guestTariff() {
  if (!ensureOwnSettings()) return;
  if (!yes(QStringLiteral("Вы действительно хотите установить гостевой тариф\nна все дни "
                          "недели для учётной записи «") +
           qs(entry()) + QStringLiteral("»?")))
    return;
  loadIntoList({*parsePeriodText(kGuestPeriodText)});
  std::vector<std::pair<int, DayPlan>> week;
  for (int d = 0; d < kWeekdays; ++d) week.emplace_back(d, editor_.plan());
  // Unless it was stored, the list now differs from the file.
  setUnsaved(!storePlans(week));
}

void TabTar::asDefault() {
  if (!ensureOwnSettings()) return;
  if (!yes(QStringLiteral("Вы действительно хотите скопировать тариф\nиз учётной записи "
                          "«Default» в «") +
           qs(entry()) + QStringLiteral("»?")))
    return;
  std::vector<std::pair<int, DayPlan>> week;
  {
    const IniFile config(frame_.files().config());
    const auto defaults = tariffSection(config, kDefaultEntry);
    for (int d = 0; d < kWeekdays; ++d) {
      loadIntoList(readDayPlan(config, defaults, d));
      week.emplace_back(d, editor_.plan());
    }
  }
  storePlans(week);
  showDay();
}

void TabTar::exportDay() {
  const QString suggested = QDir(QString::fromStdString(frame_.files().dir.string()))
                                .filePath(qs(dayFileName(selectedWeekday())));
  const QString file = file_dialog::saveFileName(
      this, QStringLiteral("Укажите файл для экспортирования тарифа..."), suggested,
      QString::fromUtf8(kDayFileFilter), QStringLiteral("ini"));
  if (file.isEmpty()) return;
  try {
    writeDayFile(file.toStdString(), editor_.plan());
  } catch (const IniWriteError&) {
    frame_.reportSaveFailure();
    return;
  }
  message_box::inform(QStringLiteral("Тариф для одиночного дня был успешно экспортирован."));
}

void TabTar::importDay() {
  const QString file =
      pickFile(this, FileKind::TariffImport, QString::fromStdString(frame_.files().dir.string()));
  if (file.isEmpty()) return;
  loadIntoList(readDayFile(file.toStdString()));
  setUnsaved(true);
  message_box::inform(QStringLiteral(
      "Тариф для одиночного дня был успешно импортирован.\nНе забудьте сохранить его!"));
}

}  // namespace tarvik
