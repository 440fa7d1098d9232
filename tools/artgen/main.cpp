// Draws the artwork the program carries: the pictures of the two built-in skins and the twenty
// tray icons, and writes resources/tarvik.qrc listing them; and the application icon of the
// menus, as PNG at every size of the icon theme and as SVG, into resources/icons/hicolor.
#include <QColor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QTextStream>
#include <cstdio>
#include <vector>

#include "app_icon.h"

namespace {

QString outDir;
QStringList skinFiles;
QStringList trayFiles;

void save(const QImage& img, const QString& name, QStringList& list) {
  const QString file = name + ".png";
  if (!img.save(outDir + "/" + file)) std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
  list << file;
}

QImage canvas(int w, int h, bool transparent = false) {
  QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
  img.fill(transparent ? Qt::transparent : QColor(0, 0, 0));
  return img;
}

// State colours shared by the indicators and the tray icons: di, of, au, on, xx.
struct StateColour {
  const char* code;
  QColor base;
};
const StateColour kStates[] = {
    {"di", QColor(128, 134, 142)}, {"of", QColor(214, 48, 40)},  {"au", QColor(240, 168, 24)},
    {"on", QColor(40, 176, 64)},   {"xx", QColor(40, 120, 220)},
};

// ---- standard skin ("D_") ----

void drawPanel(QPainter& p, const QRect& r) {
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, QColor(238, 242, 248));
  g.setColorAt(0.5, QColor(222, 229, 239));
  g.setColorAt(1, QColor(200, 210, 225));
  p.fillRect(r, g);
  p.setPen(QColor(255, 255, 255));
  p.drawLine(r.left() + 1, r.top() + 1, r.right() - 1, r.top() + 1);
  p.drawLine(r.left() + 1, r.top() + 1, r.left() + 1, r.bottom() - 1);
  p.setPen(QColor(96, 112, 140));
  p.drawRect(r.adjusted(0, 0, -1, -1));
}

void standardSkin() {
  QImage face = canvas(75, 40);
  {
    QPainter p(&face);
    drawPanel(p, QRect(0, 0, 75, 20));  // the compact window shows this half only
    drawPanel(p, QRect(0, 20, 75, 20));
    // One dividing line between the halves: the entry's text starts right below it.
    p.setPen(QColor(255, 255, 255));
    p.drawLine(1, 20, 73, 20);
    // The time's digits reach the top edge: no frame behind them, so that they stay whole.
    p.drawLine(13, 0, 67, 0);
    // Recess for the indicator.
    p.setPen(QColor(150, 162, 184));
    p.drawRect(2, 2, 9, 15);
    p.setPen(QColor(120, 136, 164, 90));
    p.drawLine(12, 23, 12, 37);
  }
  save(face, "D_FACE", skinFiles);

  for (const auto& s : kStates) {
    QImage ind = canvas(1, 14);
    QPainter p(&ind);
    QLinearGradient g(0, 0, 0, 14);
    g.setColorAt(0, s.base.lighter(150));
    g.setColorAt(0.45, s.base);
    g.setColorAt(1, s.base.darker(150));
    p.fillRect(0, 0, 1, 14, g);
    p.end();
    save(ind, QString("D_IND_") + QString(s.code).toUpper(), skinFiles);
  }

  // Hide button: a slim bar in the frame's colour, set off from the light panel, with a white
  // dash; lighter under the mouse, darker when pressed.
  const struct {
    const char* name;
    QColor body;
  } hideStates[] = {
      {"OF", QColor(96, 112, 140)}, {"ON", QColor(70, 120, 200)}, {"DN", QColor(40, 60, 100)}};
  for (const auto& st : hideStates) {
    QImage img = canvas(4, 18);
    QPainter p(&img);
    QLinearGradient g(0, 0, 0, 18);
    g.setColorAt(0, st.body.lighter(125));
    g.setColorAt(1, st.body.darker(110));
    p.fillRect(0, 0, 4, 18, g);
    p.fillRect(1, 8, 2, 2, QColor(255, 255, 255));
    p.end();
    save(img, QString("D_HIDE_") + st.name, skinFiles);
  }
  const struct {
    const char* name;
    QColor body;
  } switchStates[] = {
      {"OF", QColor(150, 164, 188)}, {"ON", QColor(90, 140, 210)}, {"DN", QColor(50, 80, 130)}};
  for (const auto& st : switchStates) {
    QImage img = canvas(8, 13);
    QPainter p(&img);
    QLinearGradient g(0, 0, 0, 13);
    g.setColorAt(0, st.body.lighter(130));
    g.setColorAt(1, st.body.darker(120));
    p.fillRect(0, 0, 8, 13, g);
    p.setPen(st.body.darker(160));
    p.drawRect(0, 0, 7, 12);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({QPointF(2, 8), QPointF(6, 8), QPointF(4, 4)}));  // "fold up"
    p.end();
    save(img, QString("D_SWITCH_") + st.name, skinFiles);
  }
}

