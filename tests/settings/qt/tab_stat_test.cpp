#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>
#include <filesystem>

#include "platform/qt/file_dialog.h"
#include "settings/qt/pages/tab_stat.h"
#include "stats/qt/dd_led_bar.h"
#include "tests/settings/qt/dialog_fixture.h"

namespace tarvik {

using test::DialogFixture;

namespace {

constexpr const char* kStatistics =
    "[Inet]\nTimeTC=3723\nTimeTD=3723\nTimeTW=7200\nTimeTM=7200\nTimeTT=443045\n"
    "MoneyTC=5\nMoneyTD=5\nMoneyTW=123456\nMoneyTM=0,81\nMoneyTT=123456,78\n"
    "CountTD=0\nCountTW=3\nCountTM=3\nCountTT=9\n"
    "Undo=1\nUndoX=1\nUndoWD=1\nUndoLos=5\nUndoTim=3723\n"
    "Gr1t=2700\nGr1c=7\nGr1f=1999\nGr3t=600\n"
    "RxTD=13002342\nTxTD=1153434\nGr1rx=31457280\nGr1tx=10485760\n";

bool contains(const std::string& text, const char* part) {
  return text.find(part) != std::string::npos;
}

}  // namespace

class TabStatTest : public QObject {
  Q_OBJECT

  // The dialog on the statistics page of "Inet": roubles, time axis with a 60-minute scale.
  static void open(DialogFixture& f) {
    f.dir.writeConfig(
        "[Inet]\nDone=1\nCurrencyIndex=1\nGraphX=0\nGraphMax=60\nGraph1=60\nGraph4=5\nGraph5=50\n"
        "MonthLimit=250\n");
    f.dir.writeStatistics(kStatistics);
    f.dir.writeAccounts("[Inet]\nAccount=12\n");
    f.dialog->showOnPage(PageId::Stat);
    f.find<QComboBox>("o_entry")->setCurrentIndex(1);
    message_box::takeAnsweredTexts();
  }
  static QString cell(DialogFixture& f, const char* name) { return f.find<QLabel>(name)->text(); }
  static int bar(DialogFixture& f, int weekday) {
    return f.find<TDDLedBar>(qPrintable(QString("graph_%1").arg(weekday)))->position();
  }

