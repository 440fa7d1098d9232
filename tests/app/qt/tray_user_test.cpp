#include "app/qt/tray_user.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QtTest>

#include "app/qt/message_box.h"
#include "settings/qt/tsettings.h"

namespace tarvik {

class TrayUserTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { qputenv("TARVIK_TEST_DISMISS_MS", "10"); }

  // With the test hook every box answers its default button.
  void messageBoxesAnswerTheirDefaultButton() {
    QCOMPARE(message_box::askYesNo("?", true), QMessageBox::No);
    QCOMPARE(message_box::askYesNo("?", false), QMessageBox::Yes);
    QCOMPARE(message_box::askYesNoCancel("?"), QMessageBox::Yes);
    Tsettings settings;
    TrayUser user(settings);
    QCOMPARE(user.askYesNo("Сохранить?", true), Answer::No);
    QCOMPARE(user.askYesNoCancel("?"), Answer::Yes);
    QCOMPARE(user.askRecovery("?", false), RecoveryAnswer::Book);
    user.message("Программа \"Tarvik\" уже запущена!");  // returns by itself
  }

  void boxesHaveEmptyCaptionAndStayOnTop() {
    QMessageBox box(QMessageBox::NoIcon, "caption", "text", QMessageBox::Ok);
    message_box::run(box);
    QVERIFY(box.windowTitle().isEmpty());
    QVERIFY(box.windowFlags() & Qt::WindowStaysOnTopHint);
  }

  void exitItemRunsTheExitHandler() {
    Tsettings settings;
    QCOMPARE(settings.objectName(), QString("Tsettings"));
    QVERIFY(!settings.isVisible());
    TrayUser user(settings);
    int exits = 0;
    user.setExitHandler([&] { ++exits; });
    QAction* exitAction = nullptr;
    for (QWidget* w : QApplication::allWidgets()) {
      if (auto* menu = qobject_cast<QMenu*>(w)) {
        for (QAction* a : menu->actions()) {
          if (a->objectName() == "m_exit") exitAction = a;
        }
      }
    }
    QVERIFY(exitAction);
    QCOMPARE(exitAction->text(), QString("Выход"));
    exitAction->trigger();
    QCOMPARE(exits, 1);
  }

  void settingsDialogStateIsTheDialogs() {
    Tsettings settings;
    TrayUser user(settings);
    QVERIFY(!user.settingsDialogOpen());
    settings.show();
    QVERIFY(user.settingsDialogOpen());
    user.cancelSettingsDialog();
    QVERIFY(!user.settingsDialogOpen());
    QCOMPARE(settings.result(), int(QDialog::Rejected));
    settings.show();
    user.applyAndCloseSettingsDialog();
    QVERIFY(!user.settingsDialogOpen());
    QCOMPARE(settings.result(), int(QDialog::Accepted));
  }
};

}  // namespace tarvik

QTEST_MAIN(tarvik::TrayUserTest)
#include "tray_user_test.moc"
