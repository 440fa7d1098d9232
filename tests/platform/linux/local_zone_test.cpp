#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <cstdlib>

#include "platform/linux/local_zone.h"

namespace {

int localOffsetSeconds() {
  return QDateTime::currentDateTime().offsetFromUtc();
}

}  // namespace

class LocalZoneTest : public QObject {
  Q_OBJECT
 private slots:
  // The zone is read once, and again when the user changes the system's zone (the zone file
  // replaced by a new one); a zone the user set in TZ is left alone.
  void theZoneIsReadOnceAndAgainWhenItChanges() {
    qunsetenv("TZ");
    QTemporaryDir dir;
    const QString zone = dir.filePath(QStringLiteral("localtime"));
    QVERIFY(QFile::copy(QStringLiteral("/usr/share/zoneinfo/Asia/Tokyo"), zone));
    QVERIFY(tarvik::readLocalZoneOnce(zone.toStdString()));
    QCOMPARE(localOffsetSeconds(), 9 * 3600);
    tarvik::LocalZoneWatch watch(zone.toStdString());

    const QString next = dir.filePath(QStringLiteral("next"));
    QVERIFY(QFile::copy(QStringLiteral("/usr/share/zoneinfo/Europe/Moscow"), next));
    QCOMPARE(std::rename(next.toLocal8Bit().constData(), zone.toLocal8Bit().constData()), 0);
    QTRY_COMPARE(localOffsetSeconds(), 3 * 3600);
    QVERIFY(QFile::remove(zone));
    QVERIFY(QFile::copy(QStringLiteral("/usr/share/zoneinfo/Asia/Tokyo"), zone));
    QTRY_COMPARE(localOffsetSeconds(), 9 * 3600);

    qputenv("TZ", "UTC0");
    QVERIFY(!tarvik::readLocalZoneOnce(zone.toStdString()));
    QCOMPARE(qgetenv("TZ"), QByteArray("UTC0"));
  }
};

QTEST_MAIN(LocalZoneTest)
#include "local_zone_test.moc"
