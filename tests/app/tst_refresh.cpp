#include "common/testsupport.h"

#include "app/windowfixture.h"

#include "globe/globeview.h"

#include <QAction>
#include <QMenu>

namespace {
constexpr QRgb Cached = 0xFF00A0A0;
constexpr QRgb Served = 0xFF3050F0;

// Temperature on the globe from a cache file a minute old, the server ready with a newer map.
void show_cached_temperature(WindowFixture &f, int answerDelayMs = 0)
{
    f.putCache(View::Temperature, Cached, 60);
    f.server->answerEverything(TestMapServer::Answer{200, map_png(Served), answerDelayMs});
    f.choose(View::Temperature);
    QCOMPARE(f.form->shownView(), View::Temperature);
    QVERIFY(!f.form->downloader().isBusy());
}
} // namespace

class TestRefresh : public QObject
{
    Q_OBJECT

private slots:
    void staleMapIsFetchedAgain_data();
    void staleMapIsFetchedAgain();
    void noRequestWhileOneRuns();
    void failedRefreshWaitsBeforeTheNext();
    void f5FetchesNow();
    void globeMenu();
};

void TestRefresh::staleMapIsFetchedAgain_data()
{
    QTest::addColumn<int>("fileAgeMinutes");
    QTest::addColumn<int>("view");
    QTest::addColumn<bool>("fetched");
    QTest::newRow("359 minutes") << 359 << View::Temperature << false;
    QTest::newRow("360 minutes") << 360 << View::Temperature << true;
    QTest::newRow("a day") << 24 * 60 << View::Temperature << true;
    QTest::newRow("day/night has no map") << 24 * 60 << View::DayNight << false;
}

void TestRefresh::staleMapIsFetchedAgain()
{
    QFETCH(int, fileAgeMinutes);
    QFETCH(int, view);
    QFETCH(bool, fetched);
    WindowFixture f;
    show_cached_temperature(f);
    if (view == View::DayNight)
        f.choose(View::DayNight);
    const QString status = f.status();
    // The file was written a minute before the clock.
    f.clock.set(TestNow.addSecs((fileAgeMinutes - 1) * 60));
    QCOMPARE(f.form->check_map_freshness(), fetched);
    QCOMPARE(f.form->downloader().isRunning(View::Temperature), fetched);
    // The old map and its status line stay until the answer.
    QCOMPARE(f.status(), status);
    QCOMPARE(f.texture().pixel(500, 300), Cached);
    QVERIFY(f.waitIdle());
    QCOMPARE(f.server->requests().isEmpty(), !fetched);
    if (fetched) {
        QCOMPARE(f.texture(), expected_texture(map_png(Served)));
        QCOMPARE(f.form->statusError(), QString());
        QVERIFY(f.status() != status);
    }
    QVERIFY(f.form->freshnessTimer().isActive());
    QCOMPARE(f.form->freshnessTimer().interval(), 60 * 1000);
}

void TestRefresh::noRequestWhileOneRuns()
{
    WindowFixture f;
    show_cached_temperature(f, 1500);
    f.clock.set(TestNow.addSecs(361 * 60));
    QVERIFY(f.form->check_map_freshness());
    QTRY_COMPARE(f.server->requests().size(), 1);
    // Long after the retry pause, and still running.
    f.clock.set(TestNow.addSecs(400 * 60));
    QVERIFY(f.form->downloader().isRunning(View::Temperature));
    QVERIFY(!f.form->check_map_freshness());
    f.form->RefreshClick();
    QVERIFY(f.waitIdle());
    QCOMPARE(f.server->requests().size(), 1);
}

void TestRefresh::failedRefreshWaitsBeforeTheNext()
{
    WindowFixture f;
    show_cached_temperature(f);
    f.server->answerEverything(TestMapServer::Answer{404});
    f.clock.set(TestNow.addSecs(361 * 60));
    QVERIFY(f.form->check_map_freshness());
    QVERIFY(f.waitIdle());
    // The old map stays on the globe.
    QCOMPARE(f.texture().pixel(500, 300), Cached);
    const qsizetype asked = f.server->requests().size();
    f.clock.set(TestNow.addSecs(362 * 60));
    QVERIFY(!f.form->check_map_freshness());
    f.clock.set(TestNow.addSecs((361 + 15) * 60));
    QVERIFY(f.form->check_map_freshness());
    QVERIFY(f.waitIdle());
    QVERIFY(f.server->requests().size() > asked);
}

void TestRefresh::f5FetchesNow()
{
    WindowFixture f;
    show_cached_temperature(f, 300);
    TMainForm &form = *f.form;
    form.show();
    form.activateWindow();
    QTRY_VERIFY_WITH_TIMEOUT(form.isActiveWindow(), 20000);
    QVERIFY(f.waitIdle()); // the activation's own start, from the fresh file
    const qsizetype asked = f.server->requests().size();
    const QString status = f.status();
    QTest::keyClick(&form, Qt::Key_F5);
    QVERIFY(form.downloader().isRunning(View::Temperature));
    QCOMPARE(f.status(), status);
    QVERIFY(f.waitIdle());
    QCOMPARE(f.server->requests().size(), asked + 1);
    QCOMPARE(f.texture(), expected_texture(map_png(Served)));
}

void TestRefresh::globeMenu()
{
    WindowFixture f;
    show_cached_temperature(f);
    TMainForm &form = *f.form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    emit form.viewport()->customContextMenuRequested(QPoint(100, 100));
    QMenu *menu = form.globeMenu();
    QVERIFY(menu);
    QTRY_VERIFY(menu->isVisible());
    QStringList texts;
    for (QAction *a : menu->actions())
        texts << a->text();
    QCOMPARE(texts, (QStringList{"Refresh", "Reset view", "Save picture...", "",
                                 "Realistic day and night"}));
    QVERIFY(menu->actions().at(0)->isEnabled());
    form.scene().CameraY.setRotationY(40);
    menu->actions().at(1)->trigger();
    QCOMPARE(form.scene().CameraY.rotationY(), 0.f);
    menu->actions().at(0)->trigger();
    QVERIFY(form.downloader().isRunning(View::Temperature));
    menu->close();
    QVERIFY(f.waitIdle());
}

SKYLOOM_TEST_MAIN(TestRefresh)
#include "tst_refresh.moc"
