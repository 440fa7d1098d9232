#include "status/qt/skin_view.h"

#include <QTemporaryDir>
#include <QtTest>

#include "config/ini_file.h"
#include "platform/virtual_clock.h"
#include "status/qt/ttarvik.h"
#include "tests/support/fake_user.h"

using namespace tarvik;

class SkinViewTest : public QObject {
  Q_OBJECT

 private slots:
  // A preview drawn into any widget shows exactly what the status window shows.
  void aPreviewLooksLikeTheWindow() {
    QTemporaryDir dir;
    ProgramFiles files{dir.path().toStdString()};
    VirtualClock clock;
    EventLog log(files.eventLog(), clock);
    for (const char* skin : {"Default", "Advanced"}) {
      for (int full : {0, 1}) {
        IniFile config(files.config());
        config.writeString("Olm:TK:Skin", "SkinName", skin);
        config.writeInt("Olm:TK:Skin", "SkinSize", full);
        Ttarvik window(files, log, clock);
        QVERIFY(window.loadSkin());

        QWidget host;
        host.setAutoFillBackground(true);
        host.setBackgroundRole(QPalette::Button);
        SkinView preview(host, nullptr);
        test::FakeUser user;
        const SkinLoadResult loaded =
            SkinLoader(files, log, user).load(readSkinChoice(files), preview.pictures());
        QVERIFY(loaded.ok);
        preview.apply(loaded.layout, loaded.header.doubleMode);
        preview.showState("di");

        const std::pair<DisplayField, const char*> texts[] = {{DisplayField::Time, "01:23:45"},
                                                              {DisplayField::Money, "12,34"},
                                                              {DisplayField::Currency, "$"},
                                                              {DisplayField::Entry, "Provider"},
                                                              {DisplayField::Tariff, "Day"}};
        for (const auto& [field, text] : texts) {
          window.setField(field, text);
          preview.setField(field, text);
        }
        QCOMPARE(host.size(), window.size());
        QCOMPARE(host.mask(), window.mask());
        QCOMPARE(host.grab().toImage(), window.grab().toImage());
        QCOMPARE(host.findChild<QLabel*>("i_switch")->isVisibleTo(&host), true);
      }
    }
  }
};

QTEST_MAIN(SkinViewTest)
#include "skin_view_test.moc"