 private slots:
  // The grid and the graph of an entry, the axis buttons with their own maxima, and the
  // refresh after a booking of the entry shown.
  void gridGraphAndRefresh() {
    DialogFixture f({"Inet", "Other"});
    open(f);
    QCOMPARE(cell(f, "st_tim_tc"), QString("01:02:03"));
    QCOMPARE(cell(f, "st_tim_tt"), QString("123:04:05"));
    QCOMPARE(cell(f, "st_exp_tc"), QString("0,05"));
    QCOMPARE(cell(f, "st_exp_tw"), QString("1234,5"));
    QCOMPARE(cell(f, "st_num_tc"), QString("-"));
    QCOMPARE(cell(f, "st_num_pc"), QString("-"));
    QCOMPARE(cell(f, "st_num_tt"), QString("9"));
    QCOMPARE(cell(f, "st_vol_td"), QString("12,4 МБ\n1,1 МБ"));
    QCOMPARE(cell(f, "st_vol_tc"), QString("0 Б\n0 Б"));
    QCOMPARE(cell(f, "p_vol"), QString(" ↓  ПРИНЯТО\n ↑  ОТПРАВЛЕНО"));
    QCOMPARE(cell(f, "p_exp"), QString(" ФИНАНСОВЬIЕ  ЗАТРАТЬI  (p)"));
    QCOMPARE(cell(f, "s_acc"), QString(" СЧЕТ   >>>   p"));
    QCOMPARE(f.find<QLineEdit>("e_acc")->text(), QString("12"));
    QVERIFY(!f.find<QLineEdit>("e_acc")->isEnabled());
    QVERIFY(f.find<QPushButton>("b_undo")->isEnabled());

    // 45 minutes on the 60-minute scale; Monday is the first bar.
    QVERIFY(f.find<QRadioButton>("z_x_time")->isChecked());
    QCOMPARE(cell(f, "s_max"), QString("МИН."));
    QCOMPARE(bar(f, 1), 75);
    QCOMPARE(bar(f, 3), 16);
    QCOMPARE(bar(f, 0), 0);
    QCOMPARE(f.find<QRadioButton>("z_x_buck")->text(), QString("ось Y:  ДЕНЬГИ  p"));
    QVERIFY(!f.dialog->dirty());

    // The count axis brings its own maximum: 7 connections of 5 light the whole bar.
    f.find<QRadioButton>("z_x_ccnt")->click();
    QCOMPARE(f.find<QSpinBox>("e_max")->value(), 5);
    QCOMPARE(cell(f, "s_max"), QString("РАЗ"));
    QCOMPARE(bar(f, 1), 140);
    QVERIFY(f.dialog->dirty());
    f.find<QSpinBox>("e_max")->setValue(10);
    QCOMPARE(bar(f, 1), 70);
    f.find<QRadioButton>("z_x_cent")->click();
    QCOMPARE(f.find<QSpinBox>("e_max")->value(), 25);
    QCOMPARE(cell(f, "s_max"), QString("k"));
    QCOMPARE(bar(f, 1), 7996);
    f.find<QRadioButton>("z_x_ccnt")->click();
    QCOMPARE(f.find<QSpinBox>("e_max")->value(), 10);
    // The volume axis: Monday's 30 MB received and 10 MB sent of its 50 MB.
    f.find<QRadioButton>("z_x_vol")->click();
    QCOMPARE(f.find<QRadioButton>("z_x_vol")->text(), QString("ось Y:  ТРАФИК"));
    QCOMPARE(f.find<QSpinBox>("e_max")->value(), 50);
    QCOMPARE(cell(f, "s_max"), QString("МБ"));
    QCOMPARE(bar(f, 1), 80);
    f.find<QSpinBox>("e_max")->setValue(200);
    QCOMPARE(bar(f, 1), 20);
    f.find<QRadioButton>("z_x_ccnt")->click();
    QCOMPARE(f.find<QSpinBox>("e_max")->value(), 10);
    f.find<QRadioButton>("z_x_vol")->click();
    QCOMPARE(f.find<QSpinBox>("e_max")->value(), 200);
    f.find<QPushButton>("b_apply")->click();
    const IniFile config = f.config();
    QCOMPARE(config.readInt("Inet", "GraphX", -1), 4);
    QCOMPARE(config.readInt("Inet", "GraphMax", -1), 200);
    QCOMPARE(config.readInt("Inet", "Graph5", -1), 200);
    QCOMPARE(config.readInt("Inet", "Graph4", -1), 10);
    QCOMPARE(config.readInt("Inet", "Graph3", -1), 25);
    QCOMPARE(config.readInt("Inet", "Graph1", -1), 60);

    // A booking of the entry shown refreshes it; one of another entry does not, but when a
    // shared account paid, the shared balances shown are read afresh.
    f.dir.writeStatistics("[Inet]\nTimeTC=60\nGr1c=2\nRxTC=2048\n[Other]\nTimeTC=120\n");
    f.dir.writeAccounts("[Olm:TK]\nAccount=77,5\n[Inet]\nAccount=12\n");
    f.find<QRadioButton>("z_x_time")->click();
    QVERIFY(f.dialog->dirty());
    f.dialog->connectionBooked("Other", 0);
    QCOMPARE(cell(f, "st_tim_tc"), QString("01:02:03"));
    QCOMPARE(f.find<QLineEdit>("e_acc_one")->text(), QString("0"));
    f.dialog->connectionBooked("Other", 2);
    QCOMPARE(f.find<QLineEdit>("e_acc_one")->text(), QString("77,5"));
    QCOMPARE(cell(f, "st_tim_tc"), QString("01:02:03"));
    QVERIFY(f.dialog->dirty());
    f.find<QRadioButton>("z_x_ccnt")->click();
    f.dialog->connectionBooked("Inet", 0);
    QCOMPARE(cell(f, "st_tim_tc"), QString("00:01:00"));
    QCOMPARE(cell(f, "st_vol_tc"), QString("2,0 КБ\n0 Б"));
    QCOMPARE(bar(f, 1), 20);
    QVERIFY(!f.find<QPushButton>("b_undo")->isEnabled());  // "Undo" = 0

    // While bookings wait to be written, each balance shown is the one they will leave.
    struct Waiting : PendingBalances {
      std::optional<float> pendingBalance(const AccountKey& a) const override {
        if (a.section.name() == "Inet") return 11.5f;
        if (a.key.name.view() == "Account") return 70.25f;
        if (a.key.name.view() == "Account2") return -3.5f;
        return std::nullopt;
      }
    } waiting;
    f.host.pending = &waiting;
    f.dialog->connectionBooked("Inet", 2);
    QCOMPARE(f.find<QLineEdit>("e_acc_one")->text(), QString("70,25"));
    QCOMPARE(f.find<QLineEdit>("e_acc_2")->text(), QString("-3,5"));
    QCOMPARE(f.find<QLineEdit>("e_acc_1")->text(), QString("0"));
    QCOMPARE(f.find<QLineEdit>("e_acc")->text(), QString("11,5"));
    f.find<QPushButton>("b_acc")->click();
    f.find<QLineEdit>("e_acc")->setText("x");
    f.find<QPushButton>("b_acc_n")->click();
    QCOMPARE(f.find<QLineEdit>("e_acc")->text(), QString("11,5"));
    f.host.pending = nullptr;
  }

