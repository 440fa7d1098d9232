#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSpinBox>
#include <QtTest>
#include <filesystem>

#include "platform/qt/file_dialog.h"
#include "tests/settings/qt/dialog_fixture.h"

namespace tarvik {

using test::DialogFixture;

namespace {

// The dialog on the tariff page for the phonebook entry "Provider".
void openOnProvider(DialogFixture& f) {
  f.dialog->showOnPage(PageId::Tar);
  f.find<QComboBox>("o_entry")->setCurrentIndex(1);
}

QStringList listLines(const DialogFixture& f) {
  QStringList lines;
  const auto* list = f.find<QListWidget>("o_tar");
  for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
  return lines;
}

// Types a period into the fields: the hours and minutes through their arrows, the cost and
// the name as typed.
void typePeriod(const DialogFixture& f, int ah, int am, int zh, int zm, const char* cost,
                const char* name) {
  f.find<QSpinBox>("ud_a_h")->setValue(ah);
  f.find<QSpinBox>("ud_a_m")->setValue(am);
  f.find<QSpinBox>("ud_z_h")->setValue(zh);
  f.find<QSpinBox>("ud_z_m")->setValue(zm);
  auto* costField = f.find<QLineEdit>("e_tax");
  costField->clear();
  QTest::keyClicks(costField, cost);
  f.find<QLineEdit>("e_cap")->setText(QString::fromUtf8(name));
}

void clickLine(const DialogFixture& f, int row) {
  auto* list = f.find<QListWidget>("o_tar");
  list->setCurrentRow(row);
  const QRect place = list->visualItemRect(list->item(row));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, place.center());
}

// Every character as wide as the next, so that the columns line up.
bool fixedPitch(const QFont& font) {
  const QFontMetrics metrics(font);
  return metrics.horizontalAdvance("iiiii") == metrics.horizontalAdvance("WWWWW") &&
         metrics.horizontalAdvance("00:00") == metrics.horizontalAdvance("Гость");
}

void click(const DialogFixture& f, const char* button) {
  f.find<QPushButton>(button)->click();
}

std::string key(const DialogFixture& f, const char* section, const char* name) {
  return f.config().readString(section, name, "<none>");
}

const char* const kEqualHours =
    "Внимание! Час начала тарифного периода и час его окончания НЕ могут быть равными.\n"
    "P.S.: Вместо 12:00-12:59 следует вводить 12:00-13:00...";
const char* const kEndBeforeStart =
    "Внимание! Час начала тарифного периода должен быть меньше, чем час его окончания.";
const char* const kNothingSelected = "В списке тарифных периодов не выделен ни один пункт.";

}  // namespace

class TabTarTest : public QObject {
  Q_OBJECT

 private slots:
  // A period added and not saved, then ПРИМЕНИТЬ and ОК: each asks first. No keeps it in
  // the list and out of the file; Yes stores it for the weekday shown.
  void unsavedDayIsOfferedBeforeSaving() {
    DialogFixture f({"Provider"});
    openOnProvider(f);
    typePeriod(f, 0, 0, 24, 0, "120", "Day");
    click(f, "b_tar_add");
    f.find<QCheckBox>("o_trunc")->click();
    f.boxes.answerNext(QMessageBox::No);
    click(f, "b_apply");
    const QString question = "Настройки тарифа не были сохранены?\nСохранить их сейчас?";
    QCOMPARE(f.boxes.texts(), QStringList{question});
    QCOMPARE(key(f, "Provider", "Truncate"), "1");
    QCOMPARE(key(f, "Provider", "Tar1"), "<none>");
    QVERIFY(f.find<QPushButton>("b_day_save")->isEnabled());

    f.boxes.answerNext(QMessageBox::Yes);
    click(f, "b_ok");
    QCOMPARE(f.boxes.texts(), (QStringList{question, question}));
    QVERIFY(!f.dialog->isVisible());
    QCOMPARE(key(f, "Provider", "Tar1"), "2");  // the guest period of "Default" and the new one
    QCOMPARE(key(f, "Provider", "Tar1x1Cost"), "00120");
    QCOMPARE(key(f, "Provider", "Done"), "1");
  }

