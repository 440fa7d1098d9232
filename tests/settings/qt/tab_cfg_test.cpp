#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QtTest>

#include "tests/settings/qt/dialog_fixture.h"

namespace tarvik {

using test::DialogFixture;

class TabCfgTest : public QObject {
  Q_OBJECT

 private slots:
  // Load -> the controls show the files; change -> ПРИМЕНИТЬ -> the files hold the new keys.
  void loadChangeApply() {
    DialogFixture f;
    f.host.autostartScopes.user = true;
    f.dir.writeConfig(
        "[Olm:TK]\nHelpShow=0\nHelpTime=11\nAction=4\nIcon=2\nO=0\nX=30\nY=20\n"
        "AccountOne=1\nInit=1\nPause=2750\nMidnight=1\nShow=0\n");
    f.dir.writeAccounts("[Olm:TK]\nAccount=7,5\n");
    f.dialog->showOnPage(PageId::Cfg);
    QCOMPARE(f.boxes.texts().size(), 0);  // a stored hang-up action asks nothing
    QVERIFY(!f.find<QCheckBox>("o_balloon")->isChecked());
    QVERIFY(!f.find<QSpinBox>("e_balloon")->isEnabled());
    QCOMPARE(f.find<QSpinBox>("e_balloon")->value(), 11);
    QCOMPARE(f.find<QComboBox>("o_dbl")->currentIndex(), 4);
    QVERIFY(f.find<QRadioButton>("o_t_2")->isChecked());
    QVERIFY(!f.find<QLabel>("i_indicator")->pixmap().isNull());
    QVERIFY(f.find<QRadioButton>("o_botright")->isChecked());
    QCOMPARE(f.find<QLineEdit>("e_acc_one")->text(), QString("7,5"));
    QVERIFY(f.find<QLineEdit>("e_acc_one")->isEnabled());
    QCOMPARE(f.find<QSlider>("x_reinit")->value(), 2750);
    QCOMPARE(f.find<QLabel>("s_reinit")->text(), QString("2750"));
    QVERIFY(f.find<QSlider>("x_reinit")->isEnabled());
    QVERIFY(f.find<QCheckBox>("o_midnight")->isChecked());
    QVERIFY(!f.find<QCheckBox>("o_show")->isChecked());
    QVERIFY(f.host.placements.empty());
    // A drag of the status window shows its place as the origin choice measures it, without
    // moving the window back through the preview.
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    f.dialog->copyWindowPosition(100, 50);
    QCOMPARE(f.find<QSpinBox>("e_xx")->value(), screen.width() - 100);
    QCOMPARE(f.find<QSpinBox>("e_yy")->value(), screen.height() - 50);
    QVERIFY(f.find<QSpinBox>("e_xx")->isEnabled());
    QVERIFY(f.host.placements.empty());

    f.find<QCheckBox>("o_balloon")->setChecked(true);
    QVERIFY(f.find<QSpinBox>("e_balloon")->isEnabled());
    f.find<QRadioButton>("o_t_3")->setChecked(true);
    f.find<QRadioButton>("o_topleft")->setChecked(true);
    QCOMPARE(f.host.placements.back().fromTopLeft, true);
    QCOMPARE(f.host.placements.back().x, screen.width() - 100);
    f.find<QSpinBox>("e_yy")->setValue(25);
    QCOMPARE(f.host.placements.back().y, 25);
    f.find<QCheckBox>("o_reinit")->setChecked(false);
    QVERIFY(!f.find<QSlider>("x_reinit")->isEnabled());

    // A balance that is not a number gives way to the stored one.
    QTest::keyClicks(f.find<QLineEdit>("e_acc_one"), "x");
    QCOMPARE(f.find<QLineEdit>("e_acc_one")->text(), QString("7,5"));
    f.find<QLineEdit>("e_acc_one")->setText("-2,25");

    f.find<QPushButton>("b_apply")->click();
    const IniFile config = f.config();
    QCOMPARE(config.readInt("Olm:TK", "HelpShow", 0), 1);
    QCOMPARE(config.readInt("Olm:TK", "Icon", 0), 3);
    QCOMPARE(config.readInt("Olm:TK", "O", 0), 1);
    QCOMPARE(config.readInt("Olm:TK", "Y", 0), 25);
    QCOMPARE(config.readInt("Olm:TK", "Init", 1), 0);
    QCOMPARE(config.readInt("Olm:TK", "Pause", 0), 2750);
    QCOMPARE(config.readInt("Olm:TK", "Action", 0), 4);
    QCOMPARE(IniFile(f.dir.files().accounts()).readString("Olm:TK", "Account"), "-2,25");
    QVERIFY(!f.find<QPushButton>("b_apply")->isEnabled());
  }

