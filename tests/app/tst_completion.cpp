#include "app/windowfixture.h"
#include "common/testsupport.h"

#include "globe/globerenderer.h"
#include "legend/legendbars.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

using Answer = TestMapServer::Answer;

namespace {
constexpr QRgb Temps = 0xFF00A0A0;  // the Temperature map on the globe before
constexpr QRgb Stale = 0xFF705030;  // an old Wind map in the cache
constexpr QRgb Served = 0xFF3060C0; // what the server sends

QWidget *bar_of(LegendBars &b, ViewKind kind)
{
    QWidget *const bars[] = {b.RectangleTemps, b.RectangleRain, b.RectangleWind, b.RectangleChange,
                             b.RectanglePressure};
    return View::isMap(kind) ? bars[kind] : nullptr;
}

// The legend bar on screen, or none.
QWidget *shown_bar(TMainForm &form)
{
    LegendBars &b = form.legendBars();
    for (QWidget *bar : {b.RectangleTemps, b.RectangleRain, b.RectangleWind, b.RectangleChange,
                         b.RectanglePressure})
        if (!bar->isHidden())
            return bar;
    return nullptr;
}

// Every request for a view's chain gets the answer; `kind` names 200 for a good map, 201
// for a 200 whose body is no image, anything else is that status.
void answer_chain(TestMapServer &server, int kind, int delayMs)
{
    const QByteArray body = kind == 200 ? map_png(Served) : QByteArray("<html>busy</html>");
    server.answerEverything(Answer{kind == 201 ? 200 : kind, body, delayMs});
}
} // namespace

class TestCompletion : public QObject
{
    Q_OBJECT

private slots:
    void completions_data();
    void completions();
    void overlappingDownloadsKeepTheirOwn();
    void markerIsThatOfTheMapOnTheGlobe();
    void damagedFreshFileIsDownloaded();
    void twentyPressesNeverBlock();
    void mapLargerThanTheGlCanHoldIsNotLoaded();
};

void TestCompletion::completions_data()
{
    QTest::addColumn<int>("answer");      // see answer_chain
    QTest::addColumn<bool>("staleCache"); // wind.png from two days ago
    QTest::addColumn<bool>("leave");      // Day/Night chosen while the download runs
    QTest::addColumn<QRgb>("globe");      // what the climate sphere shows afterwards
    QTest::addColumn<int>("shown");       // the view the title and legend describe
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("windFile"); // wind.png holds the served map afterwards
    const QString local = QStringLiteral("\n9/22/2023 10:30:00 AM");
    QTest::newRow("success") << 200 << false << false << Served << int(View::Wind)
                             << "Global Wind/Pressure" + local << true;
    QTest::newRow("image error") << 201 << false << false << Temps << int(View::Temperature)
                                 << QStringLiteral("Image Error") << false;
    QTest::newRow("failure, stale cache") << 404 << true << false << Stale << int(View::Wind)
                                          << QStringLiteral("Internet File Not Found") << false;
    QTest::newRow("failure, no cache") << 404 << false << false << Temps << int(View::Temperature)
                                       << QStringLiteral("Cannot Open File") << false;
    QTest::newRow("failure, server gone") << 0 << true << false << Stale << int(View::Wind)
                                          << QStringLiteral("Cannot Connect to Internet") << false;
    // The user's latest choice wins: the late map is only kept for the next switch.
    QTest::newRow("late completion") << 200 << false << true << Temps << int(View::DayNight)
                                     << "Day / Night" + local + ".." << true;
    QTest::newRow("late failure") << 404 << true << true << Temps << int(View::DayNight)
                                  << "Day / Night" + local + ".." << false;
}

