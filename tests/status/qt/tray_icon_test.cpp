#include "status/qt/tray_icon.h"

#include <QTemporaryDir>
#include <QtTest>

#include "config/ini_file.h"
#include "platform/virtual_clock.h"

using namespace tarvik;

class TrayIconTest : public QObject {
  Q_OBJECT

 private slots:
  void balloonRules() {
    QTemporaryDir dir;
    const ProgramFiles files{dir.path().toStdString()};
    VirtualClock clock;
    TrayIcon tray(files, clock);
    IniFile config(files.config());
    Timer* t = clock.timer("t_baloon");
    QVERIFY(t);
    config.writeInt("Olm:TK", "HelpShow", 0);
    tray.balloon("title", "zero balance", false);
    QVERIFY(!t->enabled());
    config.writeInt("Olm:TK", "HelpShow", 1);
    config.writeInt("Olm:TK", "Baloon", 0);
    tray.balloon("title", "optional", true);
    QVERIFY(!t->enabled());
    tray.balloon("title", "not optional", false);
    QVERIFY(t->enabled());
    QCOMPARE(t->interval(), 8000);
    // A second balloon replaces the first and the removal starts again from it.
    config.writeInt("Olm:TK", "HelpTime", 3);
    clock.advance(2000);
    tray.balloon("title", "second", false);
    QCOMPARE(t->interval(), 3000);
    clock.advance(2999);
    QVERIFY(t->enabled());
    clock.advance(1);
    QVERIFY(!t->enabled());
    // A disabled tray (delayed start) drops balloons.
    tray.setEnabled(false);
    tray.balloon("title", "dropped", false);
    QVERIFY(!t->enabled());
  }
};

QTEST_MAIN(TrayIconTest)
#include "tray_icon_test.moc"
