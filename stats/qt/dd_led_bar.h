#pragma once

#include <QColor>
#include <QWidget>
#include <cstdint>

namespace tarvik {

// A value drawn as a column (or row) of LED segments in three colour zones: lit up to the
// value, dimmed (each colour component halved) above it. Segment 1 sits at the bottom of a
// vertical bar and at the left of a horizontal one; each segment takes BarSize pixels along
// the bar, its last two a gap of background. The top LowToMidPos percent of the bar are the
// middle and high zones, the top MidToHiPos percent the high zone. Every setter repaints at
// once; a value a setter refuses is ignored without a word.
class TDDLedBar : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QColor ColorLow READ colorLow WRITE setColorLow)
  Q_PROPERTY(QColor ColorMid READ colorMid WRITE setColorMid)
  Q_PROPERTY(QColor ColorHi READ colorHi WRITE setColorHi)
  Q_PROPERTY(BarOrientation Orientation READ orientation WRITE setOrientation)
  Q_PROPERTY(qint32 MaxValue READ maxValue WRITE setMaxValue)
  Q_PROPERTY(QColor BackColor READ backColor WRITE setBackColor)
  Q_PROPERTY(quint16 BarSize READ barSize WRITE setBarSize)
  Q_PROPERTY(qint32 Position READ position WRITE setPosition)
  Q_PROPERTY(quint8 LowToMidPos READ lowToMidPos WRITE setLowToMidPos)
  Q_PROPERTY(quint8 MidToHiPos READ midToHiPos WRITE setMidToHiPos)

 public:
  enum BarOrientation { Horizontal = 0, Vertical = 1 };
  Q_ENUM(BarOrientation)

  explicit TDDLedBar(QWidget* parent = nullptr);

  QColor colorLow() const { return colorLow_; }
  QColor colorMid() const { return colorMid_; }
  QColor colorHi() const { return colorHi_; }
  BarOrientation orientation() const { return orientation_; }
  qint32 maxValue() const { return maxValue_; }
  QColor backColor() const { return backColor_; }
  quint16 barSize() const { return barSize_; }
  qint32 position() const { return position_; }
  quint8 lowToMidPos() const { return lowToMidPos_; }
  quint8 midToHiPos() const { return midToHiPos_; }
  // Segments that fit the bar's length now.
  int segmentCount() const;

  void setColorLow(const QColor& c);
  void setColorMid(const QColor& c);
  void setColorHi(const QColor& c);
  void setBackColor(const QColor& c);
  void setPosition(qint32 position);  // any value: above the maximum all lit, 0 or below none
  void setMaxValue(qint32 value);
  // A new orientation turns the bar: width and height swap, the top-left corner stays.
  void setOrientation(BarOrientation o);
  // Accepted when above 2 and below the bar's length less 4.
  void setBarSize(quint16 size);
  // Accepted when below 100 and above MidToHiPos.
  void setLowToMidPos(quint8 percent);
  // Accepted when at most 100 and below LowToMidPos.
  void setMidToHiPos(quint8 percent);

  QSize sizeHint() const override { return size(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int length() const;
  void changed();

  QColor colorLow_{0, 255, 0};
  QColor colorMid_{255, 255, 0};
  QColor colorHi_{255, 0, 0};
  BarOrientation orientation_ = Vertical;
  qint32 maxValue_ = 100;
  QColor backColor_{0, 0, 0};
  quint16 barSize_ = 5;
  qint32 position_ = 0;
  quint8 lowToMidPos_ = 32;
  quint8 midToHiPos_ = 16;
};

}  // namespace tarvik
