#include <QImage>
#include <QPainter>
#include <QtTest>

#include "stats/qt/dd_led_bar.h"

namespace tarvik {

namespace {

const QColor kGrey(100, 100, 100);

// The bar as the statistics page sets it up: 10 x 88, segments of 5, boundaries 32 and 10.
void pageBar(TDDLedBar& bar) {
  bar.resize(10, 88);
  bar.setBackColor(kGrey);
  bar.setMidToHiPos(10);
  bar.setLowToMidPos(32);
}

QImage picture(TDDLedBar& bar) {
  return bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The colour in the middle of vertical segment k (1 at the bottom).
QColor segment(const QImage& image, int k) {
  return image.pixelColor(image.width() / 2, image.height() - 2 - (k - 1) * 5 - 2);
}

}  // namespace

class DDLedBarTest : public QObject {
  Q_OBJECT

 private slots:
  void defaultsOfANewBar() {
    TDDLedBar bar;
    QCOMPARE(bar.size(), QSize(25, 147));
    QCOMPARE(bar.property("ColorLow").value<QColor>(), QColor(0, 255, 0));
    QCOMPARE(bar.property("ColorMid").value<QColor>(), QColor(255, 255, 0));
    QCOMPARE(bar.property("ColorHi").value<QColor>(), QColor(255, 0, 0));
    QCOMPARE(bar.property("BackColor").value<QColor>(), QColor(0, 0, 0));
    QCOMPARE(bar.property("Orientation").toInt(), int(TDDLedBar::Vertical));
    QCOMPARE(bar.property("MaxValue").toInt(), 100);
    QCOMPARE(bar.property("BarSize").toInt(), 5);
    QCOMPARE(bar.property("Position").toInt(), 0);
    QCOMPARE(bar.property("LowToMidPos").toInt(), 32);
    QCOMPARE(bar.property("MidToHiPos").toInt(), 16);
    QCOMPARE(bar.segmentCount(), 29);  // (147 - 2) / 5
    // Nothing lit at 0: every segment dim.
    const QImage image = picture(bar);
    QCOMPARE(image.pixelColor(12, 144), QColor(0, 127, 0));
    QCOMPARE(image.pixelColor(12, 3), QColor(127, 0, 0));  // segment 29: y 2..4
    QCOMPARE(image.pixelColor(0, 0), QColor(0, 0, 0));
  }

  // The page's bar: 17 segments in their zones, lit up to the position, dim ones halved.
  void pageBarByItsPixels() {
    TDDLedBar bar;
    pageBar(bar);
    QCOMPARE(bar.segmentCount(), 17);
    bar.setPosition(50);
    QImage image = picture(bar);
    const QColor lime(0, 255, 0), yellow(255, 255, 0), red(255, 0, 0);
    for (int k = 1; k <= 17; ++k) {
      const QColor zone = k <= 11 ? lime : k <= 15 ? yellow : red;
      const QColor expected =
          k <= 8 ? zone : QColor(zone.red() / 2, zone.green() / 2, zone.blue() / 2);
      QVERIFY2(segment(image, k) == expected, qPrintable(QString("segment %1").arg(k)));
    }
    QCOMPARE(segment(image, 9), QColor(0, 127, 0));
    QCOMPARE(segment(image, 13), QColor(127, 127, 0));
    QCOMPARE(segment(image, 17), QColor(127, 0, 0));
    // Segment 1 covers x 2..7 and y 83..85; the 2-pixel gaps and the edges are background.
    QCOMPARE(image.pixelColor(2, 83), lime);
    QCOMPARE(image.pixelColor(7, 85), lime);
    QCOMPARE(image.pixelColor(1, 84), kGrey);
    QCOMPARE(image.pixelColor(8, 84), kGrey);
    QCOMPARE(image.pixelColor(5, 86), kGrey);
    QCOMPARE(image.pixelColor(5, 82), kGrey);
    QCOMPARE(image.pixelColor(5, 81), kGrey);
    QCOMPARE(image.pixelColor(5, 80), lime);  // segment 2: y 78..80
    QCOMPARE(image.pixelColor(5, 2), kGrey);  // above segment 17: y 3..5
    QCOMPARE(image.pixelColor(5, 3), QColor(127, 0, 0));

    // 75 lights up to level 70 (12 segments); 140 and above light all; negatives none.
    bar.setPosition(75);
    image = picture(bar);
    QCOMPARE(segment(image, 12), yellow);
    QCOMPARE(segment(image, 13), QColor(127, 127, 0));
    bar.setPosition(140);
    image = picture(bar);
    QCOMPARE(segment(image, 17), red);
    QCOMPARE(segment(image, 1), lime);
    bar.setPosition(-5);
    QCOMPARE(segment(picture(bar), 1), QColor(0, 127, 0));
  }

