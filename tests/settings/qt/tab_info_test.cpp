#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QtTest>

#include "settings/help_contexts.h"
#include "settings/qt/pages/tab_info.h"
#include "settings/qt/program_help.h"
#include "tests/settings/qt/dialog_fixture.h"

namespace tarvik {

using test::DialogFixture;

class TabInfoTest : public QObject {
  Q_OBJECT

 private slots:
  // With the built-in manual: the version, the help links, and F1 on every page opening the
  // manual at that page's own section.
  void helpOpensAtThePagesSection() {
    DialogFixture f({"ISP"});
    ProgramHelp help(f.log);
    QVERIFY(help.available());
    f.host.help = [&help](int context) { help.open(context); };
    f.dialog->showOnPage(PageId::Info);
    QCOMPARE(f.find<QLabel>("t_version")->text(), QString("ВЕРСИЯ 4.0"));
    QCOMPARE(f.find<QLabel>("t_title")->text(), QString("Tarvik"));
    QVERIFY(f.find<QLabel>("w_hlp")->isVisible());
    QVERIFY(!f.find<QLabel>("w_hlp_a")->isVisible());
    QVERIFY(!f.find<QLabel>("w_hlp_z")->isVisible());
    QCOMPARE(f.find<QWidget>("p_server")->height(), 54);

    QTest::mouseClick(f.find<QLabel>("w_hlp"), Qt::LeftButton);
    QCOMPARE(f.host.helpContexts.back(), kHelpContents);
    QVERIFY(help.window()->isVisible());
    QCOMPARE(help.window()->topLine(), QString("Содержание"));
    QTest::mouseClick(f.find<QLabel>("w_manual"), Qt::LeftButton);
    QCOMPARE(f.host.helpContexts.back(), kHelpStart);
    QCOMPARE(help.window()->topLine(), QString("Введение"));

    for (PageId page : kAllPages) {
      f.dialog->selectPage(page);
      QTest::keyClick(f.dialog.get(), Qt::Key_F1);
      QCOMPARE(f.host.helpContexts.back(), pageHelpContext(page));
      const QString button = f.dialog->findChildren<QPushButton*>(QRegularExpression("^b_tab_"))
                                 .at(static_cast<int>(page))
                                 ->text();
      QCOMPARE(help.window()->topLine(), QString("Страница «%1»").arg(button));
    }
    QVERIFY(f.logText().find(" Help opened.") != std::string::npos);
    QCOMPARE(f.boxes.texts().size(), 0);
    // Its title exactly as given. Esc in the text closes the window and leaves the dialog;
    // closed, the window goes, and opened again it is made anew at the section asked for.
    QCOMPARE(help.window()->windowTitle(), QString("Tarvik — справка"));
    const QPointer<HelpWindow> closed = help.window();
    QTest::keyClick(closed->findChild<QWidget*>("helpText"), Qt::Key_Escape);
    QTRY_VERIFY(!closed);
    QVERIFY(f.dialog->isVisible());
    QVERIFY(!help.window());
    help.open(kHelpStart);
    QVERIFY(help.window()->isVisible());
    QCOMPARE(help.window()->topLine(), QString("Введение"));
  }

  // A build without the manual: the download links instead of the help link, F1 makes them
  // blink on the information page, and opening help explains and logs what is missing.
  void withoutTheManual() {
    DialogFixture f;
    f.host.manual = false;
    f.dialog->showOnPage(PageId::App);
    auto* page = f.find<TabInfo>("tabInfo");
    QVERIFY(!page->helpFound());
    QTest::keyClick(f.dialog.get(), Qt::Key_F1);
    QVERIFY(f.host.helpContexts.empty());
    QCOMPARE(f.dialog->currentPage(), PageId::Info);
    QVERIFY(!f.find<QLabel>("w_hlp")->isVisible());
    QVERIFY(f.find<QLabel>("w_hlp_a")->isVisible());
    QVERIFY(f.find<QLabel>("w_hlp_z")->isVisible());
    QCOMPARE(f.find<QWidget>("p_server")->height(), 69);
    auto* blink = f.find<QTimer>("t_blink");
    QVERIFY(blink->isActive());
    QCOMPARE(blink->interval(), 250);
    const auto colour = [&f] {
      return f.find<QLabel>("w_hlp_z")->palette().color(QPalette::WindowText);
    };
    for (int tick = 1; tick <= 12; ++tick) {
      page->blinkStep();
      QCOMPARE(colour(), QColor(tick % 2 ? Qt::red : Qt::blue));
      QCOMPARE(blink->isActive(), tick < 12);
    }
    QTest::mouseClick(f.find<QLabel>("w_hlp_a"), Qt::LeftButton);
    QVERIFY(!f.host.opened.empty());

    ProgramHelp help(f.log, ":/help/absent.html");
    QVERIFY(!help.available());
    f.boxes.answerNext(QMessageBox::Ok);
    help.open(kHelpContents);
    QVERIFY(!help.window());
    QCOMPARE(f.boxes.texts().value(0),
             QString("Файл справки «TarvikHELP.HLP» не найден.\nУбедитесь что он существует и "
                     "хранится\nв каталоге программы, и попробуйте ещё раз..."));
    QVERIFY(f.logText().find(" Failed opening help.\r\nHelp file not found.") != std::string::npos);
  }
};

}  // namespace tarvik

QTEST_MAIN(tarvik::TabInfoTest)
#include "tab_info_test.moc"