  // Save through the file picker, the failed save with the clipboard, and printing with and
  // without a print service.
  void reports() {
    DialogFixture f({"Inet"});
    open(f);
    const auto saved = f.dir.path() / "stat";
    file_dialog::setNextFileName(QString::fromStdString(saved.string()));
    f.find<QPushButton>("b_save")->click();
    const std::string report = test::ProgramDir::readText(saved.string() + ".txt");
    QVERIFY(contains(report, "Дата статистики: 08.12.2026, "));
    QVERIFY(contains(report,
                     "\r\nВремя создания: 09:05:07\r\nУчётная запись: Inet\r\n"
                     "Cостояние счёта: p 12\r\n"));
    QVERIFY(contains(report, "\r\nТекущий день      | 01:02:03 | 0,05   | 0\r\n"));
    QVERIFY(contains(report, "\r\nИтог              | 123:04:05 | 1234,5 | 9\r\n"));
    QCOMPARE(std::count(report.begin(), report.end(), '\n'), 17);
    QVERIFY(f.boxes.texts().isEmpty());

    // A file that cannot be written: the report goes to the clipboard, both messages show.
    file_dialog::setNextFileName(QString::fromStdString((f.dir.path() / "none/x.txt").string()));
    f.boxes.answerNext(QMessageBox::Ok);
    f.boxes.answerNext(QMessageBox::Ok);
    f.find<QPushButton>("b_save")->click();
    QCOMPARE(f.boxes.texts(),
             QStringList({"Произошла ошибка при сохранении статистики в файл.\nОтсчёт по "
                          "статистике был скопирован в буфер обмена.",
                          "Произошла ошибка при попытке сохранить статистику в файл."}));
    const QString clip = QGuiApplication::clipboard()->text();
    QVERIFY(clip.contains("Итог              | 123:04:05 | 1234,5 | 9"));
    QCOMPARE(clip.count('\n'), 17);
    QVERIFY(contains(f.logText(), " Failed saving statistics to file."));

    // No print service: the error number, the message, and the file gone.
    const auto printFile = f.dir.path() / "Tarvik.TxT";
    f.host.printResult = {ShellStatus::Failed, 127};
    f.boxes.answerNext(QMessageBox::Yes);
    f.boxes.answerNext(QMessageBox::Ok);
    f.find<QPushButton>("b_print")->click();
    QCOMPARE(f.boxes.texts().mid(2),
             QStringList({"Вы уверены, что хотите распечатать статистику?",
                          "Произошла ошибка при попытке распечатать статистику.\nСохраните её в "
                          "файл и распечатайте самостоятельно."}));
    QVERIFY(contains(f.logText(), " Failed printing statistics. Error code 127"));
    QCOMPARE(f.host.printed, std::vector<std::filesystem::path>{printFile});
    QVERIFY(!std::filesystem::exists(printFile));

    f.host.printResult = {ShellStatus::Done, 0};
    f.boxes.answerNext(QMessageBox::Yes);
    f.find<QPushButton>("b_print")->click();
    QVERIFY(contains(f.logText(), " Printing statistics..."));
    QVERIFY(contains(test::ProgramDir::readText(printFile), "Учётная запись: Inet"));
    f.boxes.answerNext(QMessageBox::No);
    f.find<QPushButton>("b_print")->click();
    QCOMPARE(f.host.printed.size(), 2u);
  }