// ---- advanced skin ("A_") ----

QPolygonF advancedOutline(int bottom) {
  return QPolygonF({QPointF(18, 0), QPointF(12, 3), QPointF(9, 5), QPointF(5, 9), QPointF(3, 12),
                    QPointF(0, 18), QPointF(0, bottom - 3), QPointF(1, bottom - 1),
                    QPointF(4, bottom), QPointF(93, bottom), QPointF(96, bottom - 1),
                    QPointF(97, bottom - 3), QPointF(97, 11), QPointF(99, 9), QPointF(99, 2),
                    QPointF(97, 0)});
}

void advancedSkin() {
  QImage face = canvas(100, 50);
  {
    QPainter p(&face);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 50);
    g.setColorAt(0, QColor(246, 249, 253));
    g.setColorAt(0.5, QColor(226, 234, 244));
    g.setColorAt(0.52, QColor(216, 226, 240));
    g.setColorAt(1, QColor(196, 210, 230));
    p.fillRect(0, 0, 100, 50, g);
    // Socket of the indicator lamp.
    QRadialGradient socket(13.5, 12.5, 13);
    socket.setColorAt(0, QColor(150, 170, 196));
    socket.setColorAt(0.85, QColor(170, 188, 210));
    socket.setColorAt(1, QColor(226, 234, 244, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(socket);
    p.drawEllipse(QPointF(13.5, 12.5), 13, 13);
    // Rim along the full outline, and the groove where the compact window ends.
    p.setPen(QPen(QColor(70, 104, 150), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(advancedOutline(50).translated(0.5, 0.5).intersected(
        QPolygonF(QRectF(0.5, 0.5, 98.5, 49))));
    // Faint where the full mode's tariff text crosses it.
    p.setPen(QPen(QColor(70, 104, 150), 1));
    p.drawLine(QPointF(1, 25.5), QPointF(27, 25.5));
    p.setPen(QPen(QColor(70, 104, 150, 60), 1));
    p.drawLine(QPointF(28, 25.5), QPointF(97, 25.5));
    p.setPen(QPen(QColor(255, 255, 255), 1));
    p.drawLine(QPointF(1, 26.5), QPointF(97, 26.5));
    // Lines under the tariff and entry fields of the full mode, two pixels below the baselines
    // of their texts.
    p.setPen(QPen(QColor(70, 104, 150, 70), 1));
    p.drawLine(QPointF(29, 33.5), QPointF(92, 33.5));
    p.drawLine(QPointF(29, 44.5), QPointF(92, 44.5));
    // The time's digits reach the top edge: no rim behind them, so that they stay whole.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(246, 249, 253));
    p.drawRect(QRectF(28, 0, 60, 1.5));
  }
  save(face, "A_FACE", skinFiles);

  for (const auto& s : kStates) {
    QImage ind = canvas(25, 25, true);
    QPainter p(&ind);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 60, 90), 1.2));
    p.setBrush(QColor(210, 220, 234));
    p.drawEllipse(QPointF(12.5, 12.5), 10.5, 10.5);
    QRadialGradient lamp(10, 9, 10);
    lamp.setColorAt(0, s.base.lighter(170));
    lamp.setColorAt(0.5, s.base);
    lamp.setColorAt(1, s.base.darker(160));
    p.setPen(Qt::NoPen);
    p.setBrush(lamp);
    p.drawEllipse(QPointF(12.5, 12.5), 8.5, 8.5);
    if (QString(s.code) == "xx") {
      // An exclamation mark instead of the highlight, which would make it read as "?".
      p.setBrush(Qt::white);
      p.drawRoundedRect(QRectF(11.3, 6.5, 2.4, 7.5), 1, 1);
      p.drawEllipse(QRectF(11.3, 15.3, 2.4, 2.4));
    } else {
      p.setBrush(QColor(255, 255, 255, 170));
      p.drawEllipse(QPointF(10, 9), 3.2, 2.2);
    }
    p.end();
    save(ind, QString("A_IND_") + QString(s.code).toUpper(), skinFiles);
  }

  const struct {
    const char* name;
    QColor body;
  } buttonStates[] = {
      {"OF", QColor(110, 140, 180)}, {"ON", QColor(60, 140, 230)}, {"DN", QColor(30, 60, 110)}};
  for (const char* kind : {"HIDE", "SWITCH"}) {
    for (const auto& st : buttonStates) {
      QImage img = canvas(5, 10, true);
      QPainter p(&img);
      QLinearGradient g(0, 0, 5, 0);
      g.setColorAt(0, st.body.lighter(140));
      g.setColorAt(1, st.body.darker(110));
      p.fillRect(0, 0, 5, 10, g);
      p.setPen(st.body.darker(170));
      p.drawRect(0, 0, 4, 9);
      if (QString(kind) == "HIDE") {
        p.fillRect(1, 7, 3, 1, Qt::white);  // minimise bar
      } else {
        p.fillRect(2, 2, 1, 1, Qt::white);  // up and down arrows
        p.fillRect(1, 3, 3, 1, Qt::white);
        p.fillRect(1, 6, 3, 1, Qt::white);
        p.fillRect(2, 7, 1, 1, Qt::white);
      }
      p.end();
      save(img, QString("A_") + kind + "_" + st.name, skinFiles);
    }
  }
}

