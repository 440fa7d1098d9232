#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest>

#include "platform/qt/file_dialog.h"
#include "settings/qt/up_down.h"
#include "tests/settings/qt/dialog_fixture.h"

namespace tarvik {

using test::DialogFixture;

class TabConnTest : public QObject {
  Q_OBJECT

 private slots:
  // Load -> the page shows the entry; change -> ПРИМЕНИТЬ -> the entry's section holds it.
  void loadChangeApply() {
    DialogFixture f({"ISP"});
    f.dir.writeConfig(
        "[Olm:TK]\nEntry=1\n[ISP]\nDone=1\nExecute=1\nExeCount=3\nExeLine0=/bin/a -x\n"
        "ExeLine1=\nExeLine2=/bin/b\nExeLine3=/bin/old\nHangUpAuto=1\nHangUpTime=600\n"
        "FreeTime=30\nStatusHide=0\nStatusWait=20\nAuthentification=0\n");
    f.dialog->showOnPage(PageId::Conn);
    auto* apps = f.find<QPlainTextEdit>("o_apps");
    QCOMPARE(apps->toPlainText(), QString("/bin/a -x\n\n/bin/b\n"));
    QVERIFY(apps->isEnabled());
    QCOMPARE(f.find<QLineEdit>("e_hangup")->text(), QString("600"));
    QVERIFY(f.find<QLineEdit>("e_hangup")->isEnabled());
    QVERIFY(!f.find<QLineEdit>("e_hide")->isEnabled());
    QVERIFY(!f.find<UpDown>("ud_hide")->isEnabled());
    QVERIFY(f.find<QRadioButton>("o_when_on")->isChecked());
    QVERIFY(!f.find<QPushButton>("b_apply")->isEnabled());

    // ТЕСТ starts every line that holds a command, in order; УДАЛИТЬ only explains.
    f.find<QPushButton>("o_launch")->click();
    QCOMPARE(f.host.programs, (std::vector<std::string>{"/bin/a -x", "/bin/b"}));
    f.boxes.answerNext(QMessageBox::Ok);
    f.find<QPushButton>("o_del")->click();
    QCOMPARE(f.boxes.texts().value(0),
             QString("Процессы удаления и/или редактирования списка программ\n"
                     "должны быть произведены вручную (как с обычным текстом)."));

    // ДОБАВИТЬ: a cancelled pick adds nothing, a picked path becomes a line of its own.
    file_dialog::setNextFileName("");
    f.find<QPushButton>("o_add")->click();
    QCOMPARE(apps->toPlainText(), QString("/bin/a -x\n\n/bin/b\n"));
    file_dialog::setNextFileName("/opt/tools/dial");
    f.find<QPushButton>("o_add")->click();
    QCOMPARE(apps->toPlainText(), QString("/bin/a -x\n\n/bin/b\n/opt/tools/dial\n"));
    QVERIFY(f.find<QPushButton>("b_apply")->isEnabled());

    // The up-down steps within the range; typing is checked at every change.
    auto* hangup = f.find<QLineEdit>("e_hangup");
    f.find<UpDown>("ud_hangup")->stepBy(1);
    QCOMPARE(hangup->text(), QString("615"));
    hangup->setText("3599");
    f.find<UpDown>("ud_hangup")->findChild<QToolButton*>("up")->click();
    QCOMPARE(hangup->text(), QString("3600"));
    hangup->setText("0");
    QCOMPARE(hangup->text(), QString("1"));
    hangup->setText("");
    QCOMPARE(hangup->text(), QString("600"));  // the stored value
    hangup->setText("12x");
    QCOMPARE(hangup->text(), QString("600"));
    auto* free = f.find<QLineEdit>("e_free");
    free->setText("0");
    QCOMPARE(free->text(), QString("0"));  // no free time is allowed
    free->setText("-5");
    QCOMPARE(free->text(), QString("0"));  // negative free time would charge extra
    free->setText("");
    QCOMPARE(free->text(), QString("30"));
    f.find<UpDown>("ud_free")->stepBy(-10);
    QCOMPARE(free->text(), QString("0"));
    QTest::keyClick(free, Qt::Key_Up);  // the arrow keys step as the buttons do
    QTest::keyClick(free, Qt::Key_Up);
    QCOMPARE(free->text(), QString("10"));
    QCOMPARE(f.find<QLineEdit>("e_hide")->maxLength(), 2);

    f.find<QCheckBox>("o_sw_of")->setChecked(true);
    QVERIFY(f.find<QLineEdit>("e_hide")->isEnabled());
    f.find<QLineEdit>("e_hide")->setText("45");
    f.find<QRadioButton>("o_when_au")->setChecked(true);
    f.find<QCheckBox>("o_app")->setChecked(false);
    QVERIFY(!apps->isEnabled());
    QVERIFY(!f.find<QPushButton>("o_launch")->isEnabled());
    f.find<QPushButton>("b_apply")->click();

    const IniFile config = f.config();
    QCOMPARE(config.readInt("ISP", "Execute", 1), 0);
    QCOMPARE(config.readInt("ISP", "ExeCount", 0), 4);
    QCOMPARE(config.readString("ISP", "ExeLine0"), "/bin/a -x");
    QCOMPARE(config.readString("ISP", "ExeLine1", "?"), "");
    QCOMPARE(config.readString("ISP", "ExeLine3"), "/opt/tools/dial");
    QCOMPARE(config.readInt("ISP", "HangUpTime", 0), 600);
    QCOMPARE(config.readInt("ISP", "FreeTime", 5), 10);
    QCOMPARE(config.readInt("ISP", "StatusHide", 0), 1);
    QCOMPARE(config.readInt("ISP", "StatusWait", 0), 45);
    QCOMPARE(config.readInt("ISP", "Authentification", 0), 1);
    QVERIFY(!config.hasKey("Default", "HangUpTime"));
  }

  // A fresh entry shows "Default"'s lines; a number typed away comes back as the key's
  // default, since the entry has nothing stored; an empty list is saved as no lines at all.
  void freshEntryAndEmptyList() {
    DialogFixture f({"ISP"});
    f.dir.writeConfig("[Olm:TK]\nEntry=1\n[Default]\nDone=1\nHangUpTime=900\n");
    f.dialog->showOnPage(PageId::Conn);
    QCOMPARE(f.find<QPlainTextEdit>("o_apps")->toPlainText(),
             QString("/usr/bin/x-www-browser https://www.example.com/\n"));
    QCOMPARE(f.find<QLineEdit>("e_hangup")->text(), QString("900"));
    f.find<QLineEdit>("e_hangup")->setText("abc");
    QCOMPARE(f.find<QLineEdit>("e_hangup")->text(), QString("15"));
    f.find<QPlainTextEdit>("o_apps")->setPlainText("");
    f.find<QPushButton>("b_ok")->click();
    const IniFile config = f.config();
    QCOMPARE(config.readInt("ISP", "ExeCount", 1), 0);
    QCOMPARE(config.readInt("ISP", "HangUpTime", 0), 15);
  }
};

}  // namespace tarvik

QTEST_MAIN(tarvik::TabConnTest)
#include "tab_conn_test.moc"
