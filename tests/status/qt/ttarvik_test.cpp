#include "status/qt/ttarvik.h"

#include "status/qt/recording_tray_host.h"

#include <QAction>
#include <QApplication>
#include <QLayout>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cstdlib>
#include <fstream>

#include "config/ini_file.h"
#include "platform/qt/message_box.h"
#include "platform/virtual_clock.h"
#include "status/qt/recovery_dialog.h"

using namespace tarvik;

class TtarvikTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> dir_;
  ProgramFiles files_;
  VirtualClock clock_;
  std::unique_ptr<EventLog> log_;

  std::unique_ptr<Ttarvik> make() { return std::make_unique<Ttarvik>(files_, *log_, clock_); }
  IniFile config() const { return IniFile(files_.config()); }
  void chooseSkin(const std::string& name, int full, int external = 0) {
    IniFile c = config();
    c.writeString("Olm:TK:Skin", "SkinName", name);
    c.writeInt("Olm:TK:Skin", "SkinSize", full);
    c.writeInt("Olm:TK:Skin", "SkinExternal", external);
  }
  static QAction* item(Ttarvik& w, const char* name) {
    QAction* a = w.trayPopUp()->findChild<QAction*>(name);
    if (!a) qFatal("no menu item %s", name);
    return a;
  }
  template <typename T = QLabel>
  static T* child(Ttarvik& w, const char* name) {
    T* c = w.findChild<T*>(name);
    if (!c) qFatal("no child %s", name);
    return c;
  }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    files_.dir = dir_->path().toStdString();
    log_ = std::make_unique<EventLog>(files_.eventLog(), clock_);
  }

  void sizeAndMaskPerSkinAndMode_data() {
    QTest::addColumn<QString>("skin");
    QTest::addColumn<int>("full");
    QTest::addColumn<QSize>("size");
    QTest::newRow("standard compact") << "Default" << 0 << QSize(75, 20);
    QTest::newRow("standard full") << "Default" << 1 << QSize(75, 40);
    QTest::newRow("advanced compact") << "Advanced" << 0 << QSize(99, 26);
    QTest::newRow("advanced full") << "Advanced" << 1 << QSize(99, 50);
  }
  void sizeAndMaskPerSkinAndMode() {
    QFETCH(QString, skin);
    QFETCH(int, full);
    QFETCH(QSize, size);
    chooseSkin(skin.toStdString(), full);
    auto w = make();
    QVERIFY(w->loadSkin());
    QCOMPARE(w->size(), size);
    const QRegion mask = w->mask();
    QVERIFY(!mask.isEmpty());
    QVERIFY(mask.boundingRect().width() <= size.width());
    QVERIFY(mask.boundingRect().height() <= size.height());
    QVERIFY(mask.boundingRect().width() >= size.width() - 1);
    QVERIFY(mask.contains(QPoint(size.width() / 2, size.height() / 2)));
    if (skin == "Advanced") {
      QVERIFY(!mask.contains(QPoint(1, 1)));    // the rounded corner is cut away
      QVERIFY(!mask.contains(QPoint(98, 20)));  // and the notch on the right
    }
    QCOMPARE(item(*w, "m_full")->isChecked(), full == 1);
    QCOMPARE(item(*w, "m_compact")->isChecked(), full == 0);
    QVERIFY(item(*w, "m_status_mode")->isVisible());
    QVERIFY(!child(*w, "i_face")->pixmap().isNull());
    QVERIFY(!child(*w, "i_ind")->pixmap().isNull());
    QVERIFY(!child(*w, "i_hide")->pixmap().isNull());
    if (skin == "Advanced") QCOMPARE(child(*w, "i_ind")->size(), QSize(25, 25));
    if (skin == "Default") QCOMPARE(child(*w, "i_ind")->size(), QSize(8, 14));
    if (!qEnvironmentVariableIsEmpty("TARVIK_GRAB_DIR")) {
      w->setField(DisplayField::Time, "01:23:45");
      w->setField(DisplayField::Money, "12,34");
      w->setField(DisplayField::Currency, "$");
      w->setField(DisplayField::Entry, "Provider");
      w->setField(DisplayField::Tariff, "Day");
      w->grab().scaled(size * 4).save(qEnvironmentVariable("TARVIK_GRAB_DIR") + "/" + skin +
                                      QString::number(full) + ".png");
    }
  }

  void shadowCopies() {
    chooseSkin("Advanced", 0);
    auto w = make();
    QVERIFY(w->loadSkin());
    w->show();
    const char* pairs[5][2] = {{"s_time_s", "s_time"},
                               {"s_money_s", "s_money"},
                               {"s_cur_s", "s_cur"},
                               {"s_entry_s", "s_entry"},
                               {"s_tariff_s", "s_tariff"}};
    w->setField(DisplayField::Time, "00:00:07");
    QCOMPARE(child(*w, "s_time")->text(), QString("00:00:07"));
    // A connection coming up starts the time field from zero, shadow copy included.
    w->setOnlineMenu(false, true);
    QCOMPARE(child(*w, "s_time")->text(), QString("00:00:00"));
    QCOMPARE(child(*w, "s_time_s")->text(), QString("00:00:00"));
    QVERIFY(item(*w, "m_entry")->isVisible());
    for (auto& p : pairs) {
      QLabel* text = child(*w, p[0]);
      QLabel* shadow = child(*w, p[1]);
      QCOMPARE(shadow->pos(), text->pos() + QPoint(1, 1));
      QCOMPARE(shadow->size(), text->size());
    }
    QCOMPARE(child(*w, "s_time_s")->pos(), QPoint(28, -2));
    QCOMPARE(child(*w, "s_time_s")->palette().color(QPalette::WindowText), QColor(50, 100, 150));
    QCOMPARE(child(*w, "s_time")->palette().color(QPalette::WindowText), QColor(255, 255, 255));
    QCOMPARE(child(*w, "s_time_s")->font().pixelSize(), 11);
    QVERIFY(child(*w, "s_time_s")->font().bold());
    QVERIFY(child(*w, "s_time")->isVisible());
    QVERIFY(child(*w, "s_cur")->isVisible());
    // Entry and tariff belong to the full mode only, shadows included.
    for (const char* name : {"s_entry_s", "s_entry", "s_tariff_s", "s_tariff"})
      QVERIFY2(!child(*w, name)->isVisible(), name);

    w->switchMode();
    QCOMPARE(w->size(), QSize(99, 50));
    QCOMPARE(config().readInt("Olm:TK:Skin", "SkinSize", 0), 1);
    for (const char* name : {"s_entry_s", "s_entry", "s_tariff_s", "s_tariff"})
      QVERIFY2(child(*w, name)->isVisible(), name);
    QCOMPARE(child(*w, "s_tariff_s")->pos(), QPoint(29, 22));
    // Compact checked again while compact would be in force switches anyway: the items toggle.
    item(*w, "m_compact")->trigger();
    QCOMPARE(w->size(), QSize(99, 26));
    item(*w, "m_compact")->trigger();
    QCOMPARE(w->size(), QSize(99, 50));
  }

  void doubleClickActions() {
    auto w = make();
    test::RecordingTrayHost host;
    w->setHost(&host);
    const auto stats = [&] {
      return host.lastPage == PageId::Stat ? host.count("openSettings") : -1;
    };
    const auto toggles = [&] { return host.count("reloadEntrySettings"); };
    const auto hangups = [&] { return host.count("hangUp"); };
    const auto keeps = [&] { return host.count("keepLine"); };
    bool& active = host.active;
    auto action = [&](int n) { config().writeInt("Olm:TK", "Action", n); };

    w->windowDoubleClicked();  // Action 0 by default
    QCOMPARE(stats(), 1);
    action(2);
    w->windowDoubleClicked();
    QCOMPARE(toggles(), 1);
    QCOMPARE(config().readInt("Default", "AccountDisplay", -1), 1);
    QVERIFY(item(*w, "m_show_acc")->isChecked());
    action(3);
    QVERIFY(w->loadSkin());
    w->windowDoubleClicked();
    QVERIFY(w->fullModeChecked());
    action(4);
    w->windowDoubleClicked();  // offline: nothing
    QCOMPARE(hangups(), 0);
    active = true;
    w->windowDoubleClicked();
    QCOMPARE(hangups(), 1);
    action(5);
    w->windowDoubleClicked();  // no pending hang-up
    QCOMPARE(keeps(), 0);
    w->setKeepLineMenu(true);
    w->windowDoubleClicked();
    QCOMPARE(keeps(), 1);
    QVERIFY(!item(*w, "m_nohangup")->isVisible());
    action(9);
    w->windowDoubleClicked();
    QCOMPARE(stats() + toggles() + hangups() + keeps(), 4);

    // Action 1 hides the window.
    config().writeInt("Olm:TK", "Fade", 0);
    action(1);
    w->showStatusWindow();
    QVERIFY(w->isVisible());
    w->windowDoubleClicked();
    QVERIFY(!w->isVisible());
  }

  void trayDoubleClickOpensStatisticsOnly() {
    auto w = make();
    test::RecordingTrayHost host;
    w->setHost(&host);
    config().writeInt("Olm:TK", "Fade", 0);
    emit w->trayIcon().activated(QSystemTrayIcon::Trigger);
    emit w->trayIcon().activated(QSystemTrayIcon::DoubleClick);
    QTest::qWait(QApplication::doubleClickInterval() + 100);
    QCOMPARE(host.count("openSettings"), 1);
    QVERIFY(host.lastPage == PageId::Stat);
    QVERIFY(!w->isVisible());
    // A single click shows the window once the double-click time has passed.
    emit w->trayIcon().activated(QSystemTrayIcon::Trigger);
    QVERIFY(!w->isVisible());
    QTRY_VERIFY(w->isVisible());
  }

  void recoveryQuestionThroughTheWindow() {
    chooseSkin("Advanced", 0);
    auto w = make();
    QVERIFY(w->loadSkin());
    w->showStateCode("di");
    const QImage di = child(*w, "i_ind")->pixmap().toImage();
    w->showStateCode("of");
    bool disabledWhileAsked = false;
    bool remindOffered = true;
    QTimer::singleShot(50, [&] {
      disabledWhileAsked = !w->isEnabled();
      auto* dialog = qobject_cast<RecoveryDialog*>(QApplication::activeModalWidget());
      QVERIFY(dialog);
      remindOffered = dialog->laterButton()->isEnabled();
      dialog->ignoreButton()->click();
    });
    QCOMPARE(w->askRecovery("text", false), RecoveryAnswer::Ignore);
    QVERIFY(disabledWhileAsked);
    QVERIFY(!remindOffered);
    QVERIFY(w->isEnabled());
    QCOMPARE(child(*w, "i_ind")->pixmap().toImage(), di);  // "di" once the question is over
  }

  void missingExternalBitmapFallsBackToStandardSkin() {
    const std::filesystem::path skin = files_.dir / "myskin";
    std::filesystem::create_directories(skin);
    std::ofstream(skin / "skin.qsf") << "[skin]\ndouble=1\ngeneration=4\n";
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    for (const char* name : kSkinBitmapNames)
      if (std::string(name) != "switch_dn")
        QVERIFY(
            picture.save(QString::fromStdString((skin / (std::string(name) + ".bmp")).string())));
    chooseSkin(skin.string() + "/", 1, 1);
    message_box::setNextAnswer(QMessageBox::Ok);
    auto w = make();
    QVERIFY(!w->loadSkin());
    QCOMPARE(message_box::takeAnsweredTexts().size(), 1);  // the user is told once
    QCOMPARE(config().readInt("Olm:TK:Skin", "SkinExternal", -1), 0);
    QCOMPARE(config().readString("Olm:TK:Skin", "SkinName"), std::string("Default"));
    QCOMPARE(config().readInt("Olm:TK:Skin", "SkinSize", -1), 0);
    QVERIFY(w->loadSkin());  // the caller's second run
    QCOMPARE(w->size(), QSize(75, 20));

    // A gigantic picture counts as unreadable.
    QImage huge(5000, 2, QImage::Format_Mono);
    huge.fill(0);
    QVERIFY(huge.save(QString::fromStdString((skin / "switch_dn.bmp").string())));
    chooseSkin(skin.string() + "/", 0, 1);
    message_box::setNextAnswer(QMessageBox::Ok);
    QVERIFY(!w->loadSkin());
    QCOMPARE(config().readString("Olm:TK:Skin", "SkinName"), std::string("Default"));
    QCOMPARE(message_box::takeAnsweredTexts().size(), 1);
  }

  void buttonPicturesAndClicks() {
    chooseSkin("Advanced", 0);
    config().writeInt("Olm:TK", "Fade", 0);
    auto w = make();
    QVERIFY(w->loadSkin());
    w->showStatusWindow();
    QLabel* hide = child(*w, "i_hide");
    QLabel* face = child(*w, "i_face");
    const QImage normal = hide->pixmap().toImage();
    auto move = [](QWidget* target) {
      QMouseEvent e(QEvent::MouseMove, QPointF(2, 2), target->mapToGlobal(QPointF(2, 2)),
                    Qt::NoButton, Qt::NoButton, Qt::NoModifier);
      QCoreApplication::sendEvent(target, &e);
    };
    move(hide);
    const QImage hover = hide->pixmap().toImage();
    QVERIFY(hover != normal);
    // Moving on to the face gives the button its normal picture back.
    move(face);
    QCOMPARE(hide->pixmap().toImage(), normal);
    QTest::mousePress(hide, Qt::LeftButton, {}, QPoint(2, 2));
    QVERIFY(hide->pixmap().toImage() != normal);
    QVERIFY(hide->pixmap().toImage() != hover);
    QTest::mouseRelease(hide, Qt::LeftButton, {}, QPoint(2, 2));
    QCOMPARE(hide->pixmap().toImage(), normal);
    QVERIFY(!w->isVisible());  // a click on the hide button hides the window

    w->showStatusWindow();
    QTest::mouseClick(child(*w, "i_switch"), Qt::LeftButton, {}, QPoint(2, 2));
    QCOMPARE(w->size(), QSize(99, 50));
    QVERIFY(item(*w, "m_full")->isChecked());
  }

  void hidingStopsTheDisconnectTimer() {
    chooseSkin("Advanced", 0);
    config().writeInt("Olm:TK", "Fade", 0);
    auto w = make();
    QVERIFY(w->loadSkin());
    std::unique_ptr<Timer> t_hide = clock_.createTimer("t_hide");
    t_hide->setInterval(10000);
    w->setHideTimer(*t_hide);
    w->showStatusWindow();
    t_hide->setEnabled(true);  // a disconnection armed it
    QTest::mouseClick(child(*w, "i_hide"), Qt::LeftButton, {}, QPoint(2, 2));
    QVERIFY(!w->isVisible());
    QVERIFY(!t_hide->enabled());
    // Shown again by the user, the window stays until hidden anew.
    w->showStatusWindow();
    clock_.advance(10000);
    QVERIFY(w->isVisible());
  }

  // Showing a hidden window reads the configuration again (the entry's too while online); the
  // re-read may ask to show the window again, which must not start another re-read.
  void showingAHiddenWindowRereadsTheSettings() {
    chooseSkin("Advanced", 0);
    config().writeInt("Olm:TK", "Fade", 0);
    auto w = make();
    QVERIFY(w->loadSkin());
    test::RecordingTrayHost host;
    host.whenWindowShown = [&] {
      QVERIFY(w->isVisible());
      w->showStatusWindow();
    };
    w->setHost(&host);
    const auto rereads = [&] { return host.count("windowShown"); };
    item(*w, "m_status_show")->trigger();
    QCOMPARE(rereads(), 1);
    item(*w, "m_status_show")->trigger();  // already shown
    QCOMPARE(rereads(), 1);
    item(*w, "m_status_hide")->trigger();
    QVERIFY(!w->isVisible());
    w->trayClicked();
    QCOMPARE(rereads(), 2);
  }

  void inertWindowStaysOutOfSightUntilTheEnd() {
    chooseSkin("Advanced", 0);
    config().writeInt("Olm:TK", "Fade", 0);
    config().writeInt("Olm:TK", "X", 100);
    config().writeInt("Olm:TK", "Y", 100);
    auto w = make();
    QVERIFY(w->loadSkin());
    w->makeInert();
    QVERIFY(!w->isEnabled());
    // The end of a delayed start: shown and brought to the front just before terminate().
    w->showStatusWindow();
    w->bringStatusWindowToFront();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QVERIFY2(!w->isVisible() || !screen.intersects(w->frameGeometry()),
             qPrintable(QString("window at %1,%2").arg(w->x()).arg(w->y())));
  }

  void stateCodesSetIndicatorAndTray() {
    chooseSkin("Advanced", 0);
    auto w = make();
    QVERIFY(w->loadSkin());
    w->showStateCode("on");
    const QImage on = child(*w, "i_ind")->pixmap().toImage();
    w->showStateCode("of");
    QVERIFY(child(*w, "i_ind")->pixmap().toImage() != on);
    w->showStateCode("zz");  // unknown: nothing changes
    QVERIFY(child(*w, "i_ind")->pixmap().toImage() != on);
    QVERIFY(!w->trayIcon().icon().isNull());
    QCOMPARE(w->trayIcon().toolTip(), QString("Tarvik v4.0"));

    // Online, both tooltips carry the connection's lines; the tray keeps the name on top.
    w->setOnlineHint("↓ 12,4 МБ  ↑ 1,1 МБ\nс 18:00: 1200 ц/час");
    QCOMPARE(w->trayIcon().toolTip(),
             QString::fromUtf8("Tarvik v4.0\n↓ 12,4 МБ  ↑ 1,1 МБ\nс 18:00: 1200 ц/час"));
    QCOMPARE(w->toolTip(), QString::fromUtf8("↓ 12,4 МБ  ↑ 1,1 МБ\nс 18:00: 1200 ц/час"));
    QVERIFY(child(*w, "i_ind")->toolTip().isEmpty());  // hovering a part shows the window's
    w->setOnlineHint("");
    QCOMPARE(w->trayIcon().toolTip(), QString("Tarvik v4.0"));
    QCOMPARE(w->toolTip(), QString());

    // A hint set while a connection is metered waits for its end, and stays after it.
    w->setOnlineHint("↓ 1 МБ");
    w->setTrayHint("Tarvik v4.0\nнастройки");
    QCOMPARE(w->trayIcon().toolTip(), QString::fromUtf8("Tarvik v4.0\n↓ 1 МБ"));
    w->setOnlineHint("");
    QCOMPARE(w->trayIcon().toolTip(), QString::fromUtf8("Tarvik v4.0\nнастройки"));
  }
};

QTEST_MAIN(TtarvikTest)
#include "ttarvik_test.moc"
