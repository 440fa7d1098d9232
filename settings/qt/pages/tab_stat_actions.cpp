// The statistics page's report, clearing, undo and the hidden weekend option.
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <filesystem>

#include "config/ini_file.h"
#include "platform/qt/file_dialog.h"
#include "platform/qt/message_box.h"
#include "settings/qt/pages/stat_graph.h"
#include "settings/qt/pages/tab_stat.h"
#include "stats/statistics.h"
#include "stats/statistics_report.h"

namespace tarvik {

namespace {

// The file a printed report goes through, in the program's directory.
constexpr const char* kPrintFile = "Tarvik.TxT";

const char* const kReportFailed =
    "Произошла ошибка при сохранении статистики в файл.\n"
    "Отсчёт по статистике был скопирован в буфер обмена.";
const char* const kSaveFailed = "Произошла ошибка при попытке сохранить статистику в файл.";
const char* const kSaveTitle = "Укажите файл для сохранения статистики...";
const char* const kSaveFilter = "Текстовые файлы (*.txt);;Все файлы (*)";
const char* const kPrintQuestion = "Вы уверены, что хотите распечатать статистику?";
const char* const kPrintFailed =
    "Произошла ошибка при попытке распечатать статистику.\n"
    "Сохраните её в файл и распечатайте самостоятельно.";
const char* const kClearFailed = "Произошла ошибка при попытке очистить статистику.";
const char* const kUndoQuestion =
    "Вычитая предыдущее соединение, вернутся данные только этой учётной записи\n"
    "(счета объединённых в группы учётных записей останутся без изменения)\n"
    "Вы уверены, что хотите вычесть предыдущее соединение?";
const char* const kUndoNotToday =
    "Внимание! Обнаружено, что предыдущее соединение было произведено НЕ сегодня.\n"
    "Это может привести к появлению отрицательных, нулевых либо некорректных значений.\n"
    "Вы уверены, что хотите продолжить?";

QString qs(const char* utf8) {
  return QString::fromUtf8(utf8);
}

QString qs(const std::string& utf8) {
  return QString::fromStdString(utf8);
}

// The locale's short name of a weekday (0 = Sunday).
std::string shortDayName(int weekday) {
  return QLocale::system().dayName(weekday == 0 ? 7 : weekday, QLocale::ShortFormat).toStdString();
}

}  // namespace

bool TabStat::makeReport(const std::filesystem::path& file) {
  const LocalTime now = frame_.host().now();
  const ReportHeader header{now, shortDayName(now.weekday), entry(), currency_.sign,
                            e_acc_->text().toStdString()};
  const std::vector<std::string> lines = reportLines(header, shownSheet());
  o_stat_->clear();
  for (const std::string& line : lines) o_stat_->appendPlainText(qs(line));
  if (writeReport(file, lines)) return true;
  QGuiApplication::clipboard()->setText(qs(reportText(lines)));
  frame_.log().append(" Failed saving statistics to file.", true);
  message_box::inform(qs(kReportFailed));
  return false;
}

void TabStat::saveReport() {
  const QString suggested =
      QDir(qs(frame_.files().dir.string())).filePath(qs(reportFileName(frame_.host().now())));
  QString file = file_dialog::saveFileName(this, qs(kSaveTitle), suggested, qs(kSaveFilter));
  if (file.isEmpty()) return;
  if (QFileInfo(file).suffix().isEmpty()) file += ".txt";
  if (!makeReport(file.toStdString())) message_box::inform(qs(kSaveFailed));
}

void TabStat::printReport() {
  if (message_box::askYesNo(qs(kPrintQuestion), false) != QMessageBox::Yes) return;
  const std::filesystem::path file = frame_.files().dir / kPrintFile;
  if (!makeReport(file)) return;
  const ShellResult printed = frame_.host().print(file);
  if (printed.ok()) {
    frame_.log().append(" Printing statistics...", true);
    return;
  }
  frame_.log().append(" Failed printing statistics. Error code " + std::to_string(printed.code),
                      true);
  message_box::inform(qs(kPrintFailed));
  std::error_code ec;
  std::filesystem::remove(file, ec);
}

void TabStat::clearStatistics() {
  const QString question = qs("Вы уверены, что хотите очистить статистику учётной записи «") +
                           frame_.currentEntry() + qs("»?");
  if (message_box::askYesNo(question, true) != QMessageBox::Yes) return;
  try {
    statistics().clear(entry());
  } catch (const IniWriteError&) {
    frame_.log().append(" Failed to clear statistics.", true);
    message_box::inform(qs(kClearFailed));
    return;
  }
  showStatistics();
}

void TabStat::undoLastConnection() {
  if (message_box::askYesNo(qs(kUndoQuestion), true) != QMessageBox::Yes) return;
  const std::string name = entry();
  const IniFile statsFile(frame_.files().statistics());
  if (statsFile.readInt(sections::statistics(name).name(), stats_keys::kUndoX.name, 0) != 0) {
    frame_.log().append(" Undo last connection of «" + name + "» entry may cause mistakes.", true);
    if (message_box::askYesNo(qs(kUndoNotToday), true) != QMessageBox::Yes) {
      frame_.log().append(" User aborts undo function.");
      return;
    }
    frame_.log().append(" User permits undo function.");
  }
  bool negatives = false;
  try {
    negatives = statistics().undoLastConnection(name);
  } catch (const IniWriteError& error) {
    // The write that failed ends the undo; the user learns why, and the program goes on.
    message_box::inform(qs(error.what()));
    return;
  }
  frame_.log().append(" Undo last connection of «" + name + "» entry complete.", true);
  if (negatives)
    frame_.log().append(" Negative values were found. Fixed (changed to zero ones).", true);
  showStatistics();
  showGraph();
}

void TabStat::switchWeekendColours() {
  try {
    IniFile config(frame_.files().config());
    const int current =
        static_cast<int>(readKey(config, sections::global(), global_keys::kWeekEnd));
    const int next = current + 1 >= global_keys::kWeekEnd.count() || current < 0 ? 0 : current + 1;
    writeKey(config, sections::global(), global_keys::kWeekEnd, static_cast<WeekendColours>(next));
  } catch (const IniWriteError&) {
    frame_.log().append(" Hidden option found!\n Failed saving settings.", true);
    return;
  }
  applyWeekendColours();
  frame_.log().append(" Hidden option found!\n WeekEnd days colors switched.", true);
}

void TabStat::applyWeekendColours() {
  const IniFile config(frame_.files().config());
  graph_->applyWeekendColours(
      static_cast<int>(readKey(config, sections::global(), global_keys::kWeekEnd)));
}

}  // namespace tarvik
