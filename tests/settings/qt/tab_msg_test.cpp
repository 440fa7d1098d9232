#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include "platform/qt/file_dialog.h"
#include "settings/qt/up_down.h"
#include "tests/settings/qt/dialog_fixture.h"

namespace tarvik {

using test::DialogFixture;

class TabMsgTest : public QObject {
  Q_OBJECT

 private slots:
  // Load -> the page shows the entry; sounds tested; thresholds and seconds checked as typed;
  // ПРИМЕНИТЬ -> the entry's section holds the keys, "Baloon" the global section.
  void loadChangeApply() {
    DialogFixture f({"ISP"});
    f.dir.writeConfig(
        "[Olm:TK]\nEntry=1\nHelpShow=0\nBaloon=0\n[ISP]\nDone=1\nZeroWarn=1\nZeroFile=/s/z.wav\n"
        "OnLineSecond=1\nOnLinePeriod=40\nOnLineBeep=0\nOnLineWave=1\nOnLineFile=/s/on.wav\n"
        "OffLineBeep=1\nOffLineWave=0\nAccountUse2=1\nAccountVal2=300\nMonthLimit=600\n");
    f.dialog->showOnPage(PageId::Msg);
    QVERIFY(!f.find<QCheckBox>("o_double")->isEnabled());  // balloons are off
    QVERIFY(!f.find<QLabel>("s_double")->isEnabled());
    QCOMPARE(f.find<QLineEdit>("e_sec")->text(), QString("40"));
    QVERIFY(f.find<QLineEdit>("e_sec")->isEnabled());
    QVERIFY(f.find<QLineEdit>("e_on")->isEnabled());
    QVERIFY(!f.find<QLineEdit>("e_of")->isEnabled());
    QVERIFY(!f.find<QLineEdit>("e_warn_1")->isEnabled());
    QVERIFY(f.find<UpDown>("ud_warn_2")->isEnabled());
    QCOMPARE(f.find<QLineEdit>("e_warn_2")->text(), QString("300"));
    QCOMPARE(f.find<QLineEdit>("e_warn_3")->text(), QString("25"));
    QCOMPARE(f.find<QLineEdit>("e_month")->text(), QString("600"));
    QCOMPARE(f.find<QLabel>("s_centz")->text(), QString("[ (ц)   ЦЕНТЬI ]"));
    // The warning before a dearer period is off by default, 5 minutes ahead.
    QVERIFY(!f.find<QCheckBox>("o_rise")->isChecked());
    QCOMPARE(f.find<QLineEdit>("e_rise")->text(), QString("5"));
    QVERIFY(!f.find<QLineEdit>("e_rise")->isEnabled());

    // The tests: the zero-balance one always beeps, the others with their beep box only.
    f.find<QPushButton>("b_zero_test")->click();
    f.find<QPushButton>("e_on_test")->click();
    f.find<QCheckBox>("o_on_beep")->setChecked(true);
    f.find<QPushButton>("e_on_test")->click();
    f.find<QCheckBox>("o_of_wave")->setChecked(true);
    file_dialog::setNextFileName("/s/off.wav");
    f.find<QPushButton>("e_of_browse")->click();
    file_dialog::setNextFileName("");
    f.find<QPushButton>("e_on_browse")->click();  // cancelled: the file stays
    f.find<QPushButton>("e_of_test")->click();
    QCOMPARE(f.host.soundFiles,
             (std::vector<std::string>{"/s/z.wav", "/s/on.wav", "/s/on.wav", "/s/off.wav"}));
    QCOMPARE(f.host.tunes, (std::vector<int>{7, 3, 4}));

    // Of the thresholds only the first that is not a number is put back, to its first value.
    auto* warn1 = f.find<QLineEdit>("e_warn_1");
    auto* warn2 = f.find<QLineEdit>("e_warn_2");
    warn1->setText("x");
    QCOMPARE(warn1->text(), QString("1"));
    {
      // Garbage in two fields at once (as a hand edit leaves them): the round fixes the first,
      // and that fix, a change of its own, fixes the second.
      const QSignalBlocker quiet(warn1);
      warn1->setText("y");
    }
    warn2->setText("abc");
    QCOMPARE(warn1->text(), QString("1"));
    QCOMPARE(warn2->text(), QString("10"));
    warn2->setText("77");
    warn2->setText("");
    QCOMPARE(warn2->text(), QString("10"));
    auto* sec = f.find<QLineEdit>("e_sec");
    sec->setText("-1");
    QCOMPARE(sec->text(), QString("1"));
    sec->setText("");
    QCOMPARE(sec->text(), QString("40"));

    f.find<QCheckBox>("o_zero")->setChecked(false);
    QVERIFY(!f.find<QPushButton>("b_zero_browse")->isEnabled());
    f.find<QCheckBox>("o_warn_4")->setChecked(true);
    f.find<UpDown>("ud_warn_4")->stepBy(3);
    f.find<QCheckBox>("o_rise")->setChecked(true);
    QVERIFY(f.find<UpDown>("ud_rise")->isEnabled());
    f.find<QLineEdit>("e_rise")->setText("0");  // at least a minute ahead
    QCOMPARE(f.find<QLineEdit>("e_rise")->text(), QString("1"));
    f.find<UpDown>("ud_rise")->stepBy(100);  // at most an hour
    f.find<QPushButton>("b_apply")->click();
    const IniFile config = f.config();
    QCOMPARE(config.readInt("ISP", "ZeroWarn", 1), 0);
    QCOMPARE(config.readString("ISP", "OffLineFile"), "/s/off.wav");
    QCOMPARE(config.readInt("ISP", "OffLineWave", 0), 1);
    QCOMPARE(config.readInt("ISP", "OnLineBeep", 0), 1);
    QCOMPARE(config.readInt("ISP", "OnLinePeriod", 0), 40);
    QCOMPARE(config.readInt("ISP", "AccountVal1", 0), 1);
    QCOMPARE(config.readInt("ISP", "AccountVal2", 0), 10);
    QCOMPARE(config.readInt("ISP", "AccountUse4", 0), 1);
    QCOMPARE(config.readInt("ISP", "AccountVal4", 0), 53);
    QCOMPARE(config.readInt("Olm:TK", "Baloon", 1), 0);
    QVERIFY(!config.hasKey("ISP", "Baloon"));
    QCOMPARE(config.readInt("ISP", "RiseWarn", 0), 1);
    QCOMPARE(config.readInt("ISP", "RiseTime", 0), 60);
  }

