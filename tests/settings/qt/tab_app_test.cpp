#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>
#include <filesystem>

#include "tests/settings/qt/dialog_fixture.h"

namespace tarvik {

using test::DialogFixture;

class TabAppTest : public QObject {
  Q_OBJECT

 private slots:
  void loadChangeApply() {
    DialogFixture f;
    f.dir.writeConfig(
        "[Olm:TK]\nDisplayCost=1\nWarnTime=7\nWarnBeep=0\nWarnWave=1\nWarnFile=/s/w.wav\n"
        "DisplayZero=0\nLogClear=1\nSecurityII=0\n");
    f.dialog->showOnPage(PageId::App);
    QVERIFY(f.find<QRadioButton>("o_tar_cost")->isChecked());
    QCOMPARE(f.find<QSpinBox>("e_warn")->value(), 7);
    QVERIFY(f.find<QLineEdit>("e_warning")->isEnabled());
    QCOMPARE(f.find<QLineEdit>("e_warning")->text(), QString("/s/w.wav"));
    QVERIFY(f.find<QRadioButton>("o_inact_empty")->isChecked());
    QVERIFY(f.find<QRadioButton>("z_clear")->isChecked());
    QCOMPARE(f.find<QLabel>("s_security")->text(),
             QString("обеспечивает гарантию 95%,\nпри обычной нагрузке на ЦП"));

    // The sound test plays the file, and beeps only with the speaker option on.
    f.find<QPushButton>("e_warn_test")->click();
    QCOMPARE(f.host.soundFiles, std::vector<std::string>{"/s/w.wav"});
    QVERIFY(f.host.tunes.empty());
    f.find<QCheckBox>("o_warn_beep")->setChecked(true);
    f.find<QPushButton>("e_warn_test")->click();
    QCOMPARE(f.host.tunes, std::vector<int>{0});

    // Crash protection and its first level stay on whatever is clicked.
    f.find<QCheckBox>("o_seq_1")->click();
    f.find<QCheckBox>("o_security")->click();
    QVERIFY(f.find<QCheckBox>("o_seq_1")->isChecked());
    QVERIFY(f.find<QCheckBox>("o_security")->isChecked());
    f.find<QCheckBox>("o_seq_2")->setChecked(true);
    QCOMPARE(f.find<QLabel>("s_security")->text(),
             QString("обеспечивает гарантию 99%,\nпри сильной нагрузке на ЦП"));

    f.find<QCheckBox>("o_warn_wav")->setChecked(false);
    QVERIFY(!f.find<QPushButton>("e_warn_browse")->isEnabled());
    f.find<QRadioButton>("o_tar_name")->setChecked(true);
    f.find<QRadioButton>("z_noclear")->setChecked(true);
    f.find<QSpinBox>("e_warn")->setValue(11);  // above the range: stays at its maximum
    f.find<QPushButton>("b_apply")->click();
    const IniFile config = f.config();
    QCOMPARE(config.readInt("Olm:TK", "DisplayCost", 1), 0);
    QCOMPARE(config.readInt("Olm:TK", "WarnTime", 0), 10);
    QCOMPARE(config.readInt("Olm:TK", "WarnBeep", 0), 1);
    QCOMPARE(config.readInt("Olm:TK", "WarnWave", 1), 0);
    QCOMPARE(config.readString("Olm:TK", "WarnFile"), "/s/w.wav");
    QCOMPARE(config.readInt("Olm:TK", "LogClear", 1), 0);
    QCOMPARE(config.readInt("Olm:TK", "SecurityII", 0), 1);
    QCOMPARE(config.readInt("Olm:TK", "DisplayZero", 1), 0);
  }

  // Viewing and clearing the logs, with the failures explained.
  void logButtons() {
    DialogFixture f;
    f.dialog->showOnPage(PageId::App);
    f.boxes.answerNext(QMessageBox::Ok);
    f.find<QPushButton>("b_log_c_view")->click();
    QCOMPARE(f.boxes.texts().value(0),
             QString("Файл журнала соединений «Velk.txt» не существует. Просмотр невозможен."));
    QVERIFY(f.logText().find(" Failed opening quick-log file. File not found.") !=
            std::string::npos);
    QVERIFY(f.host.viewed.empty());

    f.boxes.answerNext(QMessageBox::No);
    f.find<QPushButton>("b_log_c_clear")->click();
    QVERIFY(!std::filesystem::exists(f.dir.files().quickLog()));
    f.boxes.answerNext(QMessageBox::Yes);
    f.find<QPushButton>("b_log_c_clear")->click();
    QCOMPARE(test::ProgramDir::readText(f.dir.files().quickLog()),
             std::string("Tarvik «4» quick connections log\r\n\r\n"));
    QVERIFY(f.logText().find(" Clearing quick log-file...") != std::string::npos);
    f.find<QPushButton>("b_log_c_view")->click();
    QCOMPARE(f.host.viewed.back(), f.dir.files().quickLog());

    f.host.viewerWorks = false;
    f.boxes.answerNext(QMessageBox::Ok);
    f.find<QPushButton>("b_log_a_view")->click();
    QCOMPARE(f.boxes.texts().size(), 4);
    QVERIFY(f.logText().find(" Failed opening log file.") != std::string::npos);

    f.boxes.answerNext(QMessageBox::Yes);
    f.find<QPushButton>("b_log_a_clear")->click();
    const std::string log = f.logText();
    QVERIFY(log.find(" Failed opening log file.") == std::string::npos);
    QVERIFY(log.find(" Log-file cleared (user request).") != std::string::npos);
  }
};

}  // namespace tarvik

QTEST_MAIN(tarvik::TabAppTest)
#include "tab_app_test.moc"
