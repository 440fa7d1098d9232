#include "app_icon.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRadialGradient>

namespace {

// The online lamp of the tray with the hands of a meter on it, drawn on a 256-unit square.
// One set of figures feeds both the painter and the SVG, so every size shows the same icon.
struct AppIcon {
  static constexpr double kCentre = 128, kRim = 120, kLamp = 96;
  static constexpr const char* kBody = "#1e242e";
  static constexpr const char* kLight = "#74e08a";
  static constexpr const char* kBase = "#28b040";
  static constexpr const char* kDark = "#166a26";
  static constexpr double kHandWidth = 16;
  static constexpr QPointF kMinuteTip{128, 58}, kHourTip{176, 152};
};

const int kAppIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

QImage appIcon(int size) {
  using A = AppIcon;
  QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 256.0, size / 256.0);
  const QPointF centre(A::kCentre, A::kCentre);
  p.setPen(QPen(Qt::white, 6));
  p.setBrush(QColor(A::kBody));
  p.drawEllipse(centre, A::kRim, A::kRim);
  QRadialGradient lamp(QPointF(104, 98), 128);
  lamp.setColorAt(0, QColor(A::kLight));
  lamp.setColorAt(0.55, QColor(A::kBase));
  lamp.setColorAt(1, QColor(A::kDark));
  p.setPen(Qt::NoPen);
  p.setBrush(lamp);
  p.drawEllipse(centre, A::kLamp, A::kLamp);
  p.setBrush(QColor(255, 255, 255, 110));
  p.drawEllipse(QPointF(96, 84), 36, 22);
  p.setPen(QPen(Qt::white, A::kHandWidth, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(centre, A::kMinuteTip);
  p.drawLine(centre, A::kHourTip);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawEllipse(centre, 14, 14);
  return img;
}

QString appIconSvg() {
  using A = AppIcon;
  return QString(
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
             "viewBox=\"0 0 256 256\">\n"
             "  <defs>\n"
             "    <radialGradient id=\"lamp\" gradientUnits=\"userSpaceOnUse\" cx=\"104\" "
             "cy=\"98\" r=\"128\">\n"
             "      <stop offset=\"0\" stop-color=\"%1\"/>\n"
             "      <stop offset=\"0.55\" stop-color=\"%2\"/>\n"
             "      <stop offset=\"1\" stop-color=\"%3\"/>\n"
             "    </radialGradient>\n"
             "  </defs>\n"
             "  <circle cx=\"128\" cy=\"128\" r=\"%4\" fill=\"%5\" stroke=\"#ffffff\" "
             "stroke-width=\"6\"/>\n"
             "  <circle cx=\"128\" cy=\"128\" r=\"%6\" fill=\"url(#lamp)\"/>\n"
             "  <ellipse cx=\"96\" cy=\"84\" rx=\"36\" ry=\"22\" fill=\"#ffffff\" "
             "fill-opacity=\"0.43\"/>\n"
             "  <g stroke=\"#ffffff\" stroke-width=\"%7\" stroke-linecap=\"round\">\n"
             "    <line x1=\"128\" y1=\"128\" x2=\"%8\" y2=\"%9\"/>\n"
             "    <line x1=\"128\" y1=\"128\" x2=\"%10\" y2=\"%11\"/>\n"
             "  </g>\n"
             "  <circle cx=\"128\" cy=\"128\" r=\"14\" fill=\"#ffffff\"/>\n"
             "</svg>\n")
      .arg(A::kLight, A::kBase, A::kDark)
      .arg(A::kRim)
      .arg(A::kBody)
      .arg(A::kLamp)
      .arg(A::kHandWidth)
      .arg(A::kMinuteTip.x())
      .arg(A::kMinuteTip.y())
      .arg(A::kHourTip.x())
      .arg(A::kHourTip.y());
}

}  // namespace

int writeAppIcons(const QString& outDir) {
  const QString theme = outDir + "/icons/hicolor/";
  int written = 0;
  for (int size : kAppIconSizes) {
    const QString dir = theme + QString("%1x%1/apps").arg(size);
    QDir().mkpath(dir);
    if (appIcon(size).save(dir + "/tarvik.png")) ++written;
  }
  QDir().mkpath(theme + "scalable/apps");
  QFile svg(theme + "scalable/apps/tarvik.svg");
  if (svg.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    svg.write(appIconSvg().toUtf8());
    if (svg.error() == QFile::NoError) ++written;
  }
  return written;
}