// ---- tray icons ----

// Signal bars: how many are lit tells the state at a glance, colour and shape too.
void drawBars(QPainter& p, const StateColour& s, QColor unlit) {
  const int lit = QString(s.code) == "on"   ? 3
                  : QString(s.code) == "au" ? 2
                  : QString(s.code) == "of" ? 1
                                            : 0;
  for (int i = 0; i < 3; ++i) {
    const int h = 4 + 3 * i;
    QRect bar(3 + 4 * i, 13 - h, 3, h);
    p.fillRect(bar, i < lit ? s.base : unlit);
  }
}

void drawMark(QPainter& p, const StateColour& s) {
  if (QString(s.code) == "di") {  // monitoring off: a cross
    p.setPen(QPen(QColor(220, 50, 40), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4, 4), QPointF(12, 12));
    p.drawLine(QPointF(12, 4), QPointF(4, 12));
  } else if (QString(s.code) == "xx") {  // information: an exclamation mark on blue
    p.setPen(Qt::NoPen);
    p.setBrush(s.base);
    p.drawEllipse(QRectF(2.5, 2.5, 11, 11));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7, 4.5, 2, 5));
    p.drawRect(QRectF(7, 10.5, 2, 2));
  }
}

// The two framed families differ only in their colours: a dark tile for light panels and a
// light tile for dark ones.
QImage trayTile(const StateColour& s, QColor frame, QColor tile, QColor bars) {
  QImage img = canvas(16, 16, true);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(frame, 1));
  p.setBrush(tile);
  p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
  p.setRenderHint(QPainter::Antialiasing, false);
  drawBars(p, s, bars);
  p.setRenderHint(QPainter::Antialiasing);
  drawMark(p, s);
  return img;
}