  // The monthly estimate compares this month's expenses with the budget so far: limit 300
  // on the 10th is 100 hundredths.
  void monthlyEstimate() {
    DialogFixture f({"ISP"});
    f.clock.setNow(makeLocalTime(2026, 12, 10, 12));
    f.dir.writeConfig("[Olm:TK]\nEntry=1\n[ISP]\nDone=1\nMonthLimit=300\n");
    f.dir.writeStatistics("[ISP]\nMoneyTM=101\n");
    f.dialog->showOnPage(PageId::Msg);
    auto* panel = f.find<QLabel>("p_month");
    QCOMPARE(panel->text(), QString("ПРЕВЬIШЕНИЕ"));
    QCOMPARE(panel->palette().color(QPalette::Window), QColor(255, 255, 0));
    auto* limit = f.find<QLineEdit>("e_month");
    limit->setText("330");  // 110 so far
    QCOMPARE(panel->text(), QString("СОСТОЯНИЕ = OK"));
    QCOMPARE(panel->palette().color(QPalette::Window), QColor(0, 255, 0));
    limit->setText("33x");  // not a number: the last good limit comes back
    QCOMPARE(limit->text(), QString("330"));
    limit->setText("60");  // 20 so far, far over
    QCOMPARE(panel->text(), QString("СИЛЬНОЕ  ПРЕВЬIШЕНИЕ"));
    QCOMPARE(panel->palette().color(QPalette::Window), QColor(255, 0, 0));
    f.dir.writeStatistics("[ISP]\nMoneyTM=lots\n");
    limit->setText("90");
    QCOMPARE(panel->text(), QString("ОШИБКА ЧТЕНИЯ ДАННЬIХ"));
    QCOMPARE(panel->palette().color(QPalette::Window), QColor(Qt::white));
    f.find<QPushButton>("b_ok")->click();
    QCOMPARE(f.config().readInt("ISP", "MonthLimit", 0), 90);
  }
};

}  // namespace tarvik

QTEST_MAIN(tarvik::TabMsgTest)
#include "tab_msg_test.moc"
