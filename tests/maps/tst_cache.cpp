#include "common/servedmaps.h"
#include "common/testsupport.h"

#include "maps/mapcache.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

class TestCache : public QObject
{
    Q_OBJECT

private slots:
    void freshness_data();
    void freshness();
    void missingFile();
    void damagedFileIsDeleted();
    void roundTrip();
    void unwritableDataFolder();
    void cacheNames();
};

namespace {
QImage sample_texture()
{
    QImage t(1112, 667, QImage::Format_ARGB32);
    t.fill(0xFF00A0A0);
    t.setPixel(3, 4, 0x80102030);
    return t;
}
} // namespace

void TestCache::freshness_data()
{
    QTest::addColumn<int>("ageSeconds");
    QTest::addColumn<bool>("fresh");
    QTest::newRow("359 minutes") << 359 * 60 << true;
    QTest::newRow("360 minutes") << 360 * 60 << false;
    QTest::newRow("a day") << 24 * 3600 << false;
    QTest::newRow("just written") << 0 << true;
    // A file from the future: a clock set back, or a copy from another machine.
    QTest::newRow("a minute ahead") << -60 << true;
    QTest::newRow("61 seconds ahead") << -61 << false;
    QTest::newRow("a day ahead") << -24 * 3600 << false;
}

void TestCache::freshness()
{
    QFETCH(int, ageSeconds);
    QFETCH(bool, fresh);
    QTemporaryDir dir;
    FixedClock clock(TestNow);
    const MapCache cache(dir.path() + QLatin1Char('/'), clock);
    QVERIFY(!cache.cache_is_fresh(View::Temperature));
    QVERIFY(sample_texture().save(cache.cache_file_name(View::Temperature)));
    set_file_time(cache.cache_file_name(View::Temperature), TestNow.addSecs(-ageSeconds));
    QCOMPARE(cache.cache_is_fresh(View::Temperature), fresh);
    QCOMPARE(cache.fileTime(View::Temperature).toUTC(), TestNow.addSecs(-ageSeconds));
}

void TestCache::missingFile()
{
    QTemporaryDir dir;
    FixedClock clock(TestNow);
    const MapCache cache(dir.path() + QLatin1Char('/'), clock);
    QVERIFY(!cache.exists(View::ClimateChange));
    QVERIFY(cache.load(View::ClimateChange).isNull());
    QVERIFY(!cache.fileTime(View::ClimateChange).isValid());
}

void TestCache::damagedFileIsDeleted()
{
    QTemporaryDir dir;
    FixedClock clock(TestNow);
    const MapCache cache(dir.path() + QLatin1Char('/'), clock);
    QFile file(cache.cache_file_name(View::Wind));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("\x89PNG garbage");
    file.close();
    QVERIFY(cache.load(View::Wind).isNull());
    QVERIFY(!cache.exists(View::Wind));
}

void TestCache::roundTrip()
{
    QTemporaryDir dir;
    FixedClock clock(TestNow);
    const MapCache cache(dir.path() + QLatin1Char('/'), clock);
    const QImage texture = sample_texture();
    QCOMPARE(cache.save(View::RainSnow, encode_map_png(texture)), QString());
    QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("rain.png"))));
    // Dated by the cache's clock, so it is fresh by that clock.
    QCOMPARE(cache.fileTime(View::RainSnow).toUTC(), TestNow);
    QVERIFY(cache.cache_is_fresh(View::RainSnow));
    const QImage loaded = cache.load(View::RainSnow);
    QCOMPARE(loaded.format(), QImage::Format_ARGB32);
    QCOMPARE(loaded, texture);
    // A later save replaces the file whole.
    QImage other = texture;
    other.fill(0xFF112233);
    QCOMPARE(cache.save(View::RainSnow, encode_map_png(other)), QString());
    QCOMPARE(cache.load(View::RainSnow), other);
    // Nothing to write is a failure, and the good file stays.
    QVERIFY(!cache.save(View::RainSnow, QByteArray()).isEmpty());
    QCOMPARE(cache.load(View::RainSnow), other);
}

void TestCache::unwritableDataFolder()
{
    QTemporaryDir dir;
    // A data folder inside a regular file cannot be written, even by root.
    QFile blocker(dir.filePath(QStringLiteral("blocker")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    FixedClock clock(TestNow);
    const MapCache cache(blocker.fileName() + QLatin1Char('/'), clock);
    QCOMPARE(cache.save(View::Temperature, encode_map_png(sample_texture())),
             QStringLiteral("Map shown, but it could not be saved in ") + blocker.fileName());
}

void TestCache::cacheNames()
{
    FixedClock clock(TestNow);
    const MapCache cache(QStringLiteral("/data/"), clock);
    const QStringList names{"/data/temps.png",   "/data/rain.png",     "/data/wind.png",
                            "/data/anomoly.png", "/data/pressure.png", "/data/.png"};
    for (int kind = 0; kind <= 5; ++kind)
        QCOMPARE(cache.cache_file_name(kind), names.at(kind));
    QCOMPARE(cache.cache_file_name(-1), QStringLiteral("/data/.png"));
}

SKYLOOM_TEST_MAIN(TestCache)
#include "tst_cache.moc"
