#include "stats/qt/dd_led_bar.h"

#include <QImage>
#include <QPainter>

namespace tarvik {

namespace {

constexpr int kNewWidth = 25;
constexpr int kNewHeight = 147;
// Background left around the segments, across and along the bar.
constexpr int kEdge = 2;

QColor dimmed(const QColor& c) {
  return QColor(c.red() / 2, c.green() / 2, c.blue() / 2);
}

}  // namespace

TDDLedBar::TDDLedBar(QWidget* parent) : QWidget(parent) {
  resize(kNewWidth, kNewHeight);
  // The whole face is painted every time: nothing behind it needs drawing first.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

int TDDLedBar::length() const {
  return orientation_ == Vertical ? height() : width();
}

int TDDLedBar::segmentCount() const {
  return barSize_ > 0 ? std::max(0, (length() - kEdge) / barSize_) : 0;
}

void TDDLedBar::changed() {
  // Synchronous, so a change never waits on the event loop with the old face showing.
  repaint();
}

void TDDLedBar::setColorLow(const QColor& c) {
  colorLow_ = c;
  changed();
}
void TDDLedBar::setColorMid(const QColor& c) {
  colorMid_ = c;
  changed();
}
void TDDLedBar::setColorHi(const QColor& c) {
  colorHi_ = c;
  changed();
}
void TDDLedBar::setBackColor(const QColor& c) {
  backColor_ = c;
  changed();
}
void TDDLedBar::setPosition(qint32 position) {
  position_ = position;
  changed();
}

void TDDLedBar::setMaxValue(qint32 value) {
  if (value == maxValue_) return;
  maxValue_ = value;
  changed();
}

void TDDLedBar::setOrientation(BarOrientation o) {
  if (o == orientation_) return;
  orientation_ = o;
  setGeometry(x(), y(), height(), width());
  changed();
}

void TDDLedBar::setBarSize(quint16 size) {
  if (size <= 2 || size >= length() - 4) return;
  barSize_ = size;
  changed();
}

void TDDLedBar::setLowToMidPos(quint8 percent) {
  if (percent >= 100 || percent <= midToHiPos_) return;
  lowToMidPos_ = percent;
  changed();
}

void TDDLedBar::setMidToHiPos(quint8 percent) {
  if (percent > 100 || percent >= lowToMidPos_) return;
  midToHiPos_ = percent;
  changed();
}

void TDDLedBar::paintEvent(QPaintEvent*) {
  // Drawn off-screen first and copied in one step, so no half-drawn bar is ever seen. The
  // picture has the screen's pixel density, so a scaled page gets sharp segments.
  const qreal ratio = devicePixelRatioF();
  QImage face(size() * ratio, QImage::Format_RGB32);
  face.setDevicePixelRatio(ratio);
  face.fill(backColor_);
  {
    QPainter paint(&face);
    const int n = segmentCount();
    const int w = width();
    const int h = height();
    const int b = barSize_;
    for (int k = 1; k <= n; ++k) {
      const int level = k * 100 / n;
      const QColor& zone = level < 100 - lowToMidPos_  ? colorLow_
                           : level < 100 - midToHiPos_ ? colorMid_
                                                       : colorHi_;
      // Widened, so that a large position or maximum cannot overflow the comparison.
      const bool belowMax = position_ < maxValue_;
      const bool dim = (belowMax && maxValue_ != 0 &&
                        level > static_cast<qint64>(position_) * 100 / maxValue_) ||
                       position_ < level || position_ == 0;
      const QRect segment =
          orientation_ == Vertical
              ? QRect(QPoint(kEdge, h - k * b), QPoint(w - kEdge - 1, h - kEdge - (k - 1) * b - 1))
              : QRect(QPoint((k - 1) * b + kEdge, kEdge), QPoint(k * b - 1, h - kEdge - 1));
      paint.fillRect(segment, dim ? dimmed(zone) : zone);
    }
  }
  QPainter(this).drawImage(0, 0, face);
}

}  // namespace tarvik
