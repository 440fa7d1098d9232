#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "platform/linux/inotify_file_watch.h"

using tarvik::InotifyFileWatch;

namespace {

void put(const std::filesystem::path& file, const char* text) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
}

}  // namespace

class InotifyFileWatchTest : public QObject {
  Q_OBJECT
 private slots:
  // Each way of changing a file moves its version and no other file's; the event loop reads
  // the notices by itself; a folder removed is no longer vouched for.
  void everyChangeOfAFileMovesItsVersion() {
    QTemporaryDir tmp;
    const std::filesystem::path dir = tmp.path().toStdString();
    const auto file = dir / "TarvikC.Kfg";
    const auto other = dir / "Tarvik.log";
    put(file, "[S]\n");
    InotifyFileWatch watch;
    QVERIFY(watch.watch(dir.string() + "/"));
    QVERIFY(!watch.version(dir / "sub" / "x"));
    QVERIFY(!watch.version("/elsewhere/TarvikC.Kfg"));

    auto moved = [&](const std::function<void()>& change) {
      const auto before = watch.version(file);
      const auto otherBefore = watch.version(other);
      change();
      // Notices arrive through the event loop, as in the program.
      for (int i = 0; i < 100 && watch.version(file) == before; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
      return before && watch.version(file) && *watch.version(file) != *before &&
             watch.version(other) == otherBefore;
    };
    QVERIFY(moved([&] { put(file, "[S]\nK=1\n"); }));
    QVERIFY(moved([&] { std::filesystem::resize_file(file, 2); }));
    QVERIFY(moved([&] {
      put(dir / "TarvikC.Kfg.new", "[S]\nK=2\n");
      std::filesystem::rename(dir / "TarvikC.Kfg.new", file);
    }));
    QVERIFY(moved([&] { std::filesystem::permissions(file, std::filesystem::perms::owner_read); }));
    QVERIFY(moved([&] { std::filesystem::remove(file); }));
    QVERIFY(moved([&] { put(file, "[S]\n"); }));

    std::filesystem::remove_all(dir);
    for (int i = 0; i < 100 && watch.version(file); ++i)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QVERIFY(!watch.version(file));
  }
};

QTEST_GUILESS_MAIN(InotifyFileWatchTest)
#include "inotify_file_watch_test.moc"
