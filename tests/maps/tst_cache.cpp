#include "common/testsupport.h"
#include "maps/mapfixture.h"

#include "legend/statusline.h"
#include "maps/mapcache.h"

#include <QFile>
#include <QFileInfo>

using Answer = TestMapServer::Answer;

class TestCache : public QObject
{
    Q_OBJECT

private slots:
    void freshness_data();
    void freshness();
    void staleMapWhenServerIsGone();
    void corruptFreshFile();
    void missingFile();
    void failureWhileDayNightIsCurrent();
    void roundTrip();
    void unwritableDataFolder();
    void cacheNames();
};

void TestCache::freshness_data()
{
    QTest::addColumn<int>("ageMinutes");
    QTest::addColumn<bool>("fresh");
    QTest::newRow("359 minutes") << 359 << true;
    QTest::newRow("360 minutes") << 360 << false;
    QTest::newRow("a day") << 24 * 60 << false;
}

void TestCache::freshness()
{
    QFETCH(int, ageMinutes);
    QFETCH(bool, fresh);
    MapFixture f;
    const QImage cached = expected_texture(map_png(0xFF00A0A0));
    QVERIFY(cached.save(f.cacheFile(View::Temperature)));
    set_file_time(f.cacheFile(View::Temperature), f.clock.nowUtc().addSecs(-ageMinutes * 60));
    f.server->answer(Paths::TempsToday, Answer{200, map_png(0xFFA000A0)});
    QCOMPARE(cache_is_fresh(View::Temperature), fresh);

    f.choose(View::Temperature);
    QVERIFY(f.waitIdle());
    QCOMPARE(f.server->requests().isEmpty(), fresh);
    if (fresh) {
        QCOMPARE(app().MapSource.load(), Source::Cache);
        QCOMPARE(f.texture(), cached);
        QVERIFY(status_text().endsWith(QLatin1String("..")));
    }
}

void TestCache::staleMapWhenServerIsGone()
{
    MapFixture f;
    app().MapServer = QStringLiteral("http://127.0.0.1:1");
    const QImage stale = expected_texture(map_png(0xFF00A0A0));
    QVERIFY(stale.save(f.cacheFile(View::RainSnow)));
    const QDateTime written = f.clock.nowUtc().addDays(-2);
    set_file_time(f.cacheFile(View::RainSnow), written);

    // The stale map shows with its own date and the cache marker...
    load_cached_map(View::RainSnow);
    QCOMPARE(status_text(), QStringLiteral("Global Rain/Snow\r9/20/2023 10:30 AM.."));
    // ...and after a failed download the error replaces that text.
    f.choose(View::RainSnow);
    QVERIFY(f.waitIdle());
    QCOMPARE(f.texture(), stale);
    QCOMPARE(app().MapSource.load(), Source::Cache);
    QCOMPARE(status_text(), QStringLiteral("Cannot Connect to Internet"));
}

void TestCache::corruptFreshFile()
{
    MapFixture f;
    QImage before(4, 4, QImage::Format_ARGB32);
    before.fill(0xFF445566);
    f.form->scene().climateTexture.setImage(before);
    {
        QFile file(f.cacheFile(View::Wind));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\x89PNG garbage");
    }
    set_file_time(f.cacheFile(View::Wind), f.clock.nowUtc().addSecs(-60));
    f.choose(View::Wind);
    QVERIFY(!f.busy()); // a download would have started at once
    QVERIFY(!QFile::exists(f.cacheFile(View::Wind)));
    QCOMPARE(f.texture(), before);
    QVERIFY(f.server->requests().isEmpty());
    QCOMPARE(app().CurrentView.load(), View::Wind);

    f.choose(View::Wind);
    QVERIFY(f.waitIdle());
    QCOMPARE(f.server->requests().size(), 3);
}

void TestCache::missingFile()
{
    MapFixture f;
    load_cached_map(View::ClimateChange);
    QCOMPARE(app().StatusError.load(), QStringLiteral("Cannot Open File"));
    QCOMPARE(status_text(), QStringLiteral("Cannot Open File"));
}

void TestCache::failureWhileDayNightIsCurrent()
{
    MapFixture f;
    Answer slow404{404, {}, 400};
    f.server->answerEverything(slow404);
    QVERIFY(expected_texture(map_png(0xFF00A0A0)).save(f.cacheFile(View::Temperature)));
    set_file_time(f.cacheFile(View::Temperature), f.clock.nowUtc().addDays(-1));
    f.choose(View::Temperature);
    f.form->DayNightButtonClick();
    QVERIFY(f.waitIdle());
    QCOMPARE(app().CurrentView.load(), View::DayNight);
    QCOMPARE(status_text(), QStringLiteral("Cannot Open File"));
}

void TestCache::roundTrip()
{
    MapFixture f;
    f.server->answer(Paths::TempsToday, Answer{200, map_png(0xFF3060C0)});
    f.choose(View::Temperature);
    QVERIFY(f.waitIdle());
    QVERIFY(QFile::exists(f.cacheFile(View::Temperature)));
    // Written a minute ago by the test's clock, whatever the machine's clock says.
    set_file_time(f.cacheFile(View::Temperature), f.clock.nowUtc().addSecs(-60));
    const QImage saved(f.cacheFile(View::Temperature));
    QCOMPARE(saved.size(), QSize(1112, 667));
    QCOMPARE(saved.convertToFormat(QImage::Format_ARGB32), f.texture());
    QCOMPARE(app().MapSource.load(), Source::TodayFrame);

    f.form->DayNightButtonClick();
    f.choose(View::Temperature);
    QCOMPARE(f.server->requests().size(), 1);
    QCOMPARE(app().MapSource.load(), Source::Cache);
    QVERIFY(status_text().startsWith(QStringLiteral("Global Temps\r")));
    QVERIFY(status_text().endsWith(QLatin1String("..")));
}

void TestCache::unwritableDataFolder()
{
    MapFixture f;
    // A data folder inside a regular file cannot be written, even by root.
    QFile blocker(f.dir.filePath(QStringLiteral("blocker")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    app().DataDir = blocker.fileName() + QLatin1Char('/');
    const QByteArray served = map_png(0xFF3060C0);
    f.server->answer(Paths::TempsToday, Answer{200, served});
    f.choose(View::Temperature);
    QVERIFY(f.waitIdle());
    QCOMPARE(f.texture(), expected_texture(served));
    QTRY_VERIFY(status_text().contains(QLatin1String("could not be saved")));
}

void TestCache::cacheNames()
{
    reset_app_state();
    app().DataDir = QStringLiteral("/data/");
    const QStringList names{"/data/temps.png",   "/data/rain.png",     "/data/wind.png",
                            "/data/anomoly.png", "/data/pressure.png", "/data/.png"};
    for (int kind = 0; kind <= 5; ++kind)
        QCOMPARE(cache_file_name(kind), names.at(kind));
}

SKYLOOM_TEST_MAIN(TestCache)
#include "tst_cache.moc"