void TestCompletion::completions()
{
    QFETCH(int, answer);
    QFETCH(bool, staleCache);
    QFETCH(bool, leave);
    QFETCH(QRgb, globe);
    QFETCH(int, shown);
    QFETCH(QString, status);
    QFETCH(bool, windFile);

    WindowFixture f(answer != 0);
    if (answer)
        answer_chain(*f.server, answer, leave ? 600 : 0);
    f.putCache(View::Temperature, Temps, 60);
    if (staleCache)
        f.putCache(View::Wind, Stale, 2 * 24 * 3600);
    f.choose(View::Temperature);
    QCOMPARE(f.texture().pixel(5, 5), Temps);

    f.choose(View::Wind);
    QVERIFY(f.busy());
    if (leave)
        f.choose(View::DayNight);
    QVERIFY(f.waitIdle());
    QVERIFY(!f.busy());

    const auto check = [&] {
        QCOMPARE(f.texture().pixel(5, 5), globe);
        QCOMPARE(f.form->shownView(), shown);
        QCOMPARE(f.status(), status);
        QCOMPARE(shown_bar(*f.form), bar_of(f.form->legendBars(), shown));
        QCOMPARE(f.form->scene().ClimateSphere.visible, View::isMap(shown));
    };
    check();
    // Activation and resizing show again what is on the globe, described as it is.
    f.form->FormActivate();
    f.form->FormResize();
    check();

    const QImage file(f.cacheFile(View::Wind));
    if (windFile)
        QCOMPARE(file.pixel(5, 5), Served);
    else if (staleCache)
        QCOMPARE(file.pixel(5, 5), Stale);
    else
        QVERIFY(file.isNull());
}

void TestCompletion::overlappingDownloadsKeepTheirOwn()
{
    // Both maps stale; Temperature answers after a while, Rain/Snow fails at once and is
    // chosen later: each completion applies its own result.
    WindowFixture f;
    f.putCache(View::Temperature, Temps, 2 * 24 * 3600);
    f.putCache(View::RainSnow, Stale, 2 * 24 * 3600);
    f.server->answer(Paths::TempsToday, Answer{200, map_png(Served), 1500});
    f.choose(View::Temperature);
    QTRY_VERIFY(f.server->requestedPaths().contains(Paths::TempsToday));
    f.choose(View::RainSnow);
    QVERIFY(f.waitIdle());

    QCOMPARE(f.texture().pixel(5, 5), Stale);
    QCOMPARE(f.form->shownView(), View::RainSnow);
    QCOMPARE(f.form->mapSource(), Source::Cache);
    QCOMPARE(f.status(), QStringLiteral("Internet File Not Found"));
    // The temperature map was not lost: it waits in its file, fresh.
    QCOMPARE(QImage(f.cacheFile(View::Temperature)).pixel(5, 5), Served);
    QVERIFY(f.form->cache().cache_is_fresh(View::Temperature));
    f.choose(View::Temperature);
    QCOMPARE(f.texture().pixel(5, 5), Served);
    QCOMPARE(f.form->mapSource(), Source::Cache);
    QCOMPARE(f.server->requestedPaths().count(Paths::TempsToday), 1);
}

void TestCompletion::markerIsThatOfTheMapOnTheGlobe()
{
    // A download for a view the user has left ends while a cached map is on screen; the
    // next showing keeps the cached map's marker and date.
    WindowFixture f;
    f.server->answer(Paths::WindToday, Answer{404, {}, 600});
    f.server->answer(Paths::TempsToday, Answer{200, map_png(Served)});
    f.putCache(View::Temperature, Temps, 60);
    f.choose(View::Wind);
    f.choose(View::Temperature);
    QCOMPARE(f.status(), QStringLiteral("Global Temps\n9/22/2023 10:29 AM.."));
    QVERIFY(f.waitIdle());
    f.form->ShowView(View::Refresh);
    QCOMPARE(f.status(), QStringLiteral("Global Temps\n9/22/2023 10:30:00 AM.."));
    QCOMPARE(f.form->mapSource(), Source::Cache);
    QCOMPARE(f.texture().pixel(5, 5), Temps);
}

