#include "status/qt/tray_menu.h"

#include "status/qt/recording_tray_host.h"

#include <QtTest>

using namespace tarvik;

class TrayMenuTest : public QObject {
  Q_OBJECT

 private slots:
  void orderCaptionsAndStates() {
    TrayMenu menu(nullptr);
    // Without the program behind it, the items that need it stay off.
    for (QAction* a : {menu.m_status_clear, menu.m_hangup, menu.m_settings, menu.m_enable})
      QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
    test::RecordingTrayHost host;
    menu.setHost(&host);
    QStringList names;
    for (QAction* a : menu.actions()) names << a->objectName();
    QCOMPARE(names, QStringList({"m_status_show", "m_status_clear", "m_status_hide",
                                 "m_status_mode", "m_sep_1", "m_entry", "m_sep_2", "m_help",
                                 "m_get", "m_settings", "m_stat", "m_info", "m_sep_3", "m_enable",
                                 "m_sep_4", "m_reboot", "m_exit"}));
    QStringList entryNames;
    for (QAction* a : menu.m_entry_menu->actions()) entryNames << a->objectName();
    QCOMPARE(entryNames, QStringList({"m_show_exp", "m_show_acc", "m_sep_5", "m_reset", "m_sep_6",
                                      "m_nohangup", "m_hangup"}));
    QCOMPARE(menu.m_status_clear->text(), QString("Статус   [очистить]"));
    QCOMPARE(menu.m_get->text(), QString("Справка…"));
    QCOMPARE(menu.findChild<QAction*>("m_bounds"), menu.m_bounds);

    // Offline.
    menu.setOffline(true);
    for (QAction* a : {menu.m_status_clear, menu.m_enable, menu.m_reboot, menu.m_exit})
      QVERIFY2(a->isEnabled(), qPrintable(a->objectName()));
    QVERIFY(!menu.m_entry->isVisible());
    QVERIFY(!menu.m_sep_2->isVisible());
    menu.m_status_clear->trigger();
    QCOMPARE(host.count("clearDisplay"), 1);
    // Online: the entry's submenu, no clearing, switching off or restart.
    menu.setOffline(false);
    for (QAction* a : {menu.m_status_clear, menu.m_enable, menu.m_reboot})
      QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
    QVERIFY(menu.m_exit->isEnabled());
    QVERIFY(menu.m_entry->isVisible());
    QVERIFY(menu.m_sep_2->isVisible());
    menu.setEntry("Provider");
    QCOMPARE(menu.m_entry->text(), QString("Provider"));
    QVERIFY(!menu.keepLineVisible());
    menu.setKeepLineVisible(true);
    menu.m_nohangup->trigger();
    QCOMPARE(host.count("keepLine"), 1);
    QVERIFY(!menu.m_nohangup->isVisible());  // the pending hang-up is cancelled
    menu.m_hangup->trigger();
    QCOMPARE(host.count("hangUp"), 1);
    menu.setAccountChecks(true);
    QVERIFY(menu.m_show_acc->isChecked());
    QVERIFY(!menu.m_show_exp->isChecked());
    menu.setMonitoring(false);
    QCOMPARE(menu.m_enable->text(), QString("Включить"));
    menu.setOffline(true);
    menu.setRecoveryCommandsEnabled(false);
    for (QAction* a : {menu.m_enable, menu.m_reboot, menu.m_exit})
      QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));

    // Help: the manual when the program has one, else the download page; asked at every
    // pop-up.
    emit menu.aboutToShow();
    QVERIFY(!menu.m_help->isVisible());
    QVERIFY(menu.m_get->isVisible());
    host.manual = true;
    emit menu.aboutToShow();
    QVERIFY(menu.m_help->isVisible());
    QVERIFY(!menu.m_get->isVisible());
  }

  void missingCommandsLeaveItemsDisabled() {
    TrayMenu menu(nullptr);
    menu.setOffline(false);
    for (QAction* a : {menu.m_hangup, menu.m_reset, menu.m_stat})
      QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
    QVERIFY(menu.m_status_show->isEnabled());
  }
};

QTEST_MAIN(TrayMenuTest)
#include "tray_menu_test.moc"