  // Load today's plan, find its gap with the tester, mend it, test again and save the day.
  void testMendAndSaveADay() {
    DialogFixture f({"Provider"});
    f.dir.writeConfig(
        "[Provider]\nDone=1\nTruncate=1\nTar1=1\nTar1x0AH=0\nTar1x0AM=0\nTar1x0ZH=23\n"
        "Tar1x0ZM=0\nTar1x0Cost=10\nTar1x0Name=Most\n");
    openOnProvider(f);
    // The virtual clock's today is a Monday.
    QCOMPARE(f.find<QComboBox>("o_week")->currentIndex(), 1);
    QCOMPARE(listLines(f), QStringList{"00:00 - 23:00 = 00010 Most"});
    QCOMPARE(f.find<QLineEdit>("e_z_h")->text(), QString("23"));
    QVERIFY(!f.find<QPushButton>("b_day_save")->isEnabled());
    QVERIFY(!f.find<QPushButton>("b_tar_save")->isEnabled());
    QVERIFY(f.find<QCheckBox>("o_trunc")->isChecked());
    QVERIFY(!f.find<QCheckBox>("o_credit")->isChecked());
    QVERIFY(fixedPitch(f.find<QListWidget>("o_tar")->font()));
    QVERIFY(fixedPitch(f.find<QPlainTextEdit>("o_test")->font()));

    f.boxes.answerNext(QMessageBox::Ok);
    click(f, "b_test");
    auto* out = f.find<QPlainTextEdit>("o_test");
    QStringList lines = out->toPlainText().split('\n');
    QCOMPARE(lines.size(), 1440);
    QCOMPARE(lines.first(), QString("00:00 = 10/ч (тариф #0 «Most»)"));
    QCOMPARE(lines.filter("#-1 ").size(), 60);
    QCOMPARE(lines.at(23 * 60), QString("23:00 = 0/ч (тариф #-1 «Error!»)"));
    QCOMPARE(lines.last(), QString("23:59 = 0/ч (тариф #-1 «Error!»)"));
    QCOMPARE(out->palette().color(QPalette::Text), QColor(128, 0, 0));
    QCOMPARE(f.find<QProgressBar>("p_test")->value(), 1440);
    QVERIFY(f.find<QPushButton>("b_test")->isEnabled());
    QCOMPARE(f.host.tunes, std::vector<int>{2});
    QCOMPARE(f.boxes.texts().last(), QString("Введённый тариф содержит ошибки.\nУбедитесь, что "
                                             "все 24 часа задействованы."));
    std::string log = f.logText();
    QVERIFY(log.find(":00\r\n Testing tariff...\r\n Failed. Tariff data errors found.\r\n") !=
            std::string::npos);

    // Selecting the line puts its columns into the fields.
    clickLine(f, 0);
    QCOMPARE(f.find<QLineEdit>("e_tax")->text(), QString("00010"));
    QCOMPARE(f.find<QLineEdit>("e_cap")->text(), QString("Most"));
    QVERIFY(f.find<QPushButton>("b_tar_save")->isEnabled());
    QVERIFY(!f.find<QPushButton>("b_day_save")->isEnabled());
    f.find<QSpinBox>("ud_z_h")->setValue(12);
    QCOMPARE(f.find<QLineEdit>("e_z_h")->text(), QString("12"));
    click(f, "b_tar_save");
    QVERIFY(f.find<QPushButton>("b_day_save")->isEnabled());
    // Letters in the cost fall back to 0; the typed name keeps its blanks.
    typePeriod(f, 12, 0, 24, 0, "1x", "Day ");
    QCOMPARE(f.find<QLineEdit>("e_tax")->text(), QString("0"));
    typePeriod(f, 12, 0, 24, 0, "100", "");
    // The name pasted with the line end copied along: no line of the file could hold it.
    QGuiApplication::clipboard()->setText("Day \r\n");
    f.find<QLineEdit>("e_cap")->paste();
    QCOMPARE(f.find<QLineEdit>("e_cap")->text(), QString("Day "));
    click(f, "b_tar_add");
    QCOMPARE(listLines(f),
             (QStringList{"00:00 - 12:00 = 00010 Most", "12:00 - 24:00 = 00100 Day "}));

    f.boxes.answerNext(QMessageBox::Ok);
    click(f, "b_test");
    lines = out->toPlainText().split('\n');
    QCOMPARE(lines.at(11 * 60 + 59), QString("11:59 = 10/ч (тариф #0 «Most»)"));
    QCOMPARE(lines.at(12 * 60), QString("12:00 = 100/ч (тариф #1 «Day »)"));
    QCOMPARE(lines.filter("#-1 ").size(), 0);
    QCOMPARE(out->palette().color(QPalette::Text), QColor(0, 128, 0));
    QCOMPARE(f.host.tunes, (std::vector<int>{2, 1}));
    QCOMPARE(f.boxes.texts().last(), QString("Введённый тариф НЕ содержит явных ошибок."));
    QVERIFY(f.logText().find(" Success. Tariff data has no errors.\r\n") != std::string::npos);

    // Nothing is stored until the day is saved; then the file holds the list's columns.
    QCOMPARE(key(f, "Provider", "Tar1"), std::string("1"));
    click(f, "b_day_save");
    QVERIFY(!f.find<QPushButton>("b_day_save")->isEnabled());
    QCOMPARE(key(f, "Provider", "Tar1"), std::string("2"));
    QCOMPARE(key(f, "Provider", "Tar1x0ZH"), std::string("12"));
    QCOMPARE(key(f, "Provider", "Tar1x1AH"), std::string("12"));
    QCOMPARE(key(f, "Provider", "Tar1x1Cost"), std::string("00100"));
    QCOMPARE(key(f, "Provider", "Tar1x1Name"), std::string("Day"));  // INI values lose end blanks
    QCOMPARE(key(f, "Provider", "Tar2"), std::string("<none>"));
    QCOMPARE(f.boxes.texts().size(), 2);

    // The two switches are ordinary settings of the entry.
    f.find<QCheckBox>("o_credit")->setChecked(true);
    QVERIFY(f.dialog->dirty());
    click(f, "b_apply");
    QCOMPARE(f.config().readInt("Provider", "Credit", 0), 1);
    QCOMPARE(f.config().readInt("Provider", "Truncate", 0), 1);
  }