void TestCompletion::damagedFreshFileIsDownloaded()
{
    WindowFixture f;
    f.server->answer(Paths::WindToday, Answer{200, map_png(Served), 300});
    f.putCache(View::Temperature, Temps, 60);
    f.choose(View::Temperature);
    {
        QFile file(f.cacheFile(View::Wind));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\x89PNG garbage");
    }
    set_file_time(f.cacheFile(View::Wind), f.clock.nowUtc().addSecs(-60));

    f.choose(View::Wind);
    // Gone, not a word about it, and the old map keeps its own title while the view loads.
    QVERIFY(!QFile::exists(f.cacheFile(View::Wind)));
    QVERIFY(f.busy());
    QCOMPARE(f.status(), QString());
    QCOMPARE(f.form->shownView(), View::Temperature);
    f.form->ShowView(View::Refresh);
    QVERIFY(f.status().startsWith(QStringLiteral("Global Temps\n")));

    QVERIFY(f.waitIdle());
    QCOMPARE(f.server->requestedPaths(), QStringList{Paths::WindToday});
    QCOMPARE(f.texture().pixel(5, 5), Served);
    QCOMPARE(f.form->shownView(), View::Wind);
}

void TestCompletion::twentyPressesNeverBlock()
{
    // Twenty presses in four seconds, each answer taking one to three seconds.
    WindowFixture f;
    const QByteArray body = map_png(Served);
    const ViewKind views[] = {View::Temperature, View::RainSnow, View::Wind, View::ClimateChange};
    const QString paths[] = {
        Paths::TempsToday, Paths::RainToday, Paths::WindToday,
        QStringLiteral("/wx_frames/gfs/world-wt/t2anom/2023-09-22-00z/02.png")};
    for (int i = 0; i < 4; ++i)
        f.server->answer(paths[i], Answer{200, body, 1000 + 650 * i});

    QElapsedTimer sinceTick;
    qint64 longestBlock = 0;
    QTimer ticker;
    ticker.setInterval(5);
    connect(&ticker, &QTimer::timeout, this,
            [&] { longestBlock = qMax(longestBlock, sinceTick.restart()); });
    sinceTick.start();
    ticker.start();

    int press = 0;
    QTimer presser;
    presser.setInterval(200);
    connect(&presser, &QTimer::timeout, this, [&] {
        f.choose(views[press % 4]);
        if (++press == 20)
            presser.stop();
    });
    presser.start();
    QTRY_COMPARE_WITH_TIMEOUT(press, 20, 10000);
    QVERIFY(f.waitIdle());
    ticker.stop();

    qInfo("longest time the event loop was held: %lld ms", longestBlock);
    QVERIFY2(longestBlock < 500, qPrintable(QString::number(longestBlock)));
    // One download per view: a press while it runs starts none, one after it finds the
    // fresh file.
    for (const QString &path : paths)
        QCOMPARE(f.server->requestedPaths().count(path), 1);
    QCOMPARE(f.server->requests().size(), 4);
    QCOMPARE(f.form->shownView(), views[19 % 4]);
}

void TestCompletion::mapLargerThanTheGlCanHoldIsNotLoaded()
{
    WindowFixture f;
    f.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.form.get()));
    QTRY_VERIFY(GlobeRenderer::knownMaxTextureSize() > 0);
    // One row, one pixel wider than the GL takes: small to write, too large to draw.
    QImage wide(GlobeRenderer::knownMaxTextureSize() + 1, 1, QImage::Format_ARGB32);
    wide.fill(Stale);
    QVERIFY(wide.save(f.cacheFile(View::Wind)));
    set_file_time(f.cacheFile(View::Wind), f.clock.nowUtc().addSecs(-60));
    f.server->answer(Paths::WindToday, Answer{200, map_png(Served)});
    f.choose(View::Wind);
    // Not shown: fetched instead, as a file that cannot be used.
    QVERIFY(f.waitIdle());
    QCOMPARE(f.server->requestedPaths(), QStringList{Paths::WindToday});
    QCOMPARE(f.texture().pixel(5, 5), Served);
}

SKYLOOM_TEST_MAIN(TestCompletion)
#include "tst_completion.moc"
