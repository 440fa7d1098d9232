// The yardstick for the status window's memory, start-up and CPU figures: the least a Qt program
// needs to put a tray icon and one shaped, frameless, always-on-top window on screen, whose label
// and tooltip show the time once a second as the program's do while online. Built and run by
// bench/status_measure.sh; not part of the program.
#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>
#include <QRegion>
#include <QSystemTrayIcon>
#include <QTime>
#include <QTimer>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setQuitOnLastWindowClosed(false);
  QPixmap icon(16, 16);
  icon.fill(Qt::darkGreen);
  QSystemTrayIcon tray{QIcon(icon)};
  tray.setToolTip("minimal");
  tray.show();

  QWidget window(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool);
  window.setWindowTitle("Tarvik");
  window.setFixedSize(99, 26);
  QPolygon outline({QPoint(18, 0), QPoint(0, 18), QPoint(0, 26), QPoint(99, 26), QPoint(99, 0)});
  window.setMask(QRegion(outline, Qt::WindingFill));
  QLabel text("00:00:00", &window);
  text.move(28, 2);
  window.move(400, 300);
  window.show();
  QTimer second;
  QObject::connect(&second, &QTimer::timeout, [&] {
    const QString now = QTime::currentTime().toString(QStringLiteral("hh:mm:ss"));
    text.setText(now);
    tray.setToolTip(now);
  });
  second.start(1000);
  return app.exec();
}