  void settersRefuseWhatTheBarCannotShow() {
    TDDLedBar bar;
    pageBar(bar);
    bar.setMidToHiPos(10);
    bar.setLowToMidPos(5);  // not above MidToHiPos
    QCOMPARE(int(bar.lowToMidPos()), 32);
    bar.setMidToHiPos(32);  // not below LowToMidPos
    QCOMPARE(int(bar.midToHiPos()), 10);
    bar.setLowToMidPos(100);
    QCOMPARE(int(bar.lowToMidPos()), 32);
    bar.setBarSize(2);
    QCOMPARE(int(bar.barSize()), 5);
    bar.setBarSize(84);  // not below the length less 4
    QCOMPARE(int(bar.barSize()), 5);
    bar.setBarSize(10);
    QCOMPARE(bar.segmentCount(), 8);
    bar.setBarSize(5);

    // A horizontal bar turns about its corner and fills from the left.
    bar.move(3, 4);
    bar.setOrientation(TDDLedBar::Horizontal);
    QCOMPARE(bar.geometry(), QRect(3, 4, 88, 10));
    QCOMPARE(bar.segmentCount(), 17);
    bar.setPosition(50);
    const QImage image = picture(bar);
    QCOMPARE(image.pixelColor(2, 5), QColor(0, 255, 0));   // segment 1: x 2..4
    QCOMPARE(image.pixelColor(5, 5), kGrey);               // its gap
    QCOMPARE(image.pixelColor(37, 5), QColor(0, 255, 0));  // segment 8: x 37..39
    QCOMPARE(image.pixelColor(42, 5), QColor(0, 127, 0));  // segment 9 dim
    QCOMPARE(image.pixelColor(42, 1), kGrey);

    // Another maximum: half of 1000 lights half the bar.
    bar.setOrientation(TDDLedBar::Vertical);
    bar.setMaxValue(1000);
    bar.setPosition(500);
    QCOMPARE(segment(picture(bar), 8), QColor(0, 255, 0));
    QCOMPARE(segment(picture(bar), 9), QColor(0, 127, 0));
  }

  // A scaled screen gets the same bar at twice the pixels, with sharp segments.
  void scalesWithThePage() {
    TDDLedBar bar;
    pageBar(bar);
    bar.setPosition(50);
    QImage image(20, 176, QImage::Format_RGB32);
    image.setDevicePixelRatio(2);
    bar.render(&image);
    QCOMPARE(image.pixelColor(4, 166), QColor(0, 255, 0));  // segment 1: y 166..171
    QCOMPARE(image.pixelColor(15, 171), QColor(0, 255, 0));
    QCOMPARE(image.pixelColor(3, 168), kGrey);
    QCOMPARE(image.pixelColor(10, 165), kGrey);
    QCOMPARE(image.pixelColor(10, 100), QColor(0, 255, 0));  // segment 8
    QCOMPARE(image.pixelColor(10, 90), QColor(0, 127, 0));   // segment 9
  }
};

}  // namespace tarvik

QTEST_MAIN(tarvik::DDLedBarTest)
#include "dd_led_bar_test.moc"