  // The registration follows the controls at once: at most one scope holds it, the one for
  // all users wins when both do. A scope that cannot be written is explained in a box and
  // stays off for the dialog's life; the other scope goes on working.
  void autostartFollowsTheControls() {
    DialogFixture f;
    auto& scopes = f.host.autostartScopes;
    scopes.user = true;
    scopes.all = true;
    f.dialog->showOnPage(PageId::Cfg);
    auto* autostart = f.find<QCheckBox>("o_autostart");
    auto* user = f.find<QRadioButton>("o_user");
    auto* machine = f.find<QRadioButton>("o_machine");
    QVERIFY(autostart->isChecked());
    QVERIFY(machine->isChecked());
    QCOMPARE(scopes.all, std::optional<bool>(true));
    QCOMPARE(scopes.user, std::optional<bool>(false));
    QVERIFY(!f.find<QPushButton>("b_apply")->isEnabled());

    user->click();
    QCOMPARE(scopes.user, std::optional<bool>(true));
    QCOMPARE(scopes.all, std::optional<bool>(false));
    autostart->click();
    QCOMPARE(scopes.user, std::optional<bool>(false));
    // Someone who may write both scopes chooses one with the box ticked.
    QVERIFY(!user->isEnabled());
    QVERIFY(!f.find<QCheckBox>("o_reinit")->isEnabled());

    autostart->click();
    scopes.allWritable = false;
    f.boxes.answerNext(QMessageBox::Ok);
    machine->click();
    QCOMPARE(f.boxes.texts(),
             QStringList{"Возникла ошибка при попытке записать файл на диск.\n"
                         "Запуск с операционной системой «ДЛЯ  ВСЕХ  ПОЛЬЗОВАТЕЛЕЙ» недоступен: "
                         "нет права записи.\nВыберите «ДЛЯ  ТЕКУЩЕГО  ПОЛЬЗОВАТЕЛЯ»."});
    // The registration for this user survived, and the controls say so.
    QCOMPARE(scopes.user, std::optional<bool>(true));
    QVERIFY(autostart->isChecked() && autostart->isEnabled());
    QVERIFY(user->isChecked() && user->isEnabled());
    QVERIFY(!machine->isEnabled());
    QVERIFY(f.logText().find(" Registry write access denied. Autostart for all users is not "
                             "available.") != std::string::npos);
    f.dialog->cancel();
    f.dialog->showOnPage(PageId::Cfg);
    QVERIFY(!machine->isEnabled());
    autostart->click();
    QCOMPARE(scopes.user, std::optional<bool>(false));

    f.find<QPushButton>("b_extend")->click();
    QVERIFY(f.find<QWidget>("p_extra")->isVisible());
    QCOMPARE(f.find<QPushButton>("b_extend")->text(), QString("<<<"));
  }

  // Without write access for all users, nothing registered: the scope preselected is this
  // user's, and either scope can be chosen before the box is ticked.
  void ordinaryUserChoosesTheScopeFirst() {
    DialogFixture admin;
    admin.dialog->showOnPage(PageId::Cfg);
    QVERIFY(admin.find<QRadioButton>("o_machine")->isChecked());
    QVERIFY(!admin.find<QRadioButton>("o_machine")->isEnabled());

    DialogFixture f;
    auto& scopes = f.host.autostartScopes;
    scopes.allWritable = false;
    f.dialog->showOnPage(PageId::Cfg);
    auto* autostart = f.find<QCheckBox>("o_autostart");
    auto* user = f.find<QRadioButton>("o_user");
    auto* machine = f.find<QRadioButton>("o_machine");
    QVERIFY(!autostart->isChecked());
    QVERIFY(user->isChecked());
    QVERIFY(user->isEnabled() && machine->isEnabled());
    autostart->click();
    QCOMPARE(scopes.user, std::optional<bool>(true));
    autostart->click();
    machine->click();  // nothing registered yet: nothing to refuse
    QCOMPARE(scopes.user, std::optional<bool>(false));
    QVERIFY(f.boxes.texts().isEmpty());

    f.boxes.answerNext(QMessageBox::Ok);
    autostart->click();
    QCOMPARE(f.boxes.texts().size(), 1);
    QVERIFY(!autostart->isChecked() && autostart->isEnabled());
    QVERIFY(user->isChecked() && user->isEnabled());
    autostart->click();
    QCOMPARE(scopes.user, std::optional<bool>(true));
    QCOMPARE(scopes.all, std::optional<bool>(false));
  }

  // Choosing the hang-up action asks first; No goes back to the first action.
  void hangUpActionIsConfirmed() {
    DialogFixture f;
    f.dialog->showOnPage(PageId::Cfg);
    auto* action = f.find<QComboBox>("o_dbl");
    f.boxes.answerNext(QMessageBox::No);
    action->setCurrentIndex(4);
    QCOMPARE(f.boxes.texts().value(0),
             QString("Вы уверены, что хотите сопоставить\nпроцесс разрыва связи (отключения)\n"
                     "для дабл-клика по окну состояния?"));
    QCOMPARE(action->currentIndex(), 0);
    f.boxes.answerNext(QMessageBox::Yes);
    action->setCurrentIndex(4);
    QCOMPARE(action->currentIndex(), 4);
    QCOMPARE(action->itemText(4), QString("РАЗОРВАТЬ  СОЕДИНЕНИЕ   (ОТКЛЮЧИТЬСЯ)"));
  }
};

}  // namespace tarvik

QTEST_MAIN(tarvik::TabCfgTest)
#include "tab_cfg_test.moc"
