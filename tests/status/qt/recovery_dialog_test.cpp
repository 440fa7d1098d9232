#include "status/qt/recovery_dialog.h"

#include <QPushButton>
#include <QtTest>
#include <cstdlib>

using namespace tarvik;

class RecoveryDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void recoveryDialogButtons() {
    RecoveryDialog first("text", true);
    QCOMPARE(first.bookButton()->text(), QString("засчитать"));
    QCOMPARE(first.ignoreButton()->text(), QString("игнорировать"));
    QCOMPARE(first.laterButton()->text(), QString("напомнить позже"));
    QVERIFY(first.laterButton()->isEnabled());
    QCOMPARE(first.bookButton()->width(), 120);
    QCOMPARE(first.windowTitle(), QString("Tarvik"));
    first.show();
    QVERIFY(first.bookButton()->x() < first.ignoreButton()->x());
    QVERIFY(first.ignoreButton()->x() < first.laterButton()->x());
    // Left and right buttons 5 pixels in from the dialog's edges, the middle one centred.
    QCOMPARE(first.bookButton()->geometry().left(), 5);
    QCOMPARE(first.width() - 1 - first.laterButton()->geometry().right(), 5);
    QVERIFY(std::abs(first.ignoreButton()->geometry().center().x() - first.width() / 2) <= 1);
    first.laterButton()->click();
    QCOMPARE(first.answer(), RecoveryAnswer::RemindLater);
    // Escape does not end the question.
    RecoveryDialog second("text", false);
    second.show();
    QVERIFY(!second.laterButton()->isEnabled());
    QTest::keyClick(&second, Qt::Key_Escape);
    QVERIFY(second.isVisible());
    second.ignoreButton()->click();
    QCOMPARE(second.answer(), RecoveryAnswer::Ignore);
    QVERIFY(!second.isVisible());
  }
};

QTEST_MAIN(RecoveryDialogTest)
#include "recovery_dialog_test.moc"
