#include "platform/qt/message_box.h"

#include <QtTest>

#include "settings/qt/tsettings.h"

namespace tarvik {

class MessageBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { qputenv("TARVIK_TEST_DISMISS_MS", "10"); }

  // With the test hook every box answers its default button by itself.
  void boxesAnswerTheirDefaultButton() {
    QCOMPARE(message_box::askYesNo("?", true), QMessageBox::No);
    QCOMPARE(message_box::askYesNo("?", false), QMessageBox::Yes);
    QCOMPARE(message_box::askYesNoCancel("?"), QMessageBox::Yes);
    message_box::inform("Программа \"Tarvik\" уже запущена!");  // returns by itself
  }

  void boxesHaveEmptyCaptionAndStayOnTop() {
    QMessageBox box(QMessageBox::NoIcon, "caption", "text", QMessageBox::Ok);
    QCOMPARE(message_box::run(box), QMessageBox::Ok);
    QVERIFY(box.windowTitle().isEmpty());
    QVERIFY(box.windowFlags() & Qt::WindowStaysOnTopHint);
  }

  void settingsDialogStartsHiddenUnderItsName() {
    Tsettings settings;
    QCOMPARE(settings.objectName(), QString("Tsettings"));
    QVERIFY(!settings.isVisible());
  }
};

}  // namespace tarvik

QTEST_MAIN(tarvik::MessageBoxTest)
#include "message_box_test.moc"
