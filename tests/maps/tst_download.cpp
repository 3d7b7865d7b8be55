#include "common/testsupport.h"
#include "maps/downloadfixture.h"

#include "imaging/mapimage.h"

#include <QElapsedTimer>
#include <QSignalSpy>

using Answer = TestMapServer::Answer;

class TestDownload : public QObject
{
    Q_OBJECT

private slots:
    void fallbackChain_data();
    void fallbackChain();
    void textureIsTheStretchedMapArea();
    void stampOfEachFrameComputation();
    void refusedConnection();
    void serverThatNeverAnswers();
    void serverThatTrickles();
    void bodyThatIsNoImage_data();
    void bodyThatIsNoImage();
    void oversizedBody();
    void oneDownloadPerView();
    void overlappingViewsReportTheirOwn();
    void destroyedWhileDownloading();
};

void TestDownload::fallbackChain_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("todayStatus");
    QTest::addColumn<int>("yesterdayStatus");
    QTest::addColumn<int>("staticStatus");
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<int>("source");
    QTest::addColumn<QString>("error");
    using namespace Paths;
    const QStringList all{TempsToday, TempsYesterday, TempsStatic};
    QTest::newRow("today's frame")
        << 0 << 200 << 0 << 0 << QStringList{TempsToday} << int(Source::TodayFrame) << QString();
    QTest::newRow("yesterday's frame")
        << 0 << 404 << 200 << 0 << QStringList{TempsToday, TempsYesterday}
        << int(Source::PreviousFrame) << QString();
    QTest::newRow("static map") << 0 << 404 << 404 << 200 << all << int(Source::StaticMap)
                                << QString();
    QTest::newRow("pressure asks for its static map only")
        << 4 << 0 << 0 << 200 << QStringList{PressureStatic} << int(Source::StaticMap) << QString();
    QTest::newRow("404 everywhere") << 0 << 404 << 404 << 404 << all << int(Source::StaticMap)
                                    << QStringLiteral("Internet File Not Found");
    QTest::newRow("the last attempt's text")
        << 0 << 500 << 500 << 404 << all << int(Source::StaticMap)
        << QStringLiteral("Internet File Not Found");
    // Qt files these under other error codes than 404 and 500; they are answers all the same.
    for (int code : {400, 407, 418, 500})
        QTest::addRow("%d", code) << 0 << 404 << 404 << code << all << int(Source::StaticMap)
                                  << QString::number(code);
}

void TestDownload::fallbackChain()
{
    QFETCH(int, kind);
    QFETCH(int, todayStatus);
    QFETCH(int, yesterdayStatus);
    QFETCH(int, staticStatus);
    QFETCH(QStringList, paths);
    QFETCH(int, source);
    QFETCH(QString, error);

    FixedClock clock(TestNow);
    DownloadFixture f(clock);
    const QByteArray served = map_png(0xFF3060C0);
    auto reply = [&](int code) { return Answer{code, code == 200 ? served : QByteArray("gone")}; };
    f.server->answer(Paths::TempsToday, reply(todayStatus));
    f.server->answer(Paths::TempsYesterday, reply(yesterdayStatus));
    f.server->answer(Paths::TempsStatic, reply(staticStatus));
    f.server->answer(Paths::PressureStatic, reply(staticStatus));

    QVERIFY(f.downloader->load_from_internet(kind));
    QVERIFY(f.downloader->isBusy());
    const MapDownloadResult r = f.next();
    QVERIFY(!f.downloader->isBusy());
    QCOMPARE(r.kind, kind);
    QCOMPARE(f.server->requestedPaths(), paths);
    for (const auto &request : f.server->requests())
        QCOMPARE(request.userAgent, QString::fromLatin1(MapUserAgent));
    QCOMPARE(r.source, source);
    QCOMPARE(r.error, error);
    QCOMPARE(r.fetched, error.isEmpty());
    if (error.isEmpty()) {
        QCOMPARE(r.texture.size(), QSize(1112, 667));
        QCOMPARE(r.texture.pixel(0, 333), 0xFF3060C0);
        QCOMPARE(r.texture.pixel(1111, 333), 0xFF3060C0);
        QVERIFY(QImage::fromData(r.png, "PNG") == r.texture);
    } else {
        QVERIFY(r.texture.isNull());
        QVERIFY(r.png.isEmpty());
    }
}