  // Undo with the "not today" question, negatives fixed; Clear keeps the graph; both
  // questions default to No.
  void undoAndClear() {
    DialogFixture f({"Inet"});
    open(f);
    // Unattended, a question takes its default button: No leaves everything as it was.
    qputenv("TARVIK_TEST_DISMISS_MS", "1");
    f.find<QPushButton>("b_undo")->click();
    f.find<QPushButton>("b_clear")->click();
    qunsetenv("TARVIK_TEST_DISMISS_MS");
    QCOMPARE(cell(f, "st_tim_tc"), QString("01:02:03"));
    QVERIFY(f.find<QPushButton>("b_undo")->isEnabled());

    f.boxes.answerNext(QMessageBox::Yes);
    f.boxes.answerNext(QMessageBox::No);
    f.find<QPushButton>("b_undo")->click();
    QCOMPARE(f.boxes.texts().value(1).left(30), QString("Внимание! Обнаружено, что пред"));
    QVERIFY(contains(f.logText(),
                     " Undo last connection of «Inet» entry may cause mistakes.\r\n"
                     " User aborts undo function."));
    QCOMPARE(cell(f, "st_tim_tc"), QString("01:02:03"));

    f.boxes.answerNext(QMessageBox::Yes);
    f.boxes.answerNext(QMessageBox::Yes);
    f.find<QPushButton>("b_undo")->click();
    QVERIFY(contains(f.logText(), " User permits undo function."));
    QVERIFY(contains(f.logText(), " Undo last connection of «Inet» entry complete."));
    QVERIFY(contains(f.logText(), " Negative values were found. Fixed (changed to zero ones)."));
    QCOMPARE(cell(f, "st_tim_td"), QString("00:00:00"));
    QCOMPARE(cell(f, "st_num_tw"), QString("2"));
    QCOMPARE(f.find<QLineEdit>("e_acc")->text(), QString("12,05"));
    QCOMPARE(bar(f, 1), -28);  // 2700 - 3723 seconds: the weekly record has no floor
    QVERIFY(!f.find<QPushButton>("b_undo")->isEnabled());

    f.boxes.answerNext(QMessageBox::Yes);
    f.find<QPushButton>("b_clear")->click();
    QCOMPARE(f.boxes.texts().last(),
             QString("Вы уверены, что хотите очистить статистику учётной записи «Inet»?"));
    QCOMPARE(cell(f, "st_tim_tt"), QString("00:00:00"));
    QCOMPARE(cell(f, "st_exp_tt"), QString("0"));
    QCOMPARE(bar(f, 1), -28);
    QCOMPARE(IniFile(f.dir.files().statistics()).readString("Inet", "Gr3t"), "600");

    // A statistics file that cannot be written: the line and the message.
    f.dir.writeStatistics(kStatistics);
    std::filesystem::permissions(f.dir.files().statistics(), std::filesystem::perms::owner_read);
    f.boxes.answerNext(QMessageBox::Yes);
    f.boxes.answerNext(QMessageBox::Ok);
    f.find<QPushButton>("b_clear")->click();
    QCOMPARE(f.boxes.texts().last(), QString("Произошла ошибка при попытке очистить статистику."));
    QVERIFY(contains(f.logText(), " Failed to clear statistics."));
  }

