#include "app/qt/tarvik_application.h"

#include <QAbstractButton>
#include <QTemporaryDir>
#include <QtTest>
#include <stdexcept>

#include "app/lifecycle.h"
#include "app/qt/qt_clock.h"
#include "platform/event_log.h"
#include "platform/qt/message_box.h"

namespace tarvik {

// An exception thrown by a timer handler must not cross the event loop: it ends the program
// with exit code 1 and the three log lines.
class TarvikApplicationTest : public QObject {
  Q_OBJECT

 public:
  TarvikApplicationTest(TarvikApplication& app, EventLog& log) : app_(app), log_(log) {}

 private slots:
  // The boxes speak Russian whatever the locale (the test runs under the C locale), and carry
  // the program's name as their caption. The box is read and answered while it is up.
  void questionsShowRussianButtonsUnderTheProgramsName() {
    QStringList seen;
    QString caption;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      caption = box->windowTitle();
      for (auto b : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
        if (QAbstractButton* button = box->button(b)) seen << button->text().remove('&');
      box->button(QMessageBox::Yes)->click();
    });
    QCOMPARE(message_box::askYesNo(QString::fromUtf8(kExitWhileOnlineQuestion), true),
             QMessageBox::Yes);
    QCOMPARE(seen, QStringList({"Да", "Нет"}));
    QCOMPARE(caption, QString("Tarvik"));
    QCOMPARE(QApplication::applicationDisplayName(), QString("Tarvik"));
  }

  void exceptionInATimerEndsTheLoopWithTheLogLines() {
    QtTimerFactory timers;
    auto timer = timers.createTimer("t_general");
    int fired = 0;
    timer->onFire([&] {
      ++fired;
      throw std::runtime_error("meter tick failed");
    });
    timer->setInterval(5);
    timer->setEnabled(true);
    message_box::setNextAnswer(QMessageBox::Ok);
    QCOMPARE(app_.exec(), 1);
    QCOMPARE(fired, 1);
    QCOMPARE(message_box::takeAnsweredTexts(), QStringList{"meter tick failed"});

    QFile file(QString::fromStdString(log_.path().string()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    const QRegularExpression lines(
        "^ Failed\\. System exception 0x[0-9A-F]{8}\\.\r\n Error: meter tick failed\\.\r\n"
        " Application will be terminated\\.\r\n$");
    QVERIFY2(lines.match(QString::fromLatin1(text)).hasMatch(), text.constData());
  }

 private:
  TarvikApplication& app_;
  EventLog& log_;
};

}  // namespace tarvik

int main(int argc, char** argv) {
  QTemporaryDir dir;
  tarvik::QtClock clock;
  tarvik::EventLog log(dir.filePath("Tarvik.LOG").toStdString(), clock);
  tarvik::TarvikApplication app(argc, argv, log);
  tarvik::TarvikApplicationTest test(app, log);
  return QTest::qExec(&test, argc, argv);
}

#include "tarvik_application_test.moc"