void TestDownload::textureIsTheStretchedMapArea()
{
    // Each served row has its own colour: texture row y must be image row y + 60, and every
    // row must reach both edges however narrow it was on the server.
    FixedClock clock(TestNow);
    DownloadFixture f(clock);
    f.server->answer(Paths::TempsToday, Answer{200, map_png(0)});
    f.downloader->load_from_internet(View::Temperature);
    const QImage t = f.next().texture;
    QCOMPARE(t.size(), QSize(1112, 667));
    for (int y : {0, 1, 200, 333, 600, 666}) {
        QCOMPARE(t.pixel(0, y), row_colour(y + 60));
        QCOMPARE(t.pixel(556, y), row_colour(y + 60));
        QCOMPARE(t.pixel(1111, y), row_colour(y + 60));
    }
}

void TestDownload::stampOfEachFrameComputation()
{
    SteppingClock clock(TestNow);
    DownloadFixture f(clock);
    f.server->answer(Paths::RainYesterday, Answer{200, map_png(0xFF3060C0)});
    f.downloader->load_from_internet(View::RainSnow);
    const MapDownloadResult r = f.next();
    QCOMPARE(r.source, Source::PreviousFrame);
    // Read at the start and again for the previous day's frame: the stamp is the second.
    QCOMPARE(clock.readings(), 2);
    QCOMPARE(from_days(r.utcStamp), TestNow.addSecs(60));
    QCOMPARE(f.server->requestedPaths(), (QStringList{Paths::RainToday, Paths::RainYesterday}));
}

void TestDownload::refusedConnection()
{
    FixedClock clock(TestNow);
    MapDownloader downloader(clock, QStringLiteral("http://127.0.0.1:1"));
    QSignalSpy spy(&downloader, &MapDownloader::finished);
    MapDownloadResult r;
    connect(&downloader, &MapDownloader::finished, this,
            [&](const MapDownloadResult &x) { r = x; });
    downloader.load_from_internet(View::Wind);
    QVERIFY(spy.wait(20000));
    QCOMPARE(r.error, QStringLiteral("Cannot Connect to Internet"));
    QVERIFY(!r.networkError.isEmpty());
    QCOMPARE(r.source, Source::StaticMap);
    QVERIFY(!r.fetched);
}

void TestDownload::serverThatNeverAnswers()
{
    // The real time-outs, on the one attempt the Pressure view makes.
    FixedClock clock(TestNow);
    DownloadFixture f(clock);
    Answer hang;
    hang.hang = true;
    f.server->answer(Paths::PressureStatic, hang);
    QElapsedTimer timer;
    timer.start();
    f.downloader->load_from_internet(View::Pressure);
    const MapDownloadResult r = f.next(20000);
    QVERIFY(timer.elapsed() >= 5500);
    QCOMPARE(f.server->requestedPaths(), QStringList{Paths::PressureStatic});
    QCOMPARE(r.error, QStringLiteral("Cannot Connect to Internet"));
}

void TestDownload::serverThatTrickles()
{
    // A byte every half second never trips the transfer time-out; the attempt's deadline
    // ends it, and the chain goes on as after a time-out.
    FixedClock clock(TestNow);
    DownloadFixture f(clock);
    f.downloader->setAttemptDeadline(1500);
    Answer trickle{200, {}};
    trickle.trickleMs = 500;
    f.server->answer(Paths::TempsToday, trickle);
    f.server->answer(Paths::TempsYesterday, trickle);
    f.server->answer(Paths::TempsStatic, Answer{200, map_png(0xFF3060C0)});
    f.downloader->load_from_internet(View::Temperature);
    const MapDownloadResult r = f.next(20000);
    QCOMPARE(f.server->requestedPaths(),
             (QStringList{Paths::TempsToday, Paths::TempsYesterday, Paths::TempsStatic}));
    QCOMPARE(r.source, Source::StaticMap);
    QVERIFY(r.fetched);
    QCOMPARE(r.error, QString());

    // With no good answer left, the deadline's outcome is what the user reads.
    f.server->answer(Paths::TempsStatic, trickle);
    f.downloader->load_from_internet(View::Temperature);
    QCOMPARE(f.next(20000).error, QStringLiteral("Cannot Connect to Internet"));
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
    FixedClock clock(TestNow);
    DownloadFixture f(clock);
    f.server->answer(Paths::TempsToday, Answer{200, body});
    f.downloader->load_from_internet(View::Temperature);
    const MapDownloadResult r = f.next();
    QVERIFY(r.fetched);
    QCOMPARE(r.error, QStringLiteral("Image Error"));
    QVERIFY(r.texture.isNull());
    QVERIFY(r.png.isEmpty());
    QCOMPARE(f.server->requestedPaths(), QStringList{Paths::TempsToday});
}

