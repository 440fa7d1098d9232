#include "platform/qt/message_box.h"

#include <QtTest>

#include "platform/qt/file_dialog.h"

namespace tarvik {

class MessageBoxTest : public QObject {
  Q_OBJECT

 private slots:
  // Widget tests queue the answers before the action; boxes and pickers then return them in
  // order without being shown, and the box texts tell the test what was asked.
  void answersQueuedInProcess() {
    message_box::setNextAnswer(QMessageBox::No);
    message_box::setNextAnswer(QMessageBox::Cancel);
    message_box::setNextAnswer(QMessageBox::Ok);
    file_dialog::setNextFileName("/data/tarif.txt");
    file_dialog::setNextFileName("");
    QCOMPARE(message_box::askYesNo("Выйти?", false), QMessageBox::No);
    QCOMPARE(message_box::askYesNoCancel("Сохранить?"), QMessageBox::Cancel);
    message_box::inform("Готово");
    QCOMPARE(file_dialog::openFileName(nullptr, "Открыть", "/data", "*.txt"),
             QString("/data/tarif.txt"));
    QCOMPARE(file_dialog::saveFileName(nullptr, "Сохранить", "/data/x.txt", "*.txt"), QString());
    QCOMPARE(message_box::takeAnsweredTexts(), QStringList({"Выйти?", "Сохранить?", "Готово"}));
    QVERIFY(message_box::takeAnsweredTexts().isEmpty());
    QVERIFY(QApplication::topLevelWidgets().isEmpty());  // nothing was ever shown
  }

  // The end-to-end hook: every box answers its default button by itself, captioned with the
  // program's name and on top; a picker is cancelled.
  void unattendedDialogsGiveTheirDefaultAnswer() {
    qputenv("TARVIK_TEST_DISMISS_MS", "10");
    QCOMPARE(message_box::askYesNo("?", true), QMessageBox::No);
    QCOMPARE(message_box::askYesNo("?", false), QMessageBox::Yes);
    QCOMPARE(message_box::askYesNoCancel("?"), QMessageBox::Yes);
    message_box::inform("Программа \"Tarvik\" уже запущена!");  // returns by itself
    QMessageBox box(QMessageBox::NoIcon, "caption", "text", QMessageBox::Ok);
    QCOMPARE(message_box::run(box), QMessageBox::Ok);
    QCOMPARE(box.windowTitle(), QString("Tarvik"));
    QVERIFY(box.windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(file_dialog::existingDirectory(nullptr, "Папка", QDir::tempPath()), QString());
    QVERIFY(message_box::takeAnsweredTexts().isEmpty());
    qunsetenv("TARVIK_TEST_DISMISS_MS");
  }
};

}  // namespace tarvik

QTEST_MAIN(tarvik::MessageBoxTest)
#include "message_box_test.moc"