  // The balance field: open, colours, a refused letter, Enter to store; and the hidden
  // weekend colours.
  // An entry with a data limit shows the share its span's counters hold, unsqueezed; one
  // without shows nothing.
  void dataLimitShare() {
    DialogFixture f({"Inet", "Other"});
    open(f);
    QVERIFY(!f.find<QLabel>("p_limit")->isVisible());
    f.dir.writeConfig("[Inet]\nDone=1\nLimitUse=1\nLimitSize=20\nLimitUnit=0\nLimitSpan=0\n");
    f.dialog->connectionBooked("Inet", 0);  // the page reads the files afresh
    QVERIFY(f.find<QLabel>("p_limit")->isVisible());
    // 12,4 MB received and 1,1 MB sent today: 13,5 MB.
    QCOMPARE(cell(f, "p_limit"),
             QString("ТРАФИК  В  ДЕНЬ:  13,5 МБ  ИЗ  20 МБ  (67 %)  ДО  08.12"));
    const QStringList squeezed = test::squeezedControls(*f.dialog);
    QVERIFY2(squeezed.isEmpty(), qPrintable(squeezed.join(' ')));
  }

  void balanceAndWeekend() {
    DialogFixture f({"Inet"});
    open(f);
    auto* e_acc = f.find<QLineEdit>("e_acc");
    const auto colour = [&] {
      return f.find<QLabel>("p_acc_ind")->palette().color(QPalette::Window);
    };
    QCOMPARE(colour(), QColor(Qt::green));
    f.find<QPushButton>("b_acc")->click();
    QVERIFY(e_acc->isEnabled());
    QCOMPARE(e_acc->width(), 102);
    QVERIFY(f.find<QPushButton>("b_acc")->isHidden());
    e_acc->selectAll();
    QTest::keyClicks(e_acc, "0,5");
    QCOMPARE(colour(), QColor(Qt::yellow));
    QTest::keyClicks(e_acc, "x");
    QCOMPARE(f.host.balloons.size(), 1u);
    QCOMPARE(f.host.balloons[0].title, "Ошибка состояния счёта!");
    QCOMPARE(e_acc->text(), QString("12"));
    QVERIFY(e_acc->isEnabled());
    // A lone minus is no number yet: the sign goes in front of the digit.
    e_acc->selectAll();
    QTest::keyClicks(e_acc, "3");
    QTest::keyClick(e_acc, Qt::Key_Home);
    QTest::keyClicks(e_acc, "-");
    QCOMPARE(colour(), QColor(Qt::red));
    QTest::keyClick(e_acc, Qt::Key_Return);
    QVERIFY(!e_acc->isEnabled());
    QCOMPARE(e_acc->width(), 52);
    QCOMPARE(IniFile(f.dir.files().accounts()).readString("Inet", "Account"), "-3");
    f.find<QPushButton>("b_acc")->click();
    QTest::keyClicks(e_acc, "7");
    f.find<QPushButton>("b_acc_n")->click();
    QCOMPARE(e_acc->text(), QString("-3"));
    QVERIFY(!f.dialog->dirty());

    auto* saturday = f.find<QLabel>("day_6");
    auto* sunday = f.find<QLabel>("day_0");
    QCOMPARE(saturday->palette().color(QPalette::WindowText), QColor(Qt::red));
    QTest::mouseDClick(saturday, Qt::LeftButton);
    QCOMPARE(f.config().readInt("Olm:TK", "WeekEnd", -1), 1);
    QCOMPARE(saturday->palette().color(QPalette::WindowText), QColor(Qt::blue));
    QCOMPARE(sunday->palette().color(QPalette::WindowText), QColor(Qt::red));
    QTest::mouseDClick(sunday, Qt::LeftButton);
    QTest::mouseDClick(sunday, Qt::LeftButton);
    QCOMPARE(f.config().readInt("Olm:TK", "WeekEnd", -1), 0);
    QVERIFY(contains(f.logText(), " Hidden option found!\r\n WeekEnd days colors switched."));
    std::filesystem::permissions(f.dir.files().config(), std::filesystem::perms::owner_read);
    QTest::mouseDClick(sunday, Qt::LeftButton);
    QVERIFY(contains(f.logText(), " Hidden option found!\r\n Failed saving settings."));
    QCOMPARE(saturday->palette().color(QPalette::WindowText), QColor(Qt::red));
  }
};

}  // namespace tarvik

QTEST_MAIN(tarvik::TabStatTest)
#include "tab_stat_test.moc"