  // Equal and reversed hours, the 24-period limit, and edits without a selected line.
  void periodChecks() {
    DialogFixture f({"Provider"});
    f.dir.writeConfig("[Provider]\nDone=1\nTar1=0\n");
    openOnProvider(f);
    QVERIFY(listLines(f).isEmpty());
    typePeriod(f, 5, 0, 5, 30, "5", "Five");
    f.boxes.answerNext(QMessageBox::Ok);
    click(f, "b_tar_add");
    typePeriod(f, 6, 0, 5, 0, "5", "Six");
    f.boxes.answerNext(QMessageBox::Ok);
    click(f, "b_tar_add");
    QCOMPARE(f.boxes.texts(), (QStringList{kEqualHours, kEndBeforeStart}));
    QVERIFY(listLines(f).isEmpty());
    QVERIFY(!f.find<QPushButton>("b_day_save")->isEnabled());

    for (int i = 0; i < 24; ++i) {
      typePeriod(f, i, 0, i + 1, 0, "5", "H");
      click(f, "b_tar_add");
    }
    QCOMPARE(listLines(f).size(), 24);
    typePeriod(f, 1, 0, 2, 0, "5", "More");
    f.boxes.answerNext(QMessageBox::Ok);
    click(f, "b_tar_add");
    QCOMPARE(f.boxes.texts().last(),
             QString("Допускается настройка максимум 24 тарифных периодов."));
    QCOMPARE(listLines(f).size(), 24);

    // Replace and Delete wait for a selected line.
    QVERIFY(!f.find<QPushButton>("b_tar_save")->isEnabled());
    clickLine(f, 22);
    QCOMPARE(f.find<QLineEdit>("e_a_h")->text(), QString("22"));
    QTest::keyClick(f.find<QListWidget>("o_tar"), Qt::Key_Down);
    QCOMPARE(f.find<QLineEdit>("e_a_h")->text(), QString("23"));
    QCOMPARE(f.find<QLineEdit>("e_z_h")->text(), QString("24"));
    typePeriod(f, 20, 30, 24, 0, "30000", "Late");
    click(f, "b_tar_save");
    QCOMPARE(listLines(f).size(), 24);
    QCOMPARE(listLines(f).last(), QString("20:30 - 24:00 = 30000 Late"));
    f.boxes.answerNext(QMessageBox::No);
    click(f, "b_tar_del");
    QCOMPARE(listLines(f).size(), 24);
    f.boxes.answerNext(QMessageBox::Yes);
    click(f, "b_tar_del");
    QCOMPARE(f.boxes.texts().last(),
             QString("Вы уверены, что хотите удалить выделенный тарифный период из списка?"));
    QCOMPARE(listLines(f).size(), 23);
    QVERIFY(!listLines(f).contains("20:30 - 24:00 = 30000 Late"));
    // The line is gone, so nothing is selected any more.
    f.boxes.answerNext(QMessageBox::Ok);
    click(f, "b_tar_del");
    QCOMPARE(f.boxes.texts().last(), QString(kNothingSelected));
    QCOMPARE(listLines(f).size(), 23);
  }