QImage trayDark(const StateColour& s) {
  return trayTile(s, QColor(230, 234, 240), QColor(40, 44, 52), QColor(88, 94, 104));
}

QImage trayLight(const StateColour& s) {
  return trayTile(s, QColor(40, 52, 70), QColor(242, 245, 250), QColor(196, 204, 216));
}

QImage trayLamp(const StateColour& s) {
  QImage img = canvas(16, 16, true);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(255, 255, 255), 1));
  p.setBrush(QColor(30, 36, 46));
  p.drawEllipse(QPointF(8, 8), 7.3, 7.3);
  QRadialGradient lamp(6.5, 6, 7);
  lamp.setColorAt(0, s.base.lighter(170));
  lamp.setColorAt(0.55, s.base);
  lamp.setColorAt(1, s.base.darker(170));
  p.setPen(Qt::NoPen);
  p.setBrush(lamp);
  p.drawEllipse(QPointF(8, 8), 5.6, 5.6);
  if (QString(s.code) != "xx") {
    p.setBrush(QColor(255, 255, 255, 180));
    p.drawEllipse(QPointF(6.3, 5.8), 2, 1.4);
  }
  if (QString(s.code) == "xx") {
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7.2, 4.8, 1.6, 4.2));
    p.drawRect(QRectF(7.2, 10, 1.6, 1.6));
  } else if (QString(s.code) == "di") {
    p.setPen(QPen(QColor(255, 255, 255), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5, 11), QPointF(11, 5));
  }
  return img;
}

// A clock: the meter of online time, its rim in the state colour.
QImage trayClock(const StateColour& s) {
  QImage img = canvas(16, 16, true);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(20, 24, 30), 1));
  p.setBrush(s.base);
  p.drawEllipse(QPointF(8, 8), 7.3, 7.3);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(250, 250, 250));
  p.drawEllipse(QPointF(8, 8), 4.6, 4.6);
  if (QString(s.code) == "xx") {
    p.setBrush(s.base.darker(130));
    p.drawRect(QRectF(7.2, 4.6, 1.6, 4.2));
    p.drawRect(QRectF(7.2, 9.8, 1.6, 1.6));
  } else {
    p.setPen(QPen(QColor(30, 30, 30), 1.3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 8), QPointF(8, 4.8));
    p.drawLine(QPointF(8, 8), QPointF(10.6, 9.2));
  }
  if (QString(s.code) == "di") {
    p.setPen(QPen(QColor(200, 40, 30), 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3, 13), QPointF(13, 3));
  }
  return img;
}

void trayIcons() {
  for (const auto& s : kStates) {
    save(trayDark(s), QString("i_dk_") + s.code, trayFiles);
    save(trayLight(s), QString("i_lt_") + s.code, trayFiles);
    save(trayLamp(s), QString("i_in_") + s.code, trayFiles);
    save(trayClock(s), QString("i_v3_") + s.code, trayFiles);
  }
}

void writeQrc() {
  QFile f(outDir + "/tarvik.qrc");
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
  QTextStream out(&f);
  out << "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n  <qresource prefix=\"/skin\">\n";
  for (const QString& file : skinFiles)
    out << "    <file alias=\"" << QString(file).remove(".png") << "\">" << file << "</file>\n";
  out << "  </qresource>\n  <qresource prefix=\"/tray\">\n";
  for (const QString& file : trayFiles)
    out << "    <file alias=\"" << QString(file).remove(".png") << "\">" << file << "</file>\n";
  out << "  </qresource>\n</RCC>\n";
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("resources");
  QDir().mkpath(outDir);
  standardSkin();
  advancedSkin();
  trayIcons();
  writeQrc();
  const int icons = writeAppIcons(outDir);
  std::printf("%d skin pictures, %d tray icons, %d application icons written to %s\n",
              int(skinFiles.size()), int(trayFiles.size()), icons, qPrintable(outDir));
  return 0;
}
