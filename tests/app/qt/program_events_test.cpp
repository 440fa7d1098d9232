#include "app/qt/program_events.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>

#include "app/qt/lazy_settings_dialog.h"
#include "settings/qt/dialog_fixture.h"
#include "status/qt/ttarvik.h"

using namespace tarvik;

class ProgramEventsTest : public QObject {
  Q_OBJECT

 private slots:
  // The one source reaches every window that listens: the core's booking and service switch
  // reach an open settings dialog (and nothing before it is made), the status window's showings
  // go out as figuresShown, and the status window hands a drag's end to the dialog only while
  // the dialog is shown.
  void everyListenerHearsItsEvents() {
    test::ProgramDir dir;
    VirtualClock clock;
    EventLog log(dir.files().eventLog(), clock);
    test::RecordingHost host;
    host.entries = {"Inet"};
    ProgramEvents events;
    LazySettingsDialog settings(dir.files(), log, host);
    settings.listenTo(events);
    Ttarvik window(dir.files(), log, clock);
    events.relayShownFigures(window);
    window.setSettingsWindow(&settings);
    QSignalSpy shownFigures(&events, &ProgramEvents::figuresShown);

    events.sink().connectionBooked("Inet", 0);
    events.sink().serviceSwitched();
    QVERIFY(!settings.made());
    QVERIFY(!settings.shown());

    dir.writeConfig("[Olm:TK]\nO=1\n[Inet]\nDone=1\n");
    dir.writeStatistics("[Inet]\nTimeTC=60\n");
    settings.openOn(PageId::Stat);
    QVERIFY(settings.shown());
    Tsettings& dialog = *settings.made();
    auto* entry = dialog.findChild<QComboBox*>("o_entry");
    entry->setCurrentIndex(1);
    auto* time = dialog.findChild<QLabel*>("st_tim_tc");
    QCOMPARE(time->text(), QString("00:01:00"));

    dir.writeStatistics("[Inet]\nTimeTC=3723\n");
    events.sink().connectionBooked("Inet", 0);
    QCOMPARE(time->text(), QString("01:02:03"));
    events.sink().connectionBooked("Other", 0);
    QCOMPARE(time->text(), QString("01:02:03"));

    host.entries = {"Inet", "Мобильный"};
    events.sink().serviceSwitched();
    QCOMPARE(entry->count(), 3);
    QCOMPARE(entry->currentText(), QString("Inet"));

    window.setField(DisplayField::Time, "00:00:01");
    QCOMPARE(shownFigures.count(), 1);

    // A drag ends at (40, 30): the dialog's position fields follow a quarter second later.
    window.move(40, 30);
    window.behaviour().dragStart({1, 1});
    window.behaviour().dragEnd();
    clock.advance(250);
    QCOMPARE(dialog.findChild<QSpinBox*>("e_xx")->value(), 40);
    QCOMPARE(dialog.findChild<QSpinBox*>("e_yy")->value(), 30);

    // Closed, the dialog hears nothing more and goes once the event loop has run.
    settings.cancel();
    QVERIFY(!settings.shown());
    window.behaviour().dragStart({1, 1});
    window.behaviour().dragEnd();
    QVERIFY(!window.behaviour().t_hold().enabled());
    QTRY_VERIFY(!settings.made());
    events.sink().connectionBooked("Inet", 2);
  }
};

QTEST_MAIN(ProgramEventsTest)
#include "program_events_test.moc"