  // An entry without own settings: the page shows the plan of "Default", and no write
  // happens until the entry gets its own settings.
  void writesNeedOwnSettings() {
    DialogFixture f({"Provider"});
    f.dir.writeConfig("[Default]\nDone=1\nTar1=1\nTar1x0AH=0\nTar1x0ZH=24\nTar1x0Name=Base\n");
    openOnProvider(f);
    QCOMPARE(listLines(f), QStringList{"00:00 - 24:00 = 00000 Base"});
    typePeriod(f, 8, 0, 9, 0, "50", "Peak");
    click(f, "b_tar_add");
    const std::string before = test::ProgramDir::readText(f.dir.files().config());
    const QString question = QString(
        "Персональные настройки для учётной записи «Provider» ещё не были созданы.\nЭто "
        "недопустимо для использования тарифа. Создать эти настройки сейчас?");
    for (const char* button : {"b_day_save", "b_alldays", "b_asGuest", "b_asDefault"}) {
      f.boxes.answerNext(QMessageBox::No);
      click(f, button);
      QCOMPARE(f.boxes.texts().last(), question);
    }
    QCOMPARE(test::ProgramDir::readText(f.dir.files().config()), before);
    QVERIFY(f.find<QPushButton>("b_day_save")->isEnabled());

    // Yes creates the settings first, then stores the day under the entry's own name.
    f.boxes.answerNext(QMessageBox::Yes);
    click(f, "b_day_save");
    QCOMPARE(f.config().readInt("Provider", "Done", 0), 1);
    QCOMPARE(key(f, "Provider", "Tar1"), std::string("2"));
    QCOMPARE(key(f, "Provider", "Tar1x1Name"), std::string("Peak"));
    QCOMPARE(key(f, "Default", "Tar1"), std::string("1"));

    // Now the whole-week operations ask only their own question.
    f.boxes.answerNext(QMessageBox::Yes);
    click(f, "b_alldays");
    QCOMPARE(f.boxes.texts().last(),
             QString("Копировать текущий тарифный план во все дни недели?"));
    for (const char* day : {"Tar0", "Tar3", "Tar6"})
      QCOMPARE(key(f, "Provider", day), std::string("2"));
    f.boxes.answerNext(QMessageBox::Yes);
    click(f, "b_asGuest");
    QCOMPARE(f.boxes.texts().last(),
             QString("Вы действительно хотите установить гостевой "
                     "тариф\nна все дни недели для учётной записи «Provider»?"));
    QCOMPARE(listLines(f), QStringList{"00:00 - 24:00 = 00000 Guest"});
    QCOMPARE(key(f, "Provider", "Tar5"), std::string("1"));
    QCOMPARE(key(f, "Provider", "Tar5x0Name"), std::string("Guest"));
    f.boxes.answerNext(QMessageBox::Yes);
    click(f, "b_asDefault");
    QCOMPARE(f.boxes.texts().last(), QString("Вы действительно хотите скопировать тариф\nиз "
                                             "учётной записи «Default» в «Provider»?"));
    QCOMPARE(listLines(f), QStringList{"00:00 - 24:00 = 00000 Base"});
    QCOMPARE(key(f, "Provider", "Tar1x0Name"), std::string("Base"));
    QCOMPARE(key(f, "Provider", "Tar4x0Name"), std::string("Guest"));  // "Default" has no Tar4
    QVERIFY(!f.find<QPushButton>("b_day_save")->isEnabled());
    QCOMPARE(f.boxes.texts().size(), 8);
  }

  // Switching the weekday with unsaved changes saves them to the day shown before.
  void weekdaySwitchSavesTheOldDay() {
    DialogFixture f({"Provider"});
    f.dir.writeConfig("[Provider]\nDone=1\nTar3=1\nTar3x0AH=0\nTar3x0ZH=24\nTar3x0Name=Wed\n");
    openOnProvider(f);
    typePeriod(f, 1, 0, 2, 0, "5", "Mon");
    click(f, "b_tar_add");
    f.boxes.answerNext(QMessageBox::Yes);
    f.find<QComboBox>("o_week")->setCurrentIndex(3);
    QCOMPARE(f.boxes.texts(),
             QStringList{"Настройки тарифа не были сохранены?\nСохранить их сейчас?"});
    QCOMPARE(key(f, "Provider", "Tar1"), std::string("2"));
    QCOMPARE(key(f, "Provider", "Tar1x1Name"), std::string("Mon"));
    QCOMPARE(key(f, "Provider", "Tar3"), std::string("1"));
    QCOMPARE(listLines(f), QStringList{"00:00 - 24:00 = 00000 Wed"});
    QVERIFY(!f.find<QPushButton>("b_day_save")->isEnabled());
    // No changes, no question; a No drops the changes.
    f.find<QComboBox>("o_week")->setCurrentIndex(1);
    QCOMPARE(listLines(f).size(), 2);
    clickLine(f, 1);
    f.boxes.answerNext(QMessageBox::Yes);
    click(f, "b_tar_del");
    f.boxes.answerNext(QMessageBox::No);
    f.find<QComboBox>("o_week")->setCurrentIndex(0);
    QCOMPARE(f.boxes.texts().size(), 3);
    QCOMPARE(key(f, "Provider", "Tar1"), std::string("2"));
    QVERIFY(!f.find<QPushButton>("b_tar_del")->isEnabled());
  }

