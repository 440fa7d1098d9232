#include "status/qt/skin_view.h"

#include <QTemporaryDir>
#include <QtTest>

#include "config/ini_file.h"
#include "platform/linux/log_viewer.h"
#include "platform/qt/help_window.h"
#include "platform/virtual_clock.h"
#include "status/qt/ttarvik.h"
#include "tests/support/fake_user.h"
#include "tests/support/fifo_guard.h"

using namespace tarvik;

class SkinViewTest : public QObject {
  Q_OBJECT

 private slots:
  // A picture, log or manual that is a FIFO or a device (a downloaded skin can hold one) is
  // refused at once; a real picture still loads from its checked bytes.
  void filesThatAreNoRegularFilesAreRefusedWithoutWaiting() {
    QTemporaryDir dir;
    const std::filesystem::path root = dir.path().toStdString();
    test::FifoGuard fifos;
    const std::filesystem::path fifo = fifos.make(root / "i_face.bmp");
    std::filesystem::create_symlink("/dev/zero", root / "zero.bmp");
    QImage face(30, 20, QImage::Format_RGB32);
    face.fill(Qt::red);
    QVERIFY(face.save(QString::fromStdString((root / "face.png").string())));

    QtSkinPictures pictures;
    QVERIFY(pictures.loadFile(SkinBitmap::Face, root / "face.png"));
    QCOMPARE(pictures.picture(SkinBitmap::Face).size(), QSize(30, 20));
    QVERIFY(!pictures.loadFile(SkinBitmap::Face, fifo));
    QVERIFY(!pictures.loadFile(SkinBitmap::Face, root / "zero.bmp"));
    LogViewer viewer;
    QVERIFY(!viewer.load(fifo));
    QVERIFY(!viewer.load(root / "zero.bmp"));
    QVERIFY(!HelpWindow::exists(QString::fromStdString(fifo.string())));
    QVERIFY2(!fifos.blocked(), "a reader waited on a FIFO");
  }
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
  // The skins were laid out for Windows fonts; their metric-compatible stand-ins must keep
  // every text inside its box and the window (digits neither cut at the bottom nor at the top)
  // and the full mode's lower texts below the line that ends the compact half of the standard
  // skin's face.
  void textsSitInTheirBoxes() {
    QTemporaryDir dir;
    ProgramFiles files{dir.path().toStdString()};
    VirtualClock clock;
    EventLog log(files.eventLog(), clock);
    test::FakeUser user;
    const std::pair<DisplayField, const char*> texts[] = {{DisplayField::Time, "88:88:88"},
                                                          {DisplayField::Money, "888,88"},
                                                          {DisplayField::Currency, "ц"},
                                                          {DisplayField::Entry, "Provider"},
                                                          {DisplayField::Tariff, "Day"}};
    const char* names[] = {"s_time_s", "s_money_s", "s_cur_s", "s_entry_s", "s_tariff_s"};
    for (const char* skin : {"Default", "Advanced"}) {
      for (int full : {0, 1}) {
        IniFile config(files.config());
        config.writeString("Olm:TK:Skin", "SkinName", skin);
        config.writeInt("Olm:TK:Skin", "SkinSize", full);
        QWidget host;
        SkinView view(host, nullptr);
        const SkinLoadResult loaded =
            SkinLoader(files, log, user).load(readSkinChoice(files), view.pictures());
        QVERIFY(loaded.ok);
        view.apply(loaded.layout, loaded.header.doubleMode);
        for (const auto& [field, text] : texts) {
          view.setField(field, QString::fromUtf8(text));
          const QLabel* label = host.findChild<QLabel*>(names[static_cast<int>(field)]);
          if (!label->isVisibleTo(&host)) continue;
          const QString where = QString("%1 %2 %3").arg(skin).arg(full).arg(label->objectName());
          const SkinText& object = loaded.layout.texts[static_cast<std::size_t>(field)];
          const QString expected =
              object.font == "Courier New" ? "Liberation Mono" : "Liberation Sans";
          QCOMPARE(QFontInfo(label->font()).family(), expected);
          const QFontMetrics metrics(label->font());
          const QRect box = label->geometry();
          const QRect inner = label->contentsRect().translated(box.topLeft());
          QRect ink = metrics.tightBoundingRect(label->text());
          const int advance = metrics.horizontalAdvance(label->text());
          const int left = label->alignment() & Qt::AlignRight ? inner.right() + 1 - advance
                           : label->alignment() & Qt::AlignHCenter
                               ? inner.center().x() - advance / 2
                               : inner.left();
          ink.translate(left, inner.top() + metrics.ascent());
          QVERIFY2(box.contains(ink), qPrintable(where));
          QVERIFY2(host.rect().contains(ink), qPrintable(where));
          if (QString(skin) == "Default" && field >= DisplayField::Entry)
            QVERIFY2(ink.top() > 19, qPrintable(where));
        }
      }
    }
  }
};

QTEST_MAIN(SkinViewTest)
#include "skin_view_test.moc"
