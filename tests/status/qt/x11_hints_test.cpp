// The platform choice on Wayland sessions.
#include "status/qt/x11_hints.h"

#include <QtTest>

using namespace tarvik;

class X11HintsTest : public QObject {
  Q_OBJECT

 private:
  QByteArray savedPlatform_;

  static QByteArray choose(std::vector<const char*> args) {
    args.insert(args.begin(), "tarvik");
    preferX11Platform(static_cast<int>(args.size()), const_cast<char**>(args.data()));
    return qgetenv("QT_QPA_PLATFORM");
  }

 private slots:
  void init() {
    savedPlatform_ = qgetenv("QT_QPA_PLATFORM");
    qunsetenv("QT_QPA_PLATFORM");
    qunsetenv("WAYLAND_DISPLAY");
    qunsetenv("XDG_SESSION_TYPE");
  }
  void cleanup() {
    qunsetenv("WAYLAND_DISPLAY");
    qunsetenv("XDG_SESSION_TYPE");
    qputenv("QT_QPA_PLATFORM", savedPlatform_);
  }

  void waylandSessionRunsThroughXWayland() {
    qputenv("WAYLAND_DISPLAY", "wayland-0");
    QCOMPARE(choose({}), QByteArray("xcb"));
    qunsetenv("QT_QPA_PLATFORM");
    qunsetenv("WAYLAND_DISPLAY");
    qputenv("XDG_SESSION_TYPE", "wayland");
    QCOMPARE(choose({}), QByteArray("xcb"));
  }

  void x11SessionIsLeftAlone() { QVERIFY(choose({}).isEmpty()); }

  void theUsersChoiceStands() {
    qputenv("WAYLAND_DISPLAY", "wayland-0");
    qputenv("QT_QPA_PLATFORM", "wayland");
    QCOMPARE(choose({}), QByteArray("wayland"));
    qunsetenv("QT_QPA_PLATFORM");
    QVERIFY(choose({"-platform", "wayland"}).isEmpty());
  }
};

QTEST_MAIN(X11HintsTest)
#include "x11_hints_test.moc"
