#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

#include "tests/settings/qt/dialog_fixture.h"

namespace tarvik {

using test::DialogFixture;

// A 1280 x 800 screen at scale factor 2 leaves 640 x 400 pixels, less than the dialog's own
// size: the dialog shrinks, and still no caption is cut on any page. Each page's picture is
// kept beside the test's files for a look.
class DialogSmallScreenTest : public QObject {
  Q_OBJECT

 private slots:
  void everyPageKeepsItsCaptionsWhole() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    QCOMPARE(screen->geometry().size(), QSize(640, 400));
    DialogFixture f({"ISP"});
    f.dialog->showOnPage(PageId::Cfg);
    QVERIFY(f.dialog->width() + kDialogFrameWidth <= 640);
    QVERIFY(f.dialog->height() + kDialogFrameHeight <= 400);
    // Only a page scrolls, and only sideways: the page buttons and ОК stay in sight.
    auto* scroll = f.find<QScrollArea>("p_scroll");
    const QString pictures =
        QDir(qEnvironmentVariable("TARVIK_TEST_TMP", QDir::tempPath())).filePath("settings-2x");
    QDir().mkpath(pictures);
    for (int page = 0; page < kPageCount; ++page) {
      f.dialog->selectPage(kAllPages[page]);
      if (kAllPages[page] == PageId::Stat)
        f.find<QPushButton>("b_acc")->click();  // the balance field, opened
      QApplication::processEvents();
      const QStringList squeezed = test::squeezedControls(*f.dialog);
      QVERIFY2(squeezed.isEmpty(), qPrintable(QString::number(page) + ": " + squeezed.join(' ')));
      QVERIFY(!scroll->verticalScrollBar()->isVisible());
      const QImage picture = f.dialog->grab().toImage();
      QCOMPARE(picture.size(), f.dialog->size() * 2);
      QVERIFY(picture.save(QDir(pictures).filePath(QString("page-%1.png").arg(page))));
    }
    for (const char* name : {"b_ok", "b_apply", "b_cancel", "b_tab_cfg", "b_tab_stat"}) {
      const QWidget* button = f.find<QWidget>(name);
      QVERIFY(f.dialog->rect().contains(
          QRect(button->mapTo(f.dialog.get(), QPoint()), button->size())));
    }
    // The opened balance field stands clear of its buttons.
    const QRect field = f.find<QLineEdit>("e_acc")->geometry();
    QVERIFY(!field.intersects(f.find<QPushButton>("b_acc_y")->geometry()));
  }
};

}  // namespace tarvik

int main(int argc, char** argv) {
  // The offscreen platform given one screen of 1280 x 800 pixels, shown at scale factor 2.
  QTemporaryDir dir;
  QFile config(dir.filePath("screens.json"));
  if (!config.open(QIODevice::WriteOnly)) return 1;
  config.write(R"({"screens": [{"name": "small", "x": 0, "y": 0, "width": 1280, "height": 800,
                   "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
  config.close();
  qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config.fileName()).toUtf8());
  qputenv("QT_SCALE_FACTOR", "2");
  QApplication app(argc, argv);
  tarvik::DialogSmallScreenTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "dialog_small_screen_test.moc"
