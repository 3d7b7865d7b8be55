#include "common/testsupport.h"
#include "maps/mapfixture.h"

#include "imaging/mapimage.h"
#include "legend/statusline.h"
#include "maps/download.h"
#include "maps/httpclient.h"

#include <QElapsedTimer>
#include <QFile>

using Answer = TestMapServer::Answer;

class TestDownload : public QObject
{
    Q_OBJECT

private slots:
    void fallbackChain_data();
    void fallbackChain();
    void refusedConnection();
    void serverThatNeverAnswers();
    void bodyThatIsNoImage_data();
    void bodyThatIsNoImage();
    void oversizedBody();
    void lastCompletionDecides();
    void closingWhileDownloading();
};

void TestDownload::fallbackChain_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("todayStatus");
    QTest::addColumn<int>("yesterdayStatus");
    QTest::addColumn<int>("staticStatus");
    QTest::addColumn<bool>("staleCache");
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<int>("source");
    QTest::addColumn<QString>("status");
    using namespace Paths;
    const QStringList all{TempsToday, TempsYesterday, TempsStatic};
    QTest::newRow("today's frame") << 0 << 200 << 0 << 0 << false << QStringList{TempsToday}
                                   << int(Source::TodayFrame) << QString();
    QTest::newRow("yesterday's frame")
        << 0 << 404 << 200 << 0 << false << QStringList{TempsToday, TempsYesterday}
        << int(Source::PreviousFrame) << QString();
    QTest::newRow("static map") << 0 << 404 << 404 << 200 << false << all << int(Source::StaticMap)
                                << QString();
    QTest::newRow("pressure asks for its static map only")
        << 4 << 0 << 0 << 200 << false << QStringList{PressureStatic} << int(Source::StaticMap)
        << QString();
    QTest::newRow("404 everywhere, stale cache")
        << 0 << 404 << 404 << 404 << true << all << int(Source::Cache)
        << QStringLiteral("Internet File Not Found");
    QTest::newRow("404 everywhere, no cache")
        << 0 << 404 << 404 << 404 << false << all << int(Source::StaticMap)
        << QStringLiteral("Cannot Open File");
    // Qt files these under other error codes than 404 and 500; they are answers all the same.
    for (int code : {400, 407, 418, 500})
        QTest::addRow("%d, stale cache", code) << 0 << 404 << 404 << code << true << all
                                               << int(Source::Cache) << QString::number(code);
}

void TestDownload::fallbackChain()
{
    QFETCH(int, kind);
    QFETCH(int, todayStatus);
    QFETCH(int, yesterdayStatus);
    QFETCH(int, staticStatus);
    QFETCH(bool, staleCache);
    QFETCH(QStringList, paths);
    QFETCH(int, source);
    QFETCH(QString, status);

    MapFixture f;
    const QByteArray served = map_png(0xFF3060C0);
    auto reply = [&](int code) { return Answer{code, code == 200 ? served : QByteArray("gone")}; };
    f.server->answer(Paths::TempsToday, reply(todayStatus));
    f.server->answer(Paths::TempsYesterday, reply(yesterdayStatus));
    f.server->answer(Paths::TempsStatic, reply(staticStatus));
    f.server->answer(Paths::PressureStatic, reply(staticStatus));
    QImage stale;
    if (staleCache) {
        stale = expected_texture(map_png(0xFF00FF00));
        QVERIFY(stale.save(f.cacheFile(kind)));
        set_file_time(f.cacheFile(kind), f.clock.nowUtc().addSecs(-7 * 3600));
    }

    f.choose(kind);
    QVERIFY(f.busy());
    QVERIFY(f.waitIdle());
    QVERIFY(!f.busy());
    QCOMPARE(f.server->requestedPaths(), paths);
    for (const auto &request : f.server->requests())
        QCOMPARE(request.userAgent, QString::fromLatin1(MapUserAgent));
    QCOMPARE(app().MapSource.load(), source);
    QCOMPARE(app().StatusError.load(), status);
    if (status.isEmpty()) {
        // The texture is the stretch of the served image, pixel for pixel.
        QCOMPARE(f.texture(), expected_texture(served));
        QCOMPARE(app().CurrentView.load(), kind);
        QVERIFY(f.form->scene().ClimateSphere.visible);
        QVERIFY(status_text().startsWith(view_title() + QChar(13)));
    } else {
        QCOMPARE(status_text(), status);
        if (staleCache)
            QCOMPARE(f.texture(), stale);
    }
}