  // Export writes the day as Sunday of "Default"; import reads that back, or the guest
  // period from a file without "Default", and leaves it unsaved.
  void exportAndImportADay() {
    DialogFixture f({"Provider"});
    f.dir.writeConfig(
        "[Provider]\nDone=1\nTar3=2\nTar3x0AH=0\nTar3x0ZH=12\nTar3x0Cost=5\nTar3x0Name=A\n"
        "Tar3x1AH=12\nTar3x1ZH=24\nTar3x1Cost=7\nTar3x1Name=B\n");
    openOnProvider(f);
    f.find<QComboBox>("o_week")->setCurrentIndex(3);
    const std::filesystem::path day = f.dir.path() / "day.ini";
    test::ProgramDir::writeText(day, "[Default]\nKeep=1\nTar0x5Name=Old\n");
    file_dialog::takeOffers();
    file_dialog::setNextFileName(QString::fromStdString(day.string()));
    f.boxes.answerNext(QMessageBox::Ok);
    click(f, "b_tar_export");
    const QList<file_dialog::Offer> offers = file_dialog::takeOffers();
    QCOMPARE(offers.size(), 1);
    QVERIFY(offers[0].path.endsWith("/tariff_day3.ini"));
    QCOMPARE(offers[0].caption, QString("Укажите файл для экспортирования тарифа..."));
    QCOMPARE(offers[0].defaultSuffix, QString("ini"));
    QVERIFY(offers[0].filter.startsWith("Конфигурационные файлы"));
    QCOMPARE(f.boxes.texts().last(),
             QString("Тариф для одиночного дня был успешно экспортирован."));
    const IniFile exported(day);
    QCOMPARE(exported.readString("Default", "Tar0"), std::string("2"));
    QCOMPARE(exported.readString("Default", "Tar0x1AH"), std::string("12"));
    QCOMPARE(exported.readString("Default", "Tar0x1Cost"), std::string("00007"));
    QCOMPARE(exported.readString("Default", "Keep"), std::string("1"));
    QVERIFY(!exported.hasKey("Default", "Tar3"));

    // Importing onto Monday: the exported periods come back, unsaved.
    f.find<QComboBox>("o_week")->setCurrentIndex(1);
    file_dialog::setNextFileName(QString::fromStdString(day.string()));
    f.boxes.answerNext(QMessageBox::Ok);
    click(f, "b_tar_import");
    QCOMPARE(file_dialog::takeOffers().value(0).caption,
             QString("Укажите файл для импортирования тарифа..."));
    QCOMPARE(f.boxes.texts().last(), QString("Тариф для одиночного дня был успешно "
                                             "импортирован.\nНе забудьте сохранить его!"));
    QCOMPARE(listLines(f), (QStringList{"00:00 - 12:00 = 00005 A", "12:00 - 24:00 = 00007 B"}));
    QVERIFY(f.find<QPushButton>("b_day_save")->isEnabled());
    QCOMPARE(key(f, "Provider", "Tar1"), std::string("<none>"));

    const std::filesystem::path other = f.dir.path() / "other.ini";
    test::ProgramDir::writeText(other, "[Provider]\nTar0=3\n");
    file_dialog::setNextFileName(QString::fromStdString(other.string()));
    f.boxes.answerNext(QMessageBox::Ok);
    click(f, "b_tar_import");
    QCOMPARE(listLines(f), QStringList{"00:00 - 24:00 = 00000 Guest"});
    // A cancelled picker changes nothing.
    file_dialog::setNextFileName("");
    click(f, "b_tar_import");
    QCOMPARE(f.boxes.texts().size(), 3);
  }
};

}  // namespace tarvik

QTEST_MAIN(tarvik::TabTarTest)
#include "tab_tar_test.moc"