void TestDownload::oversizedBody()
{
    FixedClock clock(TestNow);
    DownloadFixture f(clock);
    const QByteArray served = map_png(0xFF3060C0);
    f.downloader->setMaxBodySize(served.size() - 1);
    f.server->answer(Paths::PressureStatic, Answer{200, served});
    f.downloader->load_from_internet(View::Pressure);
    const MapDownloadResult r = f.next();
    QCOMPARE(r.error, QStringLiteral("Internet File Too Large"));
    QVERIFY(r.texture.isNull());

    // One byte more is enough.
    f.downloader->setMaxBodySize(served.size());
    f.downloader->load_from_internet(View::Pressure);
    QVERIFY(!f.next().texture.isNull());
}

void TestDownload::oneDownloadPerView()
{
    FixedClock clock(TestNow);
    DownloadFixture f(clock);
    f.server->answer(Paths::TempsToday, Answer{200, map_png(0xFF3060C0), 300});
    QVERIFY(f.downloader->load_from_internet(View::Temperature));
    QVERIFY(!f.downloader->load_from_internet(View::Temperature));
    QVERIFY(!f.downloader->load_from_internet(View::DayNight));
    QVERIFY(f.downloader->isRunning(View::Temperature));
    QVERIFY(f.next().fetched);
    QCOMPARE(f.server->requestedPaths(), QStringList{Paths::TempsToday});
    QTest::qWait(50);
    QCOMPARE(f.results.size(), 1);
    // Done, so the view may be fetched again.
    QVERIFY(f.downloader->load_from_internet(View::Temperature));
    QVERIFY(f.next().fetched);
}

void TestDownload::overlappingViewsReportTheirOwn()
{
    // A slow good map and a fast failing chain at the same time: each result carries its
    // own view, source, error and texture.
    FixedClock clock(TestNow);
    DownloadFixture f(clock);
    f.server->answer(Paths::TempsToday, Answer{200, map_png(0xFFC03020), 1500});
    f.downloader->load_from_internet(View::Temperature);
    f.downloader->load_from_internet(View::RainSnow);
    const MapDownloadResult first = f.next();
    const MapDownloadResult second = f.next();
    QCOMPARE(first.kind, View::RainSnow);
    QCOMPARE(first.source, Source::StaticMap);
    QCOMPARE(first.error, QStringLiteral("Internet File Not Found"));
    QVERIFY(first.texture.isNull());
    QCOMPARE(second.kind, View::Temperature);
    QCOMPARE(second.source, Source::TodayFrame);
    QCOMPARE(second.error, QString());
    QCOMPARE(second.texture.pixel(10, 300), 0xFFC03020);
}

void TestDownload::destroyedWhileDownloading()
{
    FixedClock clock(TestNow);
    DownloadFixture f(clock);
    Answer hang;
    hang.hang = true;
    f.server->answer(Paths::TempsToday, hang);
    // This one gets its body and is on the pool when the downloader goes.
    f.server->answer(Paths::WindToday, Answer{200, map_png(0xFF3060C0)});
    f.downloader->load_from_internet(View::Temperature);
    f.downloader->load_from_internet(View::Wind);
    QTRY_COMPARE(f.server->requests().size(), 2);
    const qsizetype before = f.results.size();
    f.downloader.reset();
    // Nothing reported after the downloader is gone, whatever the pool still finishes.
    QTest::qWait(500);
    QCOMPARE(f.results.size(), before);
}

SKYLOOM_TEST_MAIN(TestDownload)
#include "tst_download.moc"