void TestDownload::refusedConnection()
{
    MapFixture f;
    app().MapServer = QStringLiteral("http://127.0.0.1:1");
    QVERIFY(expected_texture(map_png(0xFF00FF00)).save(f.cacheFile(View::Wind)));
    set_file_time(f.cacheFile(View::Wind), f.clock.nowUtc().addSecs(-7 * 3600));
    f.choose(View::Wind);
    QVERIFY(f.waitIdle());
    QCOMPARE(app().StatusError.load(), QStringLiteral("Cannot Connect to Internet"));
    QCOMPARE(status_text(), QStringLiteral("Cannot Connect to Internet"));
    QCOMPARE(app().MapSource.load(), Source::Cache);
    QVERIFY(!f.busy());
}

void TestDownload::serverThatNeverAnswers()
{
    // The real time-outs, on the one attempt the Pressure view makes.
    MapFixture f;
    Answer hang;
    hang.hang = true;
    f.server->answer(Paths::PressureStatic, hang);
    QElapsedTimer timer;
    timer.start();
    f.choose(View::Pressure);
    QVERIFY(f.waitIdle(20000));
    QVERIFY(timer.elapsed() >= 5500);
    QCOMPARE(f.server->requestedPaths(), QStringList{Paths::PressureStatic});
    QCOMPARE(status_text(), QStringLiteral("Cannot Open File"));
    QVERIFY(!f.busy());
}

void TestDownload::bodyThatIsNoImage_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("html") << QByteArray("<html>maintenance</html>");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("truncated png") << map_png(0xFF102030).left(300);
}

void TestDownload::bodyThatIsNoImage()
{
    QFETCH(QByteArray, body);
    MapFixture f;
    QImage before(8, 8, QImage::Format_ARGB32);
    before.fill(0xFF123456);
    f.form->scene().climateTexture.setImage(before);
    f.server->answer(Paths::TempsToday, Answer{200, body});
    f.choose(View::Temperature);
    QVERIFY(f.waitIdle());
    QCOMPARE(status_text(), QStringLiteral("Image Error"));
    QCOMPARE(f.texture(), before);
    QVERIFY(!QFile::exists(f.cacheFile(View::Temperature)));
    QVERIFY(!f.busy());
}

void TestDownload::oversizedBody()
{
    MapFixture f;
    const QByteArray served = map_png(0xFF3060C0);
    f.client().MaxBodySize = served.size() - 1;
    f.server->answer(Paths::PressureStatic, Answer{200, served});
    f.choose(View::Pressure);
    QVERIFY(f.waitIdle());
    QCOMPARE(f.server->requestedPaths().size(), 1);
    QVERIFY(!QFile::exists(f.cacheFile(View::Pressure)));
    QVERIFY(!f.busy());
}

void TestDownload::lastCompletionDecides()
{
    MapFixture f;
    const QByteArray slow = map_png(0xFFC03020), fast = map_png(0xFF2040C0);
    f.server->answer(Paths::TempsToday, Answer{200, slow, 2500});
    f.server->answer(Paths::RainToday, Answer{200, fast});
    f.choose(View::Temperature);
    f.choose(View::RainSnow);
    // Rain/snow is on screen while the temperature download still runs.
    QTRY_COMPARE(f.texture(), expected_texture(fast));
    QVERIFY(f.busy());
    QVERIFY(f.waitIdle());
    // Temperature finished last: its map and its view are on screen.
    QCOMPARE(app().CurrentView.load(), View::Temperature);
    QCOMPARE(f.texture(), expected_texture(slow));
    QVERIFY(!f.busy());
}

void TestDownload::closingWhileDownloading()
{
    MapFixture f;
    Answer hang;
    hang.hang = true;
    f.server->answerEverything(hang);
    f.choose(View::Temperature);
    f.choose(View::Wind);
    const std::shared_ptr<HttpClientCore> core = app().HttpClientObject->core();
    QTRY_VERIFY(!f.server->requests().isEmpty());
    QElapsedTimer timer;
    timer.start();
    f.form.reset();
    // Aborted, not waited for: closing would give up on the workers at 3 s.
    QVERIFY(timer.elapsed() < 2900);
    QCOMPARE(core->runningTasks(), 0);
    QVERIFY(app().HttpClientObject == nullptr);
    // Nothing queued by the aborted workers may reach the destroyed window.
    QTest::qWait(100);
}

SKYLOOM_TEST_MAIN(TestDownload)
#include "tst_download.moc"
